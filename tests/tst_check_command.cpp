// "mopeco --check" on the projects of tests/data/check, run as a user would, with no display.

#include "support/qr_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

class CheckCommandTest : public QObject {
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void preview();
    void previewNotWritten_data();
    void previewNotWritten();
    void settingsFileThatIsAPipe();
    void valueAfterEquals_data();
    void valueAfterEquals();
    void mistakenCommandLine_data();
    void mistakenCommandLine();
    void help_data();
    void help();
    void exportPage_data();
    void exportPage();
    void exportKeepsWhatItDidNotMake_data();
    void exportKeepsWhatItDidNotMake();
    void qrCode_data();
    void qrCode();
};

namespace {

struct Ran {
    QByteArray out;
    QByteArray err;
    int exitCode = -1; // also when it crashed or did not end
};

// The program run on the test projects as a user would, on a machine with no display at all,
// from the projects' folder unless another is named.
Ran runWithoutDisplay(const QStringList &arguments,
                      const QString &folder = qEnvironmentVariable("CHECK_DATA"),
                      qint64 largestFile = 0)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    // A disk that fills up: no file grows past the limit.
    if (largestFile > 0)
        program.setChildProcessModifier([largestFile] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(largestFile), rlim_t(largestFile)};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    program.start(qEnvironmentVariable("MOPECO"), arguments);
    Ran ran;
    if (program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit)
        ran.exitCode = program.exitCode();
    ran.out = program.readAllStandardOutput();
    ran.err = program.readAllStandardError();
    return ran;
}

} // namespace

void CheckCommandTest::check_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("output"); // the lines written, after "PROJECT: "
    QTest::addColumn<int>("exitCode");
    QTest::newRow("findings of a 501i")
        << QStringList{"--check", "shop.mpk", "--handset", "501i"}
        << QStringList{
               "エラー: リンク3: リンク先がありません。URLかメールアドレスを入れてください。",
               "警告: 直接入力1: 「<MARQUEE>」はHTML 2.0からのタグで、501i（HTML 1.0）では表示されません。",
               "警告: 画像1: 「top.gif」の幅（120ピクセル）が501iの画面の幅（96ピクセル）より広く、右側が切れます。表示されない機種もあります。",
               "警告: テキスト 2: 「&#169;」は携帯では「ｩ」と表示されます。別の文字に置き換えてください。",
               "警告: リンク2: 「shop」はメールアドレスの形ではありません。",
               "お知らせ: 本文: 本文のファイルはシフトJISとして読みました。",
               "お知らせ: テキスト 3: 中身がありますが、「使用しない」にチェックが入っているのでページに出ません。",
               "大きさ: 0.5 KB / 5 KB（501i、画像を含む）"}
        << 1;
    QTest::newRow("a model of a later series")
        << QStringList{"--check", "shop.mpk", "--handset", "SH505i"}
        << QStringList{
               "エラー: リンク3: リンク先がありません。URLかメールアドレスを入れてください。",
               "警告: テキスト 2: 「&#169;」は携帯では「ｩ」と表示されます。別の文字に置き換えてください。",
               "警告: リンク2: 「shop」はメールアドレスの形ではありません。",
               "お知らせ: 本文: 本文のファイルはシフトJISとして読みました。",
               "お知らせ: テキスト 3: 中身がありますが、「使用しない」にチェックが入っているのでページに出ません。",
               "大きさ: 0.5 KB / 20 KB（SH505i、画像を含む）"}
        << 1;
    QTest::newRow("nothing wrong")
        << QStringList{"--check", "clean.mpk", "--handset", "505i"}
        << QStringList{"お知らせ: 本文: 本文のファイルはシフトJISとして読みました。",
                       "大きさ: 0.3 KB / 20 KB（505i、画像を含む）"}
        << 0;
    // The body's relative path and the pictures are read against the project's folder.
    QTest::newRow("from another folder")
        << QStringList{"--check", "DATA/clean.mpk", "--handset", "505i"}
        << QStringList{"お知らせ: 本文: 本文のファイルはシフトJISとして読みました。",
                       "大きさ: 0.3 KB / 20 KB（505i、画像を含む）"}
        << 0;
    QTest::newRow("a project file cut short")
        << QStringList{"--check", "short.mpk", "--handset", "505i"}
        << QStringList{"警告: プロジェクトファイルが途中で終わっています（10行目まで）。足りない"
                       "項目は空にしました。",
                       "お知らせ: 本文: 本文のファイルが選んでありますが、「使用しない」にチェックが入って"
                       "いるのでページに出ません。",
                       "大きさ: 0.1 KB / 20 KB（505i、画像を含む）"}
        << 0;
    QTest::newRow("pictures looked for elsewhere")
        << QStringList{"--check", "clean.mpk", "--handset", "505i", "--html-folder", "/nonexistent"}
        << QStringList{"エラー: 画像1: 画像ファイル「top.gif」が見つかりません。HTMLと同じフォルダに置いてください。",
                       "お知らせ: 本文: 本文のファイルはシフトJISとして読みました。",
                       "大きさ: 0.3 KB / 20 KB（505i、画像を含む）"}
        << 1;
    QTest::newRow("a bad number") << QStringList{"--check", "broken.mpk"}
                                  << QStringList{"エラー: 入力値が数値ではありません（broken.mpk の 4 行目）"}
                                  << 2;
    QTest::newRow("no such project") << QStringList{"--check", "gone.mpk"}
                                     << QStringList{"エラー: ファイルが見つかりません"} << 2;
    QTest::newRow("no such handset") << QStringList{"--check", "shop.mpk", "--handset", "X1"}
                                     << QStringList{"機種「X1」は知りません"} << 2;
}

