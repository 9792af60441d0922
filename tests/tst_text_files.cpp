#include "model/io_error.h"
#include "model/program_folder.h"
#include "model/sjis.h"
#include "model/text_reader.h"
#include "model/text_writer.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TextFilesTest : public QObject {
    Q_OBJECT

private slots:
    void conversion_data();
    void conversion();
    void typedLinesStopAtTheFirstBreak();
    void invalidBytesShowAsReplacementAndStay();
    void trimming_data();
    void trimming();
    void firstCharacter_data();
    void firstCharacter();
    void lines_data();
    void lines();
    void integers_data();
    void integers();
    void saveReplacesOnlyOnSuccess();
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

void TextFilesTest::typedLinesStopAtTheFirstBreak()
{
    QCOMPARE(sjis::fromUnicodeLine(QStringLiteral("お店\r\nの\nページ")), sj("お店"));
    QCOMPARE(sjis::fromUnicodeLine(QStringLiteral("a\rb")), QByteArray("a"));
    QCOMPARE(sjis::fromUnicodeLine(QStringLiteral("\ttab 😀")), QByteArray("\ttab &#128512;"));
}

void TextFilesTest::invalidBytesShowAsReplacementAndStay()
{
    const QByteArray bytes("a\x81\xff" "b\x85", 5);
    QCOMPARE(sjis::toUnicode(bytes), QString::fromUtf8("a\uFFFD\uFFFDb\uFFFD"));
}

void TextFilesTest::trimming_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("blanks and controls") << QByteArray(" \t\r\x01url \x1f") << QByteArray("url");
    QTest::newRow("full-width space stays") << QByteArray("\x81\x40x\x81\x40 ")
                                            << QByteArray("\x81\x40x\x81\x40");
    QTest::newRow("only blanks") << QByteArray("   ") << QByteArray();
    QTest::newRow("inner blanks stay") << QByteArray(" a b ") << QByteArray("a b");
}

void TextFilesTest::trimming()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    QCOMPARE(sjis::trimmed(bytes), expected);
}

void TextFilesTest::firstCharacter_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("one byte") << QByteArray("ab") << QByteArray("a");
    QTest::newRow("lead 81") << QByteArray("\x81\x40x") << QByteArray("\x81\x40");
    QTest::newRow("lead 9F") << QByteArray("\x9f\x40") << QByteArray("\x9f\x40");
    QTest::newRow("lead E0") << QByteArray("\xe0\x40") << QByteArray("\xe0\x40");
    QTest::newRow("lead FC") << QByteArray("\xfc\x40") << QByteArray("\xfc\x40");
    QTest::newRow("half-width kana A0") << QByteArray("\xa0\x40") << QByteArray("\xa0");
    QTest::newRow("byte 80") << QByteArray("\x80\x40") << QByteArray("\x80");
    QTest::newRow("byte FD") << QByteArray("\xfd\x40") << QByteArray("\xfd");
    QTest::newRow("lone lead byte") << QByteArray("\x81") << QByteArray("\x81");
}

void TextFilesTest::firstCharacter()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    QCOMPARE(sjis::firstCharacter(bytes), expected);
}

void TextFilesTest::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("expected");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("lone LF") << QByteArray("a\nb") << QList<QByteArray>{"a", "b"};
    QTest::newRow("lone CR stays in its line") << QByteArray("a\rb\r\n")
                                               << QList<QByteArray>{"a\rb"};
    QTest::newRow("CR LF cut short") << QByteArray("a\r") << QList<QByteArray>{"a"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << QList<QByteArray>{"", ""};
    QTest::newRow("empty file") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("NUL bytes are text") << QByteArray("a\0b\r\n", 5)
                                        << QList<QByteArray>{QByteArray("a\0b", 3)};
}

void TextFilesTest::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, expected);
    TextReader reader(bytes);
    QList<QByteArray> read;
    while (!reader.atEnd())
        read.append(reader.readLine());
    QCOMPARE(read, expected);
    QCOMPARE(reader.readLine(), QByteArray());
}

