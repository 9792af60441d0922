// QR codes of the page's address, read back by a real reader, and the texts they are made of.

#include "pictures/qr_code.h"
#include "settings/program_settings.h"
#include "support/qr_reader.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "windows/qr_code_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int quietZone = 4;

// 'a' to 'z' over and over: lower-case letters fall into no mode shorter than 8-bit.
QByteArray letters(qsizetype count)
{
    QByteArray text;
    for (qsizetype index = 0; index < count; ++index)
        text += char('a' + index % 26);
    return text;
}

// The light margin of the drawn code on each side, in pixels: left, top, right, bottom.
QList<int> margins(const QImage &picture)
{
    int left = picture.width(), top = picture.height(), right = -1, bottom = -1;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) < 128) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    return {left, top, picture.width() - 1 - right, picture.height() - 1 - bottom};
}

} // namespace

class QrCodeTest : public QObject {
    Q_OBJECT

private slots:
    void readBack_data();
    void readBack();
    void refused_data();
    void refused();
    void bookmark_data();
    void bookmark();
    void pageAddress_data();
    void pageAddress();
    void addressWithoutHost_data();
    void addressWithoutHost();
    void window();
    void pastedLines();
};

// Each code is drawn, written as a PNG and read by zbarimg, which must give back the bytes
// exactly, Shift-JIS included.
void QrCodeTest::readBack_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<int>("version");
    const QByteArray host = "http://example.jp/";
    const QByteArray address = "http://example.jp/~taro/index.html";
    const QByteArray encoded = "http://example.jp/%7Etaro/";
    QTest::newRow("an address") << host << host << 2;
    QTest::newRow("a tilde") << address << address << 3;
    QTest::newRow("a tilde encoded") << encoded << encoded << 2;
    // 表 and ソ end in the byte of "\", which is no mark to escape there.
    QTest::newRow("a bookmark in Japanese with a pictogram")
        << BookmarkText(sj("ソフト表示の店") + "\xF8\x9F", address)
        << sj("MEBKM:TITLE:ソフト表示の店;URL:http\\://example.jp/~taro/index.html;;") << 5;
    // Too long for 8-bit mode in version 10: it fits with kanji only.
    QTest::newRow("kanji beyond the bytes of 8-bit mode")
        << sj("店").repeated(120) << sj("店").repeated(120) << 10;
    QTest::newRow("the longest that fits") << letters(213) << letters(213) << 10;
    QTest::newRow("the most digits that fit") << QByteArray(513, '7') << QByteArray(513, '7') << 10;
}

void QrCodeTest::readBack()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, read);
    QFETCH(int, version);
    const QrSymbol symbol = MakeQrCode(text);
    QVERIFY2(symbol.problem.isEmpty(), qPrintable(symbol.problem));
    QCOMPARE(symbol.version, version);
    const int moduleSize = 4;
    const QImage picture = DrawQrCode(symbol, moduleSize);
    QCOMPARE(picture.width(), (symbol.modulesAcross + 2 * quietZone) * moduleSize);
    for (const int margin : margins(picture))
        QVERIFY2(margin >= quietZone * moduleSize, qPrintable(QString::number(margin)));

    if (!qrReaderInstalled())
        QSKIP("zbarimg is not installed");
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("code.png"));
    QVERIFY(picture.save(file));
    QCOMPARE(readQrCode(file), std::optional<QByteArray>(read));
}

// What phones cannot read makes no code, and says why.
void QrCodeTest::refused_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("problem");
    QTest::newRow("one byte more than fits") << letters(214)
        << "QRコードにするには長すぎます（214 バイト）。携帯が読めるQRコードには 213 バイトまでしか入りません。";
    QTest::newRow("one digit more than fits") << QByteArray(514, '7')
        << "QRコードにするには長すぎます（514 バイト）。携帯が読めるQRコードには 213 バイトまでしか入りません。";
    QTest::newRow("too long with kanji too") << sj("店").repeated(150)
        << "QRコードにするには長すぎます（300 バイト）。携帯が読めるQRコードには 213 バイトまでしか入りません。";
    QTest::newRow("a NUL byte") << QByteArray("http://example.jp/\0x", 20)
                                << "QRコードにする文字に、NUL（0 のバイト）は入れられません。";
    QTest::newRow("nothing") << QByteArray() << "QRコードにする文字がありません。";
}

