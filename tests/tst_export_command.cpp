// "mopeco --export" and "mopeco --qr", run as a user would, with no display.

#include "support/command_run.h"
#include "support/qr_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class ExportCommandTest : public QObject {
    Q_OBJECT

private slots:
    void exportPage_data();
    void exportPage();
    void exportKeepsWhatItDidNotMake_data();
    void exportKeepsWhatItDidNotMake();
    void qrCode_data();
    void qrCode();
};

namespace {

// What a folder holds, hidden entries too: each entry's kind and bytes or link target.
QMap<QString, QByteArray> folderHolds(const QString &path)
{
    QMap<QString, QByteArray> holds;
    for (const QFileInfo &entry : QDir(path).entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        QByteArray what;
        if (entry.isSymLink()) {
            what = "link to " + entry.symLinkTarget().toUtf8();
        } else if (entry.isDir()) {
            what = "folder";
        } else if (entry.isFile()) {
            QFile file(entry.filePath());
            what = file.open(QIODevice::ReadOnly) ? "file " + file.readAll() : "unreadable";
        } else {
            what = "other";
        }
        holds.insert(entry.fileName(), what);
    }
    return holds;
}

// Makes each of `entries` in `folder`: "name=text" a file holding the text, "name<other" a copy
// of the folder's file `other` ("name<other:N" of its first N bytes), "name->TARGET" a symbolic
// link, "name|" a named pipe, "name/" a folder.
void make(const QString &folder, const QStringList &entries, const QString &outside)
{
    for (const QString &entry : entries) {
        const QString name = entry.section(QRegularExpression(QStringLiteral("=|<|->|\\||/")), 0, 0);
        const QString path = QDir(folder).filePath(name);
        const QString rest = entry.mid(name.size());
        QByteArray copied;
        if (rest.startsWith(QLatin1Char('<'))) {
            QFile other(QDir(folder).filePath(rest.mid(1).section(QLatin1Char(':'), 0, 0)));
            QVERIFY(other.open(QIODevice::ReadOnly));
            const QString cut = rest.section(QLatin1Char(':'), 1);
            copied = cut.isEmpty() ? other.readAll() : other.read(cut.toInt());
        }
        QFile::remove(path);
        if (rest.startsWith(QLatin1String("->"))) {
            QVERIFY(QFile::link(rest.mid(2) == QLatin1String("OUTSIDE") ? outside : rest.mid(2), path));
        } else if (rest == QLatin1String("|")) {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (rest == QLatin1String("/")) {
            QVERIFY(QDir().mkpath(path));
        } else if (rest.startsWith(QLatin1Char('<'))) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(copied);
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(rest.mid(1).toUtf8());
        }
    }
}

} // namespace

// A page of a photo and a logo, made for a phone: the page and its pictures within the
// phone's limit, in formats it shows, and the copy of the project beside them checks clean.
void ExportCommandTest::exportPage_data()
{
    QTest::addColumn<QString>("handset");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("jpegShown");
    QTest::addColumn<int>("screenWidth");
    QTest::newRow("256 colours, 5 KB") << "D502i" << 5000 << false << 96;
    QTest::newRow("a 503i without JPEG") << "D503iS" << 10000 << false << 132;
    QTest::newRow("black and white") << "501i" << 5000 << false << 96;
    QTest::newRow("with JPEG") << "505i" << 20000 << true << 240;
}

void ExportCommandTest::exportPage()
{
    QFETCH(QString, handset);
    QFETCH(int, limit);
    QFETCH(bool, jpegShown);
    QFETCH(int, screenWidth);
    const QString data = qEnvironmentVariable("EXPORT_DATA");
    QFile project(QDir(data).filePath(QStringLiteral("cafe.mpk")));
    QVERIFY(project.open(QIODevice::ReadOnly));
    const QByteArray projectBefore = project.readAll();
    QTemporaryDir out;
    const QString folder = out.filePath(QStringLiteral("for phone"));
    const Ran made = runWithoutDisplay({"--export", "cafe.mpk", "--handset", handset, "-o", folder}, data);
    QVERIFY2(made.exitCode == 0, made.err.constData());
    QVERIFY(made.out.contains("「photo.jpg」: JPEG 400×300"));

    qint64 pageAndPictures = 0;
    const QDir written(folder);
    QStringList pictures;
    for (const QFileInfo &file : written.entryInfoList(QDir::Files)) {
        QFile opened(file.filePath());
        QVERIFY(opened.open(QIODevice::ReadOnly));
        const QByteArray bytes = opened.readAll();
        if (file.suffix() == QLatin1String("html")) {
            pageAndPictures += bytes.size();
        } else if (file.suffix() == QLatin1String("gif") || file.suffix() == QLatin1String("jpg")) {
            pageAndPictures += bytes.size();
            pictures << file.fileName();
            const bool gif = bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a");
            QVERIFY2(gif || (jpegShown && bytes.startsWith("\xFF\xD8\xFF")), qPrintable(file.fileName()));
            QVERIFY(QImage::fromData(bytes).width() <= screenWidth);
        }
    }
    QCOMPARE(pictures.size(), 2);
    QVERIFY2(pageAndPictures <= limit, QByteArray::number(pageAndPictures).constData());

    const Ran checked = runWithoutDisplay({"--check", "cafe.mpk", "--handset", handset}, folder);
    QVERIFY2(checked.exitCode == 0, checked.out.constData());
    for (const QString &line : QString::fromUtf8(checked.out).split(QLatin1Char('\n')))
        QVERIFY2(!line.contains(QLatin1String(".gif")) && !line.contains(QLatin1String(".jpg"))
                     && !line.contains(QLatin1String(".png")),
                 qPrintable(line));

    QVERIFY(project.seek(0));
    QCOMPARE(project.readAll(), projectBefore);
}