void TextFilesTest::integers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("expected"); // read until the end or the first failure
    QTest::addColumn<bool>("fails");
    QTest::newRow("one a line") << QByteArray("1\r\n22\r\n") << QList<int>{1, 22} << false;
    QTest::newRow("blanks and empty lines before")
        << QByteArray("  \t\r\n\r\n 7\r\n") << QList<int>{7} << false;
    QTest::newRow("rest of the line skipped") << QByteArray("3 junk here\r\n4\r\n")
                                              << QList<int>{3, 4} << false;
    QTest::newRow("signs") << QByteArray("-5\r\n+6\r\n") << QList<int>{-5, 6} << false;
    QTest::newRow("32-bit limits") << QByteArray("2147483647\r\n-2147483648\r\n")
                                   << QList<int>{2147483647, -2147483648} << false;
    QTest::newRow("leading zeros") << QByteArray("007\r\n") << QList<int>{7} << false;
    QTest::newRow("end of file reads 0") << QByteArray("9") << QList<int>{9} << false;
    QTest::newRow("too large") << QByteArray("2147483648\r\n") << QList<int>{} << true;
    QTest::newRow("too small") << QByteArray("-2147483649\r\n") << QList<int>{} << true;
    QTest::newRow("hexadecimal") << QByteArray("0x10\r\n") << QList<int>{} << true;
    QTest::newRow("word") << QByteArray("1\r\nabc\r\n") << QList<int>{1} << true;
    QTest::newRow("number glued to text") << QByteArray("12ab\r\n") << QList<int>{} << true;
    QTest::newRow("sign alone") << QByteArray("-\r\n") << QList<int>{} << true;
    QTest::newRow("lone CR is no line end") << QByteArray("1\r2\r\n") << QList<int>{} << true;
    QTest::newRow("CR LF cut short") << QByteArray("4\r") << QList<int>{4} << false;
    QTest::newRow("full-width digits") << sj("１\r\n") << QList<int>{} << true;
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf" "1\r\n") << QList<int>{}
                                     << true;
}

void TextFilesTest::integers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, expected);
    QFETCH(bool, fails);
    TextReader reader(bytes);
    QList<int> read;
    bool failed = false;
    try {
        while (!reader.atEnd())
            read.append(reader.readInteger());
    } catch (const IoError &error) {
        failed = true;
        QCOMPARE(error.message(), QStringLiteral("入力値が数値ではありません"));
    }
    QCOMPARE(read, expected);
    QCOMPARE(failed, fails);
    if (!fails)
        QCOMPARE(reader.readInteger(), 0);
}

void TextFilesTest::saveReplacesOnlyOnSuccess()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.html"));
    saveFileBytes(path, "old\r\n");
    saveFileBytes(path, "new\r\n");
    QCOMPARE(readBytes(path), QByteArray("new\r\n"));

    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    {
        WithoutAccessOverride asUser;
        QCOMPARE(messageOf([&] { saveFileBytes(path, "lost\r\n"); }),
                 QStringLiteral("ファイルへのアクセスが拒否されました"));
    }
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner
                                                     | QFile::ExeOwner));
    QCOMPARE(readBytes(path), QByteArray("new\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"page.html"});
}

void TextFilesTest::openErrorsCarryThePlatformMessage()
{
    QTemporaryDir folder;
    QCOMPARE(messageOf([&] { readFileBytes(folder.filePath("missing.mpk")); }),
             QStringLiteral("ファイルが見つかりません"));
    QCOMPARE(messageOf([&] { readFileBytes(folder.path()); }),
             QStringLiteral("ファイルへのアクセスが拒否されました"));
    QCOMPARE(messageOf([&] { saveFileBytes(folder.filePath("no/such/dir/a.html"), "x"); }),
             QStringLiteral("ファイルが見つかりません"));
    QCOMPARE(messageOf([&] { saveFileBytes(folder.path(), "x"); }),
             QStringLiteral("ファイルへのアクセスが拒否されました"));
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
