// Every reader meets files that are broken in the same ways. Each ends with the values it
// read or with a clear message, and a message leaves what was there before intact.

#include "generator/body_text.h"
#include "model/io_error.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "model/project_file.h"
#include "support/test_files.h"
#include "textmap/map_file.h"
#include "ui/color_code.h"
#include "ui/tool_settings.h"

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

const QString notANumber = QStringLiteral("入力値が数値ではありません");

// A reader's outcome: the values it read, or the message it stopped with.
QString outcome(const std::function<QString()> &read)
{
    QString values;
    const QString message = messageOf([&] { values = read(); });
    return message.isEmpty() ? values : message;
}

// One row a bad input, with each reader's expected outcome, given in the order of the inputs.
void addRows(const QStringList &expected)
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QCOMPARE(expected.size(), badInputs().size());
    for (qsizetype row = 0; row < expected.size(); ++row)
        QTest::newRow(badInputs()[row].name) << badInputs()[row].bytes << expected[row];
}

const QString n = notANumber;

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    // "trd.dat": the pattern count read, records outside 1 to 50 skipped.
    void catalogue_data() { addRows({"0", "7", "0", "0", n, "0", n, n, n, "12", n, n, n, n}); }
    void catalogue()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        PatternCatalogue catalogue;
        QCOMPARE(outcome([&] {
                     ReadPatternCatalogue(bytes, catalogue);
                     return QString::number(catalogue.PatternCount);
                 }),
                 expected);
    }

    // A pattern file: its number and part count; a bad number keeps the pattern there was.
    void pattern_data()
    {
        addRows({"0 0", "0 0", "0 0", "0 0", n, "6 0", n, n, n, "34 0", n, n, n, n});
    }
    void pattern()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        Pattern pattern;
        pattern.Comment = "previous";
        pattern.PartCount = 2;
        std::int32_t number = 3;
        QCOMPARE(outcome([&] {
                     ReadPattern(bytes, pattern, number);
                     return QString("%1 %2").arg(number).arg(pattern.PartCount);
                 }),
                 expected);
        if (expected == notANumber)
            QCOMPARE(pattern.PartCount, 2);
    }

    // A project file: none of them is one; behind the marker, the pattern number read.
    void project_data()
    {
        addRows({"0", "7", "0", "0", n, "-5", n, n, n, "12", n, n, n, n});
    }
    void project()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QVERIFY(!ReadProject(bytes, PageProject()));
        QCOMPARE(outcome([&] {
                     return QString::number(
                         ReadProject("ver2.10\r\n" + bytes, PageProject())->PatternNumber);
                 }),
                 expected);
    }

    // "set.dat": behind five text lines, the two reserved numbers.
    void settings_data()
    {
        addRows({"0 0", "7 0", "0 0", "0 0", n, "-5 6", n, n, n, "12 34", n, n, n, n});
    }
    void settings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        ToolSettings settings;
        QCOMPARE(outcome([&] {
                     ReadToolSettings(QByteArray("\r\n").repeated(5) + bytes, settings);
                     return QString("%1 %2").arg(settings.ReservedNumber1).arg(settings.ReservedNumber2);
                 }),
                 expected);
    }

    // A map data file never fails: the size of the title and of the first cell.
    void map_data()
    {
        addRows({"0 0", "1 0", "0 0", "0 0", "5 0", "2 2", "10 0", "11 0", "4 0", "9 2",
                 "67108864 0", "2 2", "3 0", "4 1"});
    }
    void map()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        const MapData read = ReadMapData(bytes);
        QCOMPARE(QString("%1 %2").arg(read.title.size()).arg(read.cells[0].size()), expected);
        QCOMPARE(ReadMapData(WriteMapData(read)).title, read.title);
    }

    // The body text never fails: every line is kept.
    void body_data()
    {
        addRows({"0", "1", "1", "1", "1", "2", "1", "1", "1", "2", "1", "2", "1", "2"});
    }
    void body()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(QString::number(MarkBodyLines(bytes).size()), expected);
    }

    // A colour text: the components, or the character that does not convert.
    void color_data()
    {
        const auto failsAt = [](const QString &character) {
            return QStringLiteral("'%1' は整数ではありません").arg(character);
        };
        addRows({failsAt(""), failsAt(""), failsAt(""), failsAt(""), failsAt("\r"),
                 failsAt("\r"), "20 116 131", "33 71 72", failsAt("x"), failsAt("a"),
                 failsAt("x"), failsAt(QStringLiteral("\uFFFD\r")), failsAt(QString(QChar(0))),
                 failsAt(QStringLiteral("\uFF7B"))});
    }
    void color()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(outcome([&] {
                     const ColorComponents colour = ParseColorCode(bytes);
                     return QString("%1 %2 %3").arg(colour.red).arg(colour.green).arg(colour.blue);
                 }),
                 expected);
    }
};

QTEST_GUILESS_MAIN(BadInputTest)
#include "tst_bad_input.moc"
