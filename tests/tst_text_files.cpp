#include "support/test_files.h"
#include "text/program_folder.h"
#include "text/sjis.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString encodingName(sjis::TextEncoding encoding)
{
    switch (encoding) {
    case sjis::TextEncoding::Ascii:
        return QStringLiteral("ASCII");
    case sjis::TextEncoding::ShiftJis:
        return QStringLiteral("Shift-JIS");
    case sjis::TextEncoding::Utf8:
        break;
    }
    return QStringLiteral("UTF-8");
}

QByteArray twoBytes(int lead, int trail)
{
    return QByteArray().append(char(lead)).append(char(trail));
}

// A trail byte of Shift-JIS from `low` to `high`, which is never 7F.
int trailByte(QRandomGenerator &random, int low = 0x40, int high = 0xFC)
{
    const int trail = low + random.bounded(high - low);
    return trail < 0x7F ? trail : trail + 1;
}

// One character of everyday Japanese in Shift-JIS: hiragana, katakana, kanji of the first
// level (the kanji of everyday text) and punctuation.
QByteArray japaneseCharacter(QRandomGenerator &random)
{
    static const QList<QByteArray> punctuation{sj("、"), sj("。"), sj("「"), sj("」"), sj("ー"),
                                               sj("！"), sj("？"), sj("・"), sj("　")};
    const int kind = random.bounded(20);
    if (kind < 8)
        return twoBytes(0x82, 0x9F + random.bounded(0xF1 - 0x9F + 1));
    if (kind < 11)
        return twoBytes(0x83, trailByte(random, 0x40, 0x96));
    if (kind < 18)
        return twoBytes(0x89 + random.bounded(0x97 - 0x89 + 1), trailByte(random));
    return punctuation[random.bounded(punctuation.size())];
}

QByteArray asciiRun(QRandomGenerator &random)
{
    QByteArray run;
    for (int k = 1 + random.bounded(6); k > 0; --k)
        run += char(0x20 + random.bounded(0x7F - 0x20));
    return run;
}

// Characters of a Japanese phrase in Shift-JIS, four or more of them beyond ASCII, with now and
// then a run of ASCII.
QList<QByteArray> japanesePhrase(QRandomGenerator &random)
{
    QList<QByteArray> characters;
    for (int k = 4 + random.bounded(20); k > 0; --k) {
        characters += japaneseCharacter(random);
        if (random.bounded(8) == 0)
            characters += asciiRun(random);
    }
    return characters;
}

} // namespace

class TextFilesTest : public QObject {
    Q_OBJECT

private slots:
    void conversion_data();
    void conversion();
    void oneWayConversions();
    void textFileEncoding_data();
    void textFileEncoding();
    void generatedTexts_data();
    void generatedTexts();
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

// What a text file is read as, and the Shift-JIS bytes made of it.
void TextFilesTest::textFileEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<int>("strayBytes");
    QTest::addColumn<QByteArray>("shiftJis");
    const QByteArray mark = "\xEF\xBB\xBF";
    const QByteArray stray = sj("〓");
    const auto utf8 = [](const char *text) { return QByteArray(text); };
    QTest::newRow("ASCII") << QByteArray("Shop\r\n") << "ASCII" << 0 << QByteArray("Shop\r\n");
    QTest::newRow("byte order mark alone") << mark + "Shop" << "UTF-8" << 0 << QByteArray("Shop");
    QTest::newRow("byte order mark with a stray byte")
        << mark + "a\xFF" "b" << "UTF-8" << 1 << "a" + stray + "b";
    QTest::newRow("Japanese") << utf8("ようこそ") << "UTF-8" << 0 << sj("ようこそ");
    QTest::newRow("Japanese with emoji beyond the code page")
        << utf8("カフェ😀") << "UTF-8" << 0 << sj("カフェ") + "&#128512;";
    QTest::newRow("stray byte among Japanese")
        << utf8("ようこそ") + "\x80" + utf8("モペコへ") << "UTF-8" << 1 << sj("ようこそ〓モペコへ");
    QTest::newRow("character cut short at the end")
        << utf8("ようこそモペコへ") + "\xE3\x81" << "UTF-8" << 2 << sj("ようこそモペコへ〓〓");
    QTest::newRow("stray bytes past a quarter")
        << utf8("ようこそ") + "\x80\x80" << "Shift-JIS" << 0 << utf8("ようこそ") + "\x80\x80";
    QTest::newRow("half-width kana valid as UTF-8")
        << QByteArray("\xCE\xB1") << "Shift-JIS" << 0 << QByteArray("\xCE\xB1");
    QTest::newRow("no character of three bytes") << utf8("café") << "Shift-JIS" << 0 << utf8("café");
    QTest::newRow("kanji beyond the code page, as Shift-JIS read as UTF-8 makes")
        << utf8("鲁鲁") << "Shift-JIS" << 0 << utf8("鲁鲁");
    QTest::newRow("Shift-JIS kanji and kana")
        << sj("日本語のページ") << "Shift-JIS" << 0 << sj("日本語のページ");
}

void TextFilesTest::textFileEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(int, strayBytes);
    QFETCH(QByteArray, shiftJis);
    const sjis::TextFileBytes converted = sjis::convertTextFile(bytes);
    QCOMPARE(encodingName(converted.encoding), encoding);
    QCOMPARE(converted.strayBytes, strayBytes);
    QCOMPARE(converted.shiftJis, shiftJis);
}