// The export writes all of the page or nothing, never outside the folder it was given, and
// never over a file it did not make in this run, unless told to replace regular files.
void ExportCommandTest::exportKeepsWhatItDidNotMake_data()
{
    QTest::addColumn<QByteArrayList>("changes"); // to the project's bytes: before, after, …
    QTest::addColumn<QStringList>("inData");     // made in the project's folder, as make() says
    QTest::addColumn<QStringList>("inOut");      // made in the folder written into
    QTest::addColumn<QStringList>("arguments");  // OUT stands for that folder, DATA for the project's
    QTest::addColumn<qint64>("largestFile");     // 0 for no limit
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    const QStringList into{"--export", "cafe.mpk", "-o", "OUT"};
    QTest::newRow("pictures not there")
        << QByteArrayList() << QStringList() << QStringList()
        << QStringList{"--export", "cafe.mpk", "--html-folder", "/nonexistent", "-o", "OUT"} << 0ll
        << 1 << "画像ファイル「photo.jpg」が読めません";
    QTest::newRow("into the project's own folder")
        << QByteArrayList() << QStringList() << QStringList() << QStringList{"--export", "cafe.mpk", "-o", "DATA"}
        << 0ll << 2 << "元のファイルなので上書きしません";
    QTest::newRow("replacing in the project's own folder")
        << QByteArrayList() << QStringList() << QStringList()
        << QStringList{"--export", "cafe.mpk", "-o", "DATA", "--replace"} << 0ll << 2 << "元のファイルなので上書きしません";
    // Without a body, nothing it reads is in the way: only the project of the same name.
    QTest::newRow("a backup into its own folder")
        << QByteArrayList{"\r\nbody.txt\r\n", "\r\n\r\n"} << QStringList{"cafe.bak<cafe.mpk"} << QStringList()
        << QStringList{"--export", "cafe.bak", "-o", "DATA"} << 0ll << 2
        << "同じ名前のファイルがあるので、何も書き出していません: cafe.mpk（置き換えるときは --replace";
    QTest::newRow("no such project") << QByteArrayList() << QStringList() << QStringList()
                                     << QStringList{"--export", "gone.mpk", "-o", "OUT"} << 0ll << 2
                                     << "ファイルが見つかりません";
    QTest::newRow("the page of another project there")
        << QByteArrayList() << QStringList() << QStringList{"cafe.html=another page", "logo.gif=another logo"}
        << into << 0ll << 2 << "何も書き出していません: logo.gif、cafe.html";
    QTest::newRow("a link to a file outside")
        << QByteArrayList() << QStringList() << QStringList{"photo.gif->OUTSIDE"} << into << 0ll << 2
        << "何も書き出していません: photo.gif";
    QTest::newRow("a link to a file outside, replacing")
        << QByteArrayList() << QStringList() << QStringList{"photo.gif->OUTSIDE"}
        << into + QStringList{"--replace"} << 0ll << 2 << "はふつうのファイルではない（シンボリックリンクです）";
    QTest::newRow("a dangling link, replacing")
        << QByteArrayList() << QStringList() << QStringList{"cafe.html->gone/page.html"}
        << into + QStringList{"--replace"} << 0ll << 2 << "シンボリックリンクです";
    QTest::newRow("a pipe, replacing")
        << QByteArrayList() << QStringList() << QStringList{"cafe.html|"} << into + QStringList{"--replace"}
        << 0ll << 2 << "名前付きパイプ（FIFO）です";
    QTest::newRow("the disk fills up")
        << QByteArrayList() << QStringList() << QStringList{"notes.txt=mine"} << into << 2048ll << 2
        << "photo.gif」: ディスクがいっぱいです";
    QTest::newRow("a picture that is a pipe")
        << QByteArrayList() << QStringList{"photo.jpg|"} << QStringList() << into << 0ll << 1
        << "画像ファイル「photo.jpg」が読めません（ファイルではなく名前付きパイプ（FIFO）です）";
    QTest::newRow("a picture that is a folder")
        << QByteArrayList() << QStringList{"logo.png/"} << QStringList() << into << 0ll << 1
        << "画像ファイル「logo.png」が読めません（ファイルではなくフォルダです）";
    QTest::newRow("a photo cut in half")
        << QByteArrayList() << QStringList{"photo.jpg<photo.jpg:12000"} << QStringList() << into << 0ll << 1
        << "「photo.jpg」: 画像ファイルが途中で終わっています。";
    QTest::newRow("a picture named with a NUL")
        << QByteArrayList{"photo.jpg", QByteArray("x\0.jpg", 6)} << QStringList{"x<photo.jpg"}
        << QStringList() << into << 0ll << 1 << "画像ファイルの名前「x\uFFFD.jpg」に使えない文字";
    QTest::newRow("replacing regular files")
        << QByteArrayList() << QStringList() << QStringList{"cafe.html=old page", "notes.txt=mine"}
        << into + QStringList{"--replace"} << 0ll << 0 << "";
    QTest::newRow("a body named like the page")
        << QByteArrayList{"body.txt", "cafe.html"} << QStringList{"cafe.html<body.txt"} << QStringList()
        << into << 0ll << 0 << "";
    // 255 bytes in UTF-8, the most a name may have: the page's name would have one more.
    const QString longName = QString(83, QChar(u'長')) + QStringLiteral("ab.mpk");
    QTest::newRow("a name too long for a file")
        << QByteArrayList() << QStringList() << QStringList()
        << QStringList{"--export", longName, "-o", "OUT"} << 0ll << 0 << "";
}

