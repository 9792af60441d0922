// Every reader meets files that are broken in the same ways. Each ends with the values it
// read or with a clear message, and a message leaves what was there before intact.

#include "page/body_text.h"
#include "page/color_code.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "page/project_file.h"
#include "settings/tool_settings.h"
#include "support/test_files.h"
#include "textmap/map_file.h"

#include <QTest>

namespace {

struct BadInput {
    const char *name;
    QByteArray bytes;
};

const QList<BadInput> &badInputs()
{
    static const QList<BadInput> inputs{
        {"empty", QByteArray()},
        {"one byte", QByteArray("7")},
        {"only CR", QByteArray("\r")},
        {"only LF", QByteArray("\n")},
        {"lone CR line ends", QByteArray("1\r2\r3\r")},
        {"signs", QByteArray("-5\r\n+6\r\n")},
        {"2147483648", QByteArray("2147483648\r\n")},
        {"-2147483649", QByteArray("-2147483649\r\n")},
        {"hexadecimal", QByteArray("0x10\r\n")},
        {"number and text", QByteArray("12 apples\r\n34\r\n")},
        {"64 MB line", QByteArray(64 * 1024 * 1024, 'x') + "\r\n"},
        {"lead bytes at line ends", QByteArray("1\x81\r\n2\xfc\r\n")},
        {"NUL bytes", QByteArray("\0\0\0\r\n", 5)},
        {"UTF-8 byte order mark", QByteArray("\xef\xbb\xbf" "1\r\n2\r\n")},
    };
    return inputs;
}

const QString n = QStringLiteral("入力値が数値ではありません");

// What one reader makes of the bytes: the values it read, or the message it stopped with. A
// broken promise of the reader (a message that changed what was there) shows as its own text.
QString outcome(const QString &reader, const QByteArray &bytes)
{
    QString values;
    QString message;
    if (reader == "trd.dat") {
        // The pattern count read; records outside 1 to 50 are skipped.
        PatternCatalogue catalogue;
        message = messageOf([&] { ReadPatternCatalogue(bytes, catalogue); });
        values = QString::number(catalogue.PatternCount);
    } else if (reader == "pattern") {
        // Its number and part count; a bad number keeps the pattern there was.
        Pattern pattern;
        pattern.PartCount = 2;
        std::int32_t number = 3;
        message = messageOf([&] { ReadPattern(bytes, pattern, number); });
        values = QString("%1 %2").arg(number).arg(pattern.PartCount);
        if (!message.isEmpty() && pattern.PartCount != 2)
            return "pattern changed";
    } else if (reader == "project") {
        // None of them is a project file; behind the marker, the pattern number read.
        if (ReadProject(bytes, PageProject()))
            return "read as a project";
        message = messageOf([&] {
            const auto page = ReadProject("ver2.10\r\n" + bytes, PageProject());
            values = QString::number(page->PatternNumber);
        });
    } else if (reader == "set.dat") {
        // Behind five text lines, the two reserved numbers.
        ToolSettings settings;
        const QByteArray file = QByteArray("\r\n").repeated(5) + bytes;
        message = messageOf([&] { ReadToolSettings(file, settings); });
        values = QString("%1 %2").arg(settings.ReservedNumber1).arg(settings.ReservedNumber2);
    } else if (reader == "map") {
        // Never fails: the size of the title and of the first cell, and the title survives
        // being written again.
        const MapData read = ReadMapData(bytes);
        if (ReadMapData(WriteMapData(read)).title != read.title)
            return "title changed";
        values = QString("%1 %2").arg(read.title.size()).arg(read.cells[0].size());
    } else if (reader == "body") {
        // Never fails: every line is kept.
        values = QString::number(MarkBodyLines(bytes).size());
    } else if (reader == "colour") {
        // The components, or the character that does not convert.
        message = messageOf([&] {
            const ColorComponents colour = ParseColorCode(bytes);
            values = QString("%1 %2 %3").arg(colour.red).arg(colour.green).arg(colour.blue);
        });
    }
    return message.isEmpty() ? values : message;
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    void readers_data();
    void readers();
};

// Each reader's outcomes, given in the order of the bad inputs.
void BadInputTest::readers_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const auto addRows = [](const char *reader, const QStringList &expected) {
        QCOMPARE(expected.size(), badInputs().size());
        for (qsizetype row = 0; row < expected.size(); ++row)
            QTest::addRow("%s, %s", reader, badInputs()[row].name)
                << QString(reader) << badInputs()[row].bytes << expected[row];
    };
    addRows("trd.dat", {"0", "7", "0", "0", n, "0", n, n, n, "12", n, n, n, n});
    addRows("pattern", {"0 0", "0 0", "0 0", "0 0", n, "6 0", n, n, n, "34 0", n, n, n, n});
    addRows("project", {"0", "7", "0", "0", n, "-5", n, n, n, "12", n, n, n, n});
    addRows("set.dat", {"0 0", "7 0", "0 0", "0 0", n, "-5 6", n, n, n, "12 34", n, n, n, n});
    addRows("map", {"0 0", "1 0", "0 0", "0 0", "5 0", "2 2", "10 0", "11 0", "4 0", "9 2",
                    "67108864 0", "2 2", "3 0", "4 1"});
    addRows("body", {"0", "1", "1", "1", "1", "2", "1", "1", "1", "2", "1", "2", "1", "2"});
    const auto failsAt = [](const QString &character) {
        return QStringLiteral("'%1' は整数ではありません").arg(character);
    };
    addRows("colour", {failsAt(""), failsAt(""), failsAt(""), failsAt(""), failsAt("\r"),
                       failsAt("\r"), "20 116 131", "33 71 72", failsAt("x"), failsAt("a"),
                       failsAt("x"), failsAt(QStringLiteral("\uFFFD\r")),
                       failsAt(QString(QChar(0))), failsAt(QStringLiteral("\uFF7B"))});
}

void BadInputTest::readers()
{
    QFETCH(QString, reader);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(outcome(reader, bytes), expected);
}

QTEST_GUILESS_MAIN(BadInputTest)
#include "tst_bad_input.moc"