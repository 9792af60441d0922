// Every reader meets files that are broken in the same ways: each ends with the expected
// values or the "not a number" message, and a message leaves the previous state intact.

#include "generator/body_text.h"
#include "model/io_error.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "model/project_file.h"
#include "support/test_files.h"

#include <QTest>

namespace {

struct BadInput {
    const char *name;
    QByteArray bytes;
};

QList<BadInput> badInputs()
{
    return {
        {"empty", QByteArray()},
        {"one digit", QByteArray("7")},
        {"only CR", QByteArray("\r")},
        {"only LF", QByteArray("\n")},
        {"ten megabyte line", QByteArray(10 * 1024 * 1024, 'x') + "\r\n"},
        {"invalid Shift-JIS", QByteArray("\x81\xff\xfd\x81\r\n")},
        {"NUL bytes", QByteArray("\0\0\0\r\n", 5)},
        {"huge number", QByteArray("99999999999\r\n")},
    };
}

// Adds the rows of all bad inputs with each reader's expectation, given in the same order.
template <typename Expected>
void addRows(const QList<Expected> &expected)
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Expected>("expected");
    const QList<BadInput> inputs = badInputs();
    QCOMPARE(expected.size(), inputs.size());
    for (qsizetype row = 0; row < inputs.size(); ++row)
        QTest::newRow(inputs[row].name) << inputs[row].bytes << expected[row];
}

// A reader's outcome: the values it read, or the message it stopped with.
QString outcome(const std::function<QString()> &read)
{
    QString values;
    const QString message = messageOf([&] { values = read(); });
    return message.isEmpty() ? values : message;
}

const QString notANumber = QStringLiteral("入力値が数値ではありません");

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    void catalogue_data()
    {
        addRows<QString>({"0", "7", "0", "0", notANumber, notANumber, notANumber, notANumber});
    }
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

    void pattern_data()
    {
        addRows<QString>({"0 0", "0 0", "0 0", "0 0", notANumber, notANumber, notANumber,
                          notANumber});
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
        if (expected == notANumber) {
            QCOMPARE(pattern.Comment, QByteArray("previous"));
            QCOMPARE(pattern.PartCount, 2);
        }
    }

    void project_data()
    {
        addRows<QString>({"0", "7", "0", "0", notANumber, notANumber, notANumber, notANumber});
    }
    void project()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        PageProject page;
        page.PatternNumber = 5;
        QVERIFY(!ReadProject(bytes, page)); // none of them is a project file
        QCOMPARE(outcome([&] {
                     return QString::number(ReadProject("ver2.10\r\n" + bytes, page)->PatternNumber);
                 }),
                 expected);
    }

    void body_data()
    {
        addRows<QList<QByteArray>>({{},
                                    {"7"},
                                    {"<BR>"},
                                    {"<BR>"},
                                    {QByteArray(10 * 1024 * 1024, 'x')},
                                    {"\x81\xff\xfd\x81"},
                                    {QByteArray(3, '\0')},
                                    {"99999999999"}});
    }
    void body()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QByteArray>, expected);
        QCOMPARE(MarkBodyLines(bytes), expected);
    }
};

QTEST_GUILESS_MAIN(BadInputTest)
#include "tst_bad_input.moc"