void QrCodeTest::refused()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, problem);
    const QrSymbol symbol = MakeQrCode(text);
    QCOMPARE(symbol.problem, problem);
    QVERIFY(symbol.modules.isEmpty());
    QVERIFY(DrawQrCode(symbol, 8).isNull());
}

void QrCodeTest::bookmark_data()
{
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<QByteArray>("form");
    QTest::newRow("pictograms in both forms, tags and blanks left out")
        << "  <B>" + sj("表示") + "\xF8\x9F&#63648;" + sj("の店") + "</B>\t"
        << QByteArray("http://example.jp/") << sj("MEBKM:TITLE:表示の店;URL:http\\://example.jp/;;");
    QTest::newRow("marks escaped") << QByteArray("A:B;C,D\\E") << QByteArray("http://example.jp/a,b;c")
                                   << QByteArray("MEBKM:TITLE:A\\:B\\;C\\,D\\\\E;URL:http\\://example.jp/a\\,b\\;c;;");
    QTest::newRow("nothing left of the title") << QByteArray("<B>&#63647;</B> ")
                                               << QByteArray("http://example.jp/")
                                               << QByteArray("MEBKM:URL:http\\://example.jp/;;");
}

void QrCodeTest::bookmark()
{
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, address);
    QFETCH(QByteArray, form);
    QCOMPARE(BookmarkText(title, address), form);
}

void QrCodeTest::pageAddress_data()
{
    QTest::addColumn<QByteArray>("homePage");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("address");
    QTest::newRow("a folder") << QByteArray("http://example.jp/~taro/") << "index.html"
                              << "http://example.jp/~taro/index.html";
    QTest::newRow("a folder without its slash") << QByteArray("http://example.jp/~taro") << "shop.html"
                                                << "http://example.jp/~taro/shop.html";
    QTest::newRow("a page of the folder") << QByteArray(" http://example.jp/~taro/index.html ")
                                          << "shop.html" << "http://example.jp/~taro/shop.html";
    QTest::newRow("the host alone") << QByteArray("http://example.jp") << "shop.html"
                                    << "http://example.jp/shop.html";
    QTest::newRow("a Japanese name") << QByteArray("http://example.jp/") << "お店 1%.html"
                                     << "http://example.jp/%82%A8%93%58%201%25.html";
    QTest::newRow("no home page") << QByteArray() << "店.html" << "%93%58.html";
}

void QrCodeTest::pageAddress()
{
    QFETCH(QByteArray, homePage);
    QFETCH(QString, fileName);
    QFETCH(QString, address);
    QCOMPARE(PageAddress(homePage, fileName), address);
}

// "QRコード" of the phone preview: the page's address, alone or as a bookmark with the title,
// saved as a PNG or a GIF that reads back as those bytes; a text too long saves nothing; the
// address the user gave is kept for the project.
void QrCodeTest::addressWithoutHost_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("withoutHost");
    for (const char *file : {"index.html", " Shop.HTM ", "/shop/menu.html", "../top.html", "./a", "menu.html?x=1",
                             "top.gif"})
        QTest::newRow(file) << QString::fromLatin1(file) << true;
    for (const char *address : {"http://example.jp/index.html", "www.example.jp/index.html", "example.jp",
                                "mailto:a@example.jp", "tel:0312345678", "MEBKM:URL:index.html;;", "hello",
                                "", "sakura@example.jp"})
        QTest::newRow(address) << QString::fromLatin1(address) << false;
}