void ExportCommandTest::exportKeepsWhatItDidNotMake()
{
    QFETCH(QByteArrayList, changes);
    QFETCH(QStringList, inData);
    QFETCH(QStringList, inOut);
    QFETCH(QStringList, arguments);
    QFETCH(qint64, largestFile);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QTemporaryDir scratch;
    const QString out = scratch.filePath(QStringLiteral("out"));
    const QString data = scratch.filePath(QStringLiteral("data"));
    const QString outside = scratch.filePath(QStringLiteral("outside.txt"));
    QVERIFY(QDir().mkpath(data) && QDir().mkpath(out));
    make(scratch.path(), {QStringLiteral("outside.txt=not to be touched")}, outside);
    const QDir source(qEnvironmentVariable("EXPORT_DATA"));
    for (const QString &name : source.entryList(QDir::Files))
        QVERIFY(QFile::copy(source.filePath(name), QDir(data).filePath(name)));
    QFile project(QDir(data).filePath(QStringLiteral("cafe.mpk")));
    QVERIFY(project.open(QIODevice::ReadWrite));
    QByteArray projectBytes = project.readAll();
    for (qsizetype change = 0; change + 1 < changes.size(); change += 2)
        projectBytes.replace(changes[change], changes[change + 1]);
    QVERIFY(project.resize(0) && project.write(projectBytes) == projectBytes.size());
    project.close();
    // A project of a long name is the same project.
    const QString named = arguments.value(1);
    if (named != QLatin1String("cafe.mpk") && named != QLatin1String("gone.mpk") && !named.endsWith(".bak"))
        QVERIFY(QFile::copy(project.fileName(), QDir(data).filePath(named)));
    make(data, inData, outside);
    make(out, inOut, outside);
    const auto before = std::tuple(folderHolds(data), folderHolds(out), folderHolds(scratch.path()));
    arguments.replaceInStrings(QStringLiteral("OUT"), out);
    arguments.replaceInStrings(QStringLiteral("DATA"), data);

    const Ran ran = runWithoutDisplay(arguments << "--handset" << "D502i", data, largestFile);
    QVERIFY2(ran.exitCode == exitCode, ran.err.constData());
    QVERIFY2(QString::fromUtf8(ran.err).contains(said), ran.err.constData());
    // What is in the way is said before any picture is said to be made; a disk fills only then.
    if (exitCode == 2 && !said.contains(QStringLiteral("ディスク")))
        QVERIFY2(!ran.out.contains("→"), ran.out.constData());
    QCOMPARE(folderHolds(data), std::get<0>(before));
    QCOMPARE(folderHolds(scratch.path()), std::get<2>(before));
    const QMap<QString, QByteArray> written = folderHolds(out);
    if (exitCode != 0) {
        QCOMPARE(written, std::get<1>(before));
        return;
    }
    // What was there and is no part of the page stays; the page is the page, and the body its copy
    // names is another file beside it.
    for (auto kept = std::get<1>(before).begin(); kept != std::get<1>(before).end(); ++kept)
        if (!kept.key().endsWith(QLatin1String(".html")))
            QCOMPARE(written.value(kept.key()), kept.value());
    const auto page = std::find_if(written.begin(), written.end(), [](const QByteArray &what) {
        return what.contains("<HTML>") || what.contains("<html>");
    });
    QVERIFY(page != written.end());
    QVERIFY(QFile::encodeName(page.key()).size() <= 255);
    const QString copy = QFileInfo(page.key()).completeBaseName() + QStringLiteral(".mpk");
    QVERIFY(written.contains(copy));
    const QByteArray body = written.value(copy).mid(5).split('\n').value(9).trimmed();
    QVERIFY2(body != QFile::encodeName(page.key()) && written.contains(QString::fromLatin1(body)), body.constData());
}