// Texts made by the thousand: Shift-JIS is never taken for UTF-8, Japanese in UTF-8 always
// read as such, one stray byte and all.
void TextFilesTest::generatedTexts_data()
{
    QTest::addColumn<QList<QByteArray>>("files");
    QTest::addColumn<QList<QByteArray>>("shiftJis");
    QTest::addColumn<bool>("utf8");
    QRandomGenerator random(932);
    QList<QByteArray> files;
    for (int first = 0xA1; first <= 0xDF; ++first)
        for (int second = 0xA1; second <= 0xDF; ++second)
            files += twoBytes(first, second);
    QTest::newRow("every two half-width kana") << files << files << false;

    files.clear();
    for (int n = 0; n < 1000; ++n) {
        QByteArray line;
        for (int k = 1 + random.bounded(40); k > 0; --k)
            line += random.bounded(3) ? char(0xA1 + random.bounded(0xDF - 0xA1 + 1))
                                      : char(0x20 + random.bounded(0x7F - 0x20));
        files += line + "\r\n";
    }
    QTest::newRow("half-width kana and ASCII") << files << files << false;

    files.clear();
    for (int n = 0; n < 1000; ++n) {
        QByteArray line;
        for (int k = 1 + random.bounded(30); k > 0; --k)
            line += random.bounded(6) ? japaneseCharacter(random) : asciiRun(random);
        files += line;
    }
    QTest::newRow("kanji and kana") << files << files << false;

    QList<QByteArray> expected;
    files.clear();
    for (int n = 0; n < 1000; ++n) {
        const QByteArray phrase = japanesePhrase(random).join();
        files += sjis::toUnicode(phrase).toUtf8();
        expected += phrase;
    }
    QTest::newRow("Japanese phrases in UTF-8") << files << expected << true;

    files.clear();
    expected.clear();
    for (int n = 0; n < 1000; ++n) {
        const QList<QByteArray> phrase = japanesePhrase(random);
        const qsizetype at = random.bounded(phrase.size() + 1);
        const QByteArray before = phrase.mid(0, at).join();
        const QByteArray after = phrase.mid(at).join();
        files += sjis::toUnicode(before).toUtf8() + char(0x80 + random.bounded(0x80))
                 + sjis::toUnicode(after).toUtf8();
        expected += before + sj("〓") + after;
    }
    QTest::newRow("Japanese phrases in UTF-8 with a stray byte") << files << expected << true;
}

void TextFilesTest::generatedTexts()
{
    QFETCH(QList<QByteArray>, files);
    QFETCH(QList<QByteArray>, shiftJis);
    QFETCH(bool, utf8);
    for (qsizetype n = 0; n < files.size(); ++n) {
        const sjis::TextFileBytes converted = sjis::convertTextFile(files[n]);
        const QByteArray shown = files[n].toHex(' ');
        QVERIFY2((converted.encoding == sjis::TextEncoding::Utf8) == utf8, shown.constData());
        QVERIFY2(converted.shiftJis == shiftJis[n], shown.constData());
    }
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

// What a reader reads line by line or number by number up to the end, then once past it, with
// "(end)" where it first ran past the end; or up to a bad number, then the message. The signs,
// limits, byte order mark and text after a number that every reader meets are in tst_bad_input.
void TextFilesTest::reading_data()
{
    QTest::addColumn<bool>("numbers");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    const auto lines = [](const char *name, const QByteArray &bytes, const QStringList &expected) {
        QTest::addRow("lines, %s", name) << false << bytes << expected;
    };
    lines("CR LF", "a\r\nb\r\n", {"a", "b", "", "(end)"});
    lines("lone LF", "a\nb", {"a", "b", "", "(end)"});
    lines("lone CR stays in its line", "a\rb\r\n", {"a\rb", "", "(end)"});
    lines("CR LF cut short", "a\r", {"a", "", "(end)"});
    lines("empty lines", "\r\n\r\n", {"", "", "", "(end)"});
    lines("empty file", "", {"", "(end)"});
    lines("NUL bytes are text", QByteArray("a\0b\r\n", 5),
          {QString::fromLatin1("a\0b", 3), "", "(end)"});
    const QString n = QStringLiteral("入力値が数値ではありません");
    const auto numbers = [](const char *name, const QByteArray &bytes,
                            const QStringList &expected) {
        QTest::addRow("numbers, %s", name) << true << bytes << expected;
    };
    numbers("one a line", "1\r\n22\r\n", {"1", "22", "0", "(end)"});
    numbers("blanks and empty lines before", "  \t\r\n\r\n 7\r\n", {"7", "0", "(end)"});
    numbers("empty lines after: no number there", "5\r\n\r\n", {"5", "0", "(end)", "0"});
    numbers("32-bit limits", "2147483647\r\n-2147483648\r\n",
            {"2147483647", "-2147483648", "0", "(end)"});
    numbers("leading zeros", "007\r\n", {"7", "0", "(end)"});
    numbers("no line end", "9", {"9", "0", "(end)"});
    numbers("CR LF cut short", "4\r", {"4", "0", "(end)"});
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
        const bool wasPastEnd = reader.ranPastEnd();
        read << (numbers ? QString::number(reader.readInteger())
                         : QString::fromLatin1(reader.readLine()));
        if (reader.ranPastEnd() && !wasPastEnd)
            read << QStringLiteral("(end)");
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
