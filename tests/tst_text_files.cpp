#include "model/program_folder.h"
#include "model/sjis.h"
#include "model/text_reader.h"
#include "model/text_writer.h"
#include "support/test_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TextFilesTest : public QObject {
    Q_OBJECT

private slots:
    void conversion_data();
    void conversion();
    void oneWayConversions();
    void byteHelpers_data();
    void byteHelpers();
    void reading_data();
    void reading();
    void openErrorsCarryThePlatformMessage();
    void programFolderKeepsItsSeparator();
};

void TextFilesTest::conversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << "Shop" << QByteArray("Shop");
    QTest::newRow("kana") << "テキスト" << QByteArray("\x83\x65\x83\x4c\x83\x58\x83\x67");
    QTest::newRow("full-width space") << "　" << QByteArray("\x81\x40");
    QTest::newRow("wave dash of code page 932") << "～" << QByteArray("\x81\x60");
    QTest::newRow("horizontal bar") << "―" << QByteArray("\x81\x5c");
    QTest::newRow("NEC row") << "①" << QByteArray("\x87\x40");
    QTest::newRow("IBM row") << "髙" << QByteArray("\xfb\xfc");
    QTest::newRow("control codes stay") << QString::fromLatin1("\x1a\x1c\x7f")
                                        << QByteArray("\x1a\x1c\x7f");
    QTest::newRow("not in code page 932") << "a😀b" << QByteArray("a&#128512;b");
    QTest::newRow("hangul") << "한" << QByteArray("&#54620;");
}

void TextFilesTest::conversion()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(sjis::fromUnicode(text), bytes);
    if (!bytes.contains("&#"))
        QCOMPARE(sjis::toUnicode(bytes), text);
}

void TextFilesTest::oneWayConversions()
{
    // A typed line ends at its first line break of any kind.
    QCOMPARE(sjis::fromUnicodeLine(QStringLiteral("お店\r\nの\nページ")), sj("お店"));
    QCOMPARE(sjis::fromUnicodeLine(QStringLiteral("a\rb")), QByteArray("a"));
    QCOMPARE(sjis::fromUnicodeLine(QStringLiteral("\ttab 😀")), QByteArray("\ttab &#128512;"));
    // Each byte that starts no character shows as U+FFFD, and the bytes after it still read.
    QCOMPARE(sjis::toUnicode(QByteArray("a\x81\xff" "b\x85", 5)),
             QString::fromUtf8("a\uFFFD\uFFFDb\uFFFD"));
}

// Trimming takes off blanks and control bytes at both ends; the first character is two bytes
// only after a lead byte.
void TextFilesTest::byteHelpers_data()
{
    QTest::addColumn<bool>("trim");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    const auto trimmed = [](const char *name, const QByteArray &bytes, const QByteArray &expected) {
        QTest::addRow("trimmed, %s", name) << true << bytes << expected;
    };
    trimmed("blanks and controls", " \t\r\x01url \x1f", "url");
    trimmed("full-width space stays", "\x81\x40x\x81\x40 ", "\x81\x40x\x81\x40");
    trimmed("only blanks", "   ", "");
    trimmed("inner blanks stay", " a b ", "a b");
    const auto first = [](const char *name, const QByteArray &bytes, const QByteArray &expected) {
        QTest::addRow("first character, %s", name) << false << bytes << expected;
    };
    first("empty", "", "");
    first("one byte", "ab", "a");
    first("lead 81", "\x81\x40x", "\x81\x40");
    first("lead 9F", "\x9f\x40", "\x9f\x40");
    first("lead E0", "\xe0\x40", "\xe0\x40");
    first("lead FC", "\xfc\x40", "\xfc\x40");
    first("half-width kana A0", "\xa0\x40", "\xa0");
    first("byte 80", "\x80\x40", "\x80");
    first("byte FD", "\xfd\x40", "\xfd");
    first("lone lead byte", "\x81", "\x81");
}

