// "mopeco --check" on the projects of tests/data/check, run as a user would, with no display.

#include "support/command_run.h"
#include "support/qr_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

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
};


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
                       "お知らせ: 本文: 本文のファイルを選んでいますが、「使用しない」にチェックが入って"
                       "いるので、ページに出ません。",
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
    QTest::newRow("a handset misspelt") << QStringList{"--check", "shop.mpk", "--handset", "SH505"}
                                        << QStringList{"機種「SH505」は知りません。もしかして「SH505i」？"} << 2;
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
    QTest::newRow("misspelt option") << QStringList{"--chek", "shop.mpk"}
                                     << "「--chek」は知らないオプションです。もしかして「--check」？";
    QTest::newRow("unknown option") << QStringList{"--zzzzzz", "shop.mpk"}
                                    << "「--zzzzzz」は知らないオプションです。\n";
    QTest::newRow("stray argument") << QStringList{"--check", "shop.mpk", "stray"}
                                    << "余分な引数「stray」があります。";
    QTest::newRow("two projects") << QStringList{"shop.mpk", "clean.mpk"} << "余分な引数「clean.mpk」があります。";
    QTest::newRow("no value") << QStringList{"--check"} << "「--check」のあとに値";
    QTest::newRow("empty value") << QStringList{"--check="} << "「--check」のあとに値";
    QTest::newRow("nothing to do") << QStringList{"--handset", "505i"}
                                   << "「--check」「--preview」「--export」「--qr」「--publish」のどれかで";
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



QTEST_GUILESS_MAIN(CheckCommandTest)
#include "tst_check_command.moc"