void CheckCommandTest::check()
{
    QFETCH(QStringList, arguments);
    // "DATA/" names the folder of the projects from elsewhere: the root folder.
    const QString data = qEnvironmentVariable("CHECK_DATA");
    const bool fromElsewhere = arguments.join(' ').contains(QStringLiteral("DATA/"));
    arguments.replaceInStrings(QStringLiteral("DATA/"), data + QLatin1Char('/'));
    QFETCH(QStringList, output);
    QFETCH(int, exitCode);
    const Ran ran = runWithoutDisplay(arguments, fromElsewhere ? QDir::rootPath() : data);
    const QString project = arguments.value(1) + QStringLiteral(": ");
    QStringList written;
    for (const QString &line : QString::fromUtf8(ran.out + ran.err).split('\n', Qt::SkipEmptyParts))
        written << (line.startsWith(project) ? line.mid(project.size()) : line);
    QCOMPARE(written, output);
    QCOMPARE(ran.exitCode, exitCode);
}

// The whole page, drawn in the phone's frame at the handset's width, with no display.
void CheckCommandTest::preview()
{
    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(qEnvironmentVariable("CHECK_DATA"));
    const QString picture = folder.filePath(QStringLiteral("page.png"));
    program.start(qEnvironmentVariable("MOPECO"),
                  {"--preview", "shop.mpk", "--handset", "505i", "-o", picture});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    const QImage drawn(picture);
    QCOMPARE(drawn.width(), 240 + 2 * 18);
    QVERIFY(drawn.height() > 300);
}

// A picture that cannot be written is an error, and leaves what stood at the place as it was.
void CheckCommandTest::previewNotWritten_data()
{
    QTest::addColumn<QString>("target"); // "NEW/" stands for a new, empty folder
    QTest::addColumn<QString>("reason");
    QTest::newRow("a full device") << "/dev/full" << "ディスクがいっぱいです";
    QTest::newRow("a pipe nobody reads") << "NEW/pipe" << "読む側のいない名前付きパイプ（FIFO）です";
    QTest::newRow("a folder") << "NEW/" << "";
    QTest::newRow("a folder that is not there") << "NEW/none/page.png" << "";
}

void CheckCommandTest::previewNotWritten()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    target.replace(QStringLiteral("NEW/"), folder.path() + QLatin1Char('/'));
    if (target.endsWith(QStringLiteral("/pipe")))
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    struct stat before {};
    const bool existed = ::stat(QFile::encodeName(target).constData(), &before) == 0;
    QProcess program;
    program.setWorkingDirectory(qEnvironmentVariable("CHECK_DATA"));
    program.start(qEnvironmentVariable("MOPECO"),
                  {"--preview", "shop.mpk", "--handset", "505i", "-o", target});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 2);
    const QString said = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(said.contains(QStringLiteral("に書き込めません")) && said.contains(reason), qPrintable(said));
    struct stat after {};
    QCOMPARE(::stat(QFile::encodeName(target).constData(), &after) == 0, existed);
    if (existed)
        QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
}

// A pipe in the place of the program's settings file neither holds the check nor stops it:
// the default handset stands in, with a notice.
void CheckCommandTest::settingsFileThatIsAPipe()
{
    // The program finds its files beside itself: a copy of it, beside the files it reads.
    QTemporaryDir folder;
    const QFileInfo real(qEnvironmentVariable("MOPECO"));
    const QString settings = folder.filePath(QStringLiteral("mopeco.ini"));
    for (const QFileInfo &entry :
         QDir(real.absolutePath()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString beside = folder.filePath(entry.fileName());
        if (entry.fileName() == real.fileName())
            QVERIFY(QFile::copy(entry.filePath(), beside));
        else if (beside != settings)
            QVERIFY(QFile::link(entry.filePath(), beside));
    }
    QCOMPARE(mkfifo(QFile::encodeName(settings).constData(), 0600), 0);
    QProcess program;
    program.setWorkingDirectory(qEnvironmentVariable("CHECK_DATA"));
    program.start(folder.filePath(real.fileName()), {"--check", "clean.mpk"});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()),
             QStringLiteral("お知らせ: 設定ファイルを読み込めません。前回選んだ機種などは使わず、最初の"
                            "設定で続けます。 ファイルへのアクセスが拒否されました（%1）\n")
                 .arg(settings));
    const QStringList written =
        QString::fromUtf8(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(written.value(written.size() - 1),
             QStringLiteral("clean.mpk: 大きさ: 0.3 KB / 10 KB（503i、画像を含む）"));
    QCOMPARE(program.exitCode(), 0);
}