void TextFilesTest::byteHelpers()
{
    QFETCH(bool, trim);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    QCOMPARE(trim ? sjis::trimmed(bytes) : sjis::firstCharacter(bytes), expected);
}

// What a reader reads line by line or number by number up to the end, then once past it; or
// up to a bad number, then the message. The signs, limits, byte order mark and text after a
// number that every reader meets are in tst_bad_input.
void TextFilesTest::reading_data()
{
    QTest::addColumn<bool>("numbers");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    const auto lines = [](const char *name, const QByteArray &bytes, const QStringList &expected) {
        QTest::addRow("lines, %s", name) << false << bytes << expected;
    };
    lines("CR LF", "a\r\nb\r\n", {"a", "b", ""});
    lines("lone LF", "a\nb", {"a", "b", ""});
    lines("lone CR stays in its line", "a\rb\r\n", {"a\rb", ""});
    lines("CR LF cut short", "a\r", {"a", ""});
    lines("empty lines", "\r\n\r\n", {"", "", ""});
    lines("empty file", "", {""});
    lines("NUL bytes are text", QByteArray("a\0b\r\n", 5), {QString::fromLatin1("a\0b", 3), ""});
    const QString n = QStringLiteral("入力値が数値ではありません");
    const auto numbers = [](const char *name, const QByteArray &bytes,
                            const QStringList &expected) {
        QTest::addRow("numbers, %s", name) << true << bytes << expected;
    };
    numbers("one a line", "1\r\n22\r\n", {"1", "22", "0"});
    numbers("blanks and empty lines before", "  \t\r\n\r\n 7\r\n", {"7", "0"});
    numbers("32-bit limits", "2147483647\r\n-2147483648\r\n", {"2147483647", "-2147483648", "0"});
    numbers("leading zeros", "007\r\n", {"7", "0"});
    numbers("no line end", "9", {"9", "0"});
    numbers("CR LF cut short", "4\r", {"4", "0"});
    numbers("word", "1\r\nabc\r\n", {"1", n});
    numbers("number glued to text", "12ab\r\n", {n});
    numbers("sign alone", "-\r\n", {n});
    numbers("lone CR is no line end", "1\r2\r\n", {n});
    numbers("full-width digits", sj("１\r\n"), {n});
}

void TextFilesTest::reading()
{
    QFETCH(bool, numbers);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    TextReader reader(bytes);
    QStringList read;
    const auto readOne = [&] {
        read << (numbers ? QString::number(reader.readInteger())
                         : QString::fromLatin1(reader.readLine()));
    };
    const QString message = messageOf([&] {
        while (!reader.atEnd())
            readOne();
        readOne();
    });
    if (!message.isEmpty())
        read << message;
    QCOMPARE(read, expected);
}

// The messages of the failures tst_failures does not meet through the program's own files.
void TextFilesTest::openErrorsCarryThePlatformMessage()
{
    QTemporaryDir folder;
    QCOMPARE(messageOf([&] { saveFileBytes(folder.filePath("no/such/dir/a.html"), "x"); }),
             QStringLiteral("ファイルが見つかりません"));
    const QString locked = folder.filePath("locked.mpk");
    writeBytes(locked, "ver2.10\r\n");
    QVERIFY(QFile::setPermissions(locked, QFile::WriteOwner));
    WithoutAccessOverride asUser;
    QCOMPARE(messageOf([&] { readFileBytes(locked); }),
             QStringLiteral("ファイルへのアクセスが拒否されました"));
}

void TextFilesTest::programFolderKeepsItsSeparator()
{
    QCOMPARE(ProgramFolder("/opt/mopeco/mopeco"), QStringLiteral("/opt/mopeco/"));
    QCOMPARE(ProgramFolder("/mopeco"), QStringLiteral("/"));
    QCOMPARE(programFilePath("/", "trd.dat"), QStringLiteral("/trd.dat"));
    QCOMPARE(programFilePath("/opt/m/", "help\\help07.html"),
             QStringLiteral("/opt/m/help/help07.html"));
}

QTEST_GUILESS_MAIN(TextFilesTest)
#include "tst_text_files.moc"