void QrCodeTest::addressWithoutHost()
{
    QFETCH(QString, address);
    QFETCH(bool, withoutHost);
    QCOMPARE(AddressWithoutHost(address), withoutHost);
}

void QrCodeTest::window()
{
    if (!qrReaderInstalled())
        QSKIP("zbarimg is not installed");
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    RecordingDesktop desktop;
    const QrSubject subject{sj("喫茶さくら&#63647;"), "http://example.jp/shop/", "/home/user/cafe.html",
                            "/home/user/cafe.mpk"};
    QrCodeWindow code(programFolder, desktop);
    QByteArray shown, asAddress, asBookmark;
    bool refused = false;
    bool noHost = false;
    QTimer::singleShot(0, &code, [&] {
        shown = code.addressEdit->text().toUtf8();
        desktop.answerWith(folder.filePath("code.png"));
        code.saveButton->click();
        asAddress = readQrCode(folder.filePath("code.png")).value_or("none");
        code.bookmark->setChecked(true);
        desktop.answerWith(folder.filePath("code.gif"));
        code.saveButton->click();
        asBookmark = readQrCode(folder.filePath("code.gif")).value_or("none");
        code.addressEdit->setText(QString(300, 'a'));
        refused = code.code().isNull() && !code.saveButton->isEnabled();
        // A page's name alone, as a page without a home page set has it: no code to keep.
        code.addressEdit->setText(QStringLiteral("cafe.html"));
        noHost = code.code().isNull() && !code.saveButton->isEnabled() && !code.copyButton->isEnabled()
                 && code.codeFacts->text().contains(QStringLiteral("「設定」のホームページ"));
        code.addressEdit->setText(QStringLiteral("http://example.jp/other.html"));
        code.closeButton->click();
    });
    code.showFor(subject);
    QCOMPARE(shown, QByteArray("http://example.jp/shop/cafe.html"));
    QCOMPARE(asAddress, shown);
    QCOMPARE(asBookmark, BookmarkText(subject.title, shown));
    QVERIFY(refused);
    QVERIFY(noHost);
    QCOMPARE(desktop.messages, QStringList());
    QCOMPARE(SavedQrAddress(programFolder, subject.projectFile).value,
             QStringLiteral("http://example.jp/other.html"));
    QCOMPARE(SavedQrAddress(programFolder, "/home/user/other.mpk").value, QString());
}

// An address pasted with more lines keeps its first in the box, in the code and in mopeco.ini,
// where the rest once made a section of its own; the window says the rest was left out.
void QrCodeTest::pastedLines()
{
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    RecordingDesktop desktop;
    const QrSubject subject{"cafe", "http://a.jp/", "/home/user/cafe.html", "/home/user/cafe.mpk"};
    QrCodeWindow code(programFolder, desktop);
    QString box, facts, typedFacts;
    QByteArray held;
    QTimer::singleShot(0, &code, [&] {
        code.addressEdit->clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("http://a.jp/\r\n[check]\nhandset=NOPE"));
        code.addressEdit->paste();
        box = code.addressEdit->text();
        held = code.text();
        facts = code.codeFacts->text();
        code.addressEdit->insert(QStringLiteral("x"));
        typedFacts = code.codeFacts->text();
        code.addressEdit->backspace();
        code.closeButton->click();
    });
    code.showFor(subject);
    QCOMPARE(box, QStringLiteral("http://a.jp/"));
    QCOMPARE(held, QByteArray("http://a.jp/"));
    QVERIFY2(facts.contains(QStringLiteral("1 行目だけ")), qPrintable(facts));
    QVERIFY2(!typedFacts.contains(QStringLiteral("1 行目だけ")), qPrintable(typedFacts));
    QCOMPARE(SavedQrAddress(programFolder, subject.projectFile).value, QStringLiteral("http://a.jp/"));
    QVERIFY(!readBytes(programFolder + "mopeco.ini").contains("[check]"));
}

QTEST_MAIN(QrCodeTest)
#include "tst_qr_code.moc"