// "--check=FILE", "-o=FILE" and "--output=FILE" do what "--check FILE" and "-o FILE" do.
void CheckCommandTest::valueAfterEquals_data()
{
    QTest::addColumn<QStringList>("spaced"); // "OUT" stands for a new picture's path
    QTest::addColumn<QStringList>("joined");
    QTest::newRow("check") << QStringList{"--check", "shop.mpk", "--handset", "501i"}
                           << QStringList{"--check=shop.mpk", "--handset=501i"};
    QTest::newRow("preview, -o")
        << QStringList{"--preview", "shop.mpk", "--handset", "505i", "-o", "OUT"}
        << QStringList{"--preview=shop.mpk", "--handset=505i", "-o=OUT"};
    QTest::newRow("preview, --output") << QStringList{"--preview", "shop.mpk", "-o", "OUT"}
                                       << QStringList{"--preview=shop.mpk", "--output=OUT"};
}

void CheckCommandTest::valueAfterEquals()
{
    QFETCH(QStringList, spaced);
    QFETCH(QStringList, joined);
    QTemporaryDir folder;
    const QString spacedPicture = folder.filePath(QStringLiteral("spaced.png"));
    const QString joinedPicture = folder.filePath(QStringLiteral("joined.png"));
    spaced.replaceInStrings(QStringLiteral("OUT"), spacedPicture);
    joined.replaceInStrings(QStringLiteral("OUT"), joinedPicture);
    const Ran bySpace = runWithoutDisplay(spaced);
    const Ran byEquals = runWithoutDisplay(joined);
    QVERIFY2(bySpace.exitCode == 0 || bySpace.exitCode == 1, bySpace.err.constData());
    QCOMPARE(byEquals.exitCode, bySpace.exitCode);
    QCOMPARE(byEquals.out, bySpace.out);
    QCOMPARE(byEquals.err, bySpace.err);
    QFile spacedFile(spacedPicture);
    QFile joinedFile(joinedPicture);
    QCOMPARE(joinedFile.exists(), spacedFile.exists());
    if (spacedFile.open(QIODevice::ReadOnly)) {
        QVERIFY(joinedFile.open(QIODevice::ReadOnly));
        QCOMPARE(joinedFile.readAll(), spacedFile.readAll());
    }
}

// A command line the program does not understand is said on stderr and ends with 2, without
// trying to open the window, which without a display would abort.
void CheckCommandTest::mistakenCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("said");
    QTest::newRow("unknown option") << QStringList{"--chek", "shop.mpk"}
                                    << "「--chek」は知らないオプションです。";
    QTest::newRow("stray argument") << QStringList{"--check", "shop.mpk", "stray"}
                                    << "余分な引数「stray」があります。";
    QTest::newRow("two projects") << QStringList{"shop.mpk", "clean.mpk"} << "余分な引数「clean.mpk」があります。";
    QTest::newRow("no value") << QStringList{"--check"} << "「--check」のあとに値";
    QTest::newRow("empty value") << QStringList{"--check="} << "「--check」のあとに値";
    QTest::newRow("nothing to do") << QStringList{"--handset", "505i"}
                                   << "「--check」「--preview」「--export」「--qr」のどれかで";
    QTest::newRow("preview without a picture") << QStringList{"--preview", "shop.mpk"} << "「-o」";
    QTest::newRow("export without a folder") << QStringList{"--export", "shop.mpk"} << "「-o」";
    QTest::newRow("two at once") << QStringList{"--check", "shop.mpk", "--export", "shop.mpk", "-o", "x"}
                                 << "「--check」と「--export」は一緒に使えません。";
    QTest::newRow("a code and a page at once")
        << QStringList{"--export", "shop.mpk", "--qr", "http://example.jp/", "-o", "x"}
        << "「--export」と「--qr」は一緒に使えません。";
    QTest::newRow("a code without a picture") << QStringList{"--qr", "http://example.jp/"} << "「-o」";
    QTest::newRow("an option twice")
        << QStringList{"--check", "shop.mpk", "--handset", "505i", "--handset", "501i"}
        << "「--handset」が二度あります。";
    QTest::newRow("an option twice by its two names")
        << QStringList{"--preview", "shop.mpk", "-o", "a.png", "--output", "b.png"} << "「--output」が二度あります。";
    QTest::newRow("a handset for a code")
        << QStringList{"--qr", "http://example.jp/", "--handset", "505i", "-o", "x.png"}
        << "「--handset」は「--qr」とは一緒に使えません。";
    QTest::newRow("a picture for a check")
        << QStringList{"--check", "shop.mpk", "-o", "x.png"} << "「-o」は「--check」とは一緒に使えません。";
    QTest::newRow("replacing for a preview")
        << QStringList{"--preview", "shop.mpk", "-o", "x.png", "--replace"}
        << "「--replace」は「--preview」とは一緒に使えません。";
    QTest::newRow("a title for a page")
        << QStringList{"--export", "shop.mpk", "-o", "out", "--title", "x"} << "「--title」は「--export」とは一緒に使えません。";
}