// A QR code written with no display, read back by a real reader: the text given, or its
// bookmark form, in Shift-JIS; one that does not fit writes nothing.
void ExportCommandTest::qrCode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("name"); // of the picture; its ending says the format
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QString>("said");
    QTest::newRow("an address") << QStringList{"--qr", "http://example.jp/~taro/"} << "code.png" << 0
                                << QByteArray("http://example.jp/~taro/") << QString();
    // カフェ in Shift-JIS; the pictogram is no part of a bookmark's title.
    QTest::newRow("a bookmark, as a GIF")
        << QStringList{"--qr", "http://example.jp/~taro/", "--title", "カフェ&#63647;"} << "code.GIF" << 0
        << QByteArray("MEBKM:TITLE:\x83\x4A\x83\x74\x83\x46;URL:http\\://example.jp/~taro/;;") << QString();
    QTest::newRow("a page's name without its server")
        << QStringList{"--qr", "index.html"} << "code.png" << 0 << QByteArray("index.html")
        << "警告: 「index.html」にはサーバーの名前がないので、携帯では開けません（http://サーバー/… の形にしてください）。\n";
    QTest::newRow("a name of another format")
        << QStringList{"--qr", "http://example.jp/"} << "code.jpg" << 2 << QByteArray()
        << "「%1」には書き出せません。画像の名前は「.png」か「.gif」で終わるようにしてください。\n"
           "「mopeco --help」で使い方を表示します。\n";
    QTest::newRow("too long") << QStringList{"--qr", QString(214, QLatin1Char('a'))} << "code.png" << 2
                              << QByteArray()
                              << "エラー: QRコードにするには長すぎます（214 バイト）。携帯が読めるQRコードには"
                                 " 213 バイトまでしか入りません。\n";
    QTest::newRow("a character Shift-JIS lacks")
        << QStringList{"--qr", "http://example.jp/café"} << "code.png" << 2 << QByteArray()
        << "エラー: 「http://example.jp/café」の「é」（U+00E9）はシフトJISにない文字なので、携帯では読めません。\n";
    QTest::newRow("a title with an emoji")
        << QStringList{"--qr", "http://example.jp/", "--title", "カフェ😀"} << "code.png" << 2 << QByteArray()
        << "エラー: 「カフェ😀」の「😀」（U+1F600）はシフトJISにない文字なので、携帯では読めません。\n";
}

void ExportCommandTest::qrCode()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, name);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, read);
    QFETCH(QString, said);
    QTemporaryDir folder;
    const QString picture = folder.filePath(name);
    const Ran ran = runWithoutDisplay(arguments << "-o" << picture, folder.path());
    QCOMPARE(ran.exitCode, exitCode);
    QCOMPARE(QString::fromUtf8(ran.err), said.contains(QLatin1String("%1")) ? said.arg(picture) : said);
    QCOMPARE(QFileInfo::exists(picture), exitCode == 0);
    if (exitCode != 0)
        return;
    QFile file(picture);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(4), name.endsWith(QLatin1String("GIF")) ? QByteArray("GIF8") : QByteArray("\x89PNG"));
    if (!qrReaderInstalled())
        QSKIP("zbarimg is not installed");
    QCOMPARE(readQrCode(picture), std::optional<QByteArray>(read));
}

QTEST_GUILESS_MAIN(ExportCommandTest)
#include "tst_export_command.moc"