void CheckCommandTest::mistakenCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    const Ran ran = runWithoutDisplay(arguments);
    QCOMPARE(ran.exitCode, 2);
    QVERIFY2(QString::fromUtf8(ran.err).contains(said), ran.err.constData());
    QCOMPARE(ran.out, QByteArray());
}

// The help is Japanese throughout, with none of the toolkit's English headings.
void CheckCommandTest::help_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("--help") << "--help";
    QTest::newRow("-h") << "-h";
    QTest::newRow("--help-all") << "--help-all";
}

void CheckCommandTest::help()
{
    QFETCH(QString, option);
    const Ran ran = runWithoutDisplay({option});
    QCOMPARE(ran.exitCode, 0);
    const QString help = QString::fromUtf8(ran.out);
    QVERIFY2(help.contains(QStringLiteral("--preview <プロジェクト.mpk>")), qPrintable(help));
    for (const char *english :
         {"Usage", "Options", "Arguments", "Displays", "commandline", "information", "specific"})
        QVERIFY2(!help.contains(QLatin1String(english), Qt::CaseInsensitive), english);
}


// A page of a photo and a logo, made for a phone: the page and its pictures within the
// phone's limit, in formats it shows, and the copy of the project beside them checks clean.
void CheckCommandTest::exportPage_data()
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

void CheckCommandTest::exportPage()
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

// The export writes all of the page or nothing, never outside the folder it was given, and
// never over a file it did not make in this run, unless told to replace regular files.
void CheckCommandTest::exportKeepsWhatItDidNotMake_data()
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

void CheckCommandTest::exportKeepsWhatItDidNotMake()
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
void CheckCommandTest::qrCode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QString>("said");
    QTest::newRow("an address") << QStringList{"--qr", "http://example.jp/~taro/"} << 0
                                << QByteArray("http://example.jp/~taro/") << QString();
    // カフェ in Shift-JIS; the pictogram is no part of a bookmark's title.
    QTest::newRow("a bookmark")
        << QStringList{"--qr", "http://example.jp/~taro/", "--title", "カフェ&#63647;"} << 0
        << QByteArray("MEBKM:TITLE:\x83\x4A\x83\x74\x83\x46;URL:http\\://example.jp/~taro/;;") << QString();
    QTest::newRow("too long") << QStringList{"--qr", QString(214, QLatin1Char('a'))} << 2 << QByteArray()
                              << "エラー: QRコードにするには長すぎます（214 バイト）。携帯が読めるQRコードには"
                                 " 213 バイトまでしか入りません。\n";
    QTest::newRow("a character Shift-JIS lacks")
        << QStringList{"--qr", "http://example.jp/café"} << 2 << QByteArray()
        << "エラー: 「http://example.jp/café」の「é」（U+00E9）はシフトJISにない文字なので、携帯では読めません。\n";
    QTest::newRow("a title with an emoji")
        << QStringList{"--qr", "http://example.jp/", "--title", "カフェ😀"} << 2 << QByteArray()
        << "エラー: 「カフェ😀」の「😀」（U+1F600）はシフトJISにない文字なので、携帯では読めません。\n";
}

void CheckCommandTest::qrCode()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, read);
    QFETCH(QString, said);
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("code.png"));
    const Ran ran = runWithoutDisplay(arguments << "-o" << picture, folder.path());
    QCOMPARE(ran.exitCode, exitCode);
    QCOMPARE(QString::fromUtf8(ran.err), said);
    QCOMPARE(QFileInfo::exists(picture), exitCode == 0);
    if (exitCode != 0)
        return;
    if (!qrReaderInstalled())
        QSKIP("zbarimg is not installed");
    QCOMPARE(readQrCode(picture), std::optional<QByteArray>(read));
}

QTEST_GUILESS_MAIN(CheckCommandTest)
#include "tst_check_command.moc"
