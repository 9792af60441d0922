// "mopeco --check" on the projects of tests/data/check, run as a user would, with no display.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

class CheckCommandTest : public QObject {
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void preview();
};

void CheckCommandTest::check_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("output"); // the lines written, after "PROJECT: "
    QTest::addColumn<int>("exitCode");
    QTest::newRow("findings of a 501i")
        << QStringList{"--check", "shop.mpk", "--handset", "501i"}
        << QStringList{
               "警告: 直接入力1: 「<MARQUEE>」はHTML 2.0からのタグで、501i（HTML 1.0）では表示されません。",
               "警告: 画像1: 「top.gif」の幅（120ピクセル）が501iの画面の幅（96ピクセル）より広く、はみ出します。",
               "警告: テキスト 2: 「&#169;」は携帯では「ｩ」と表示されます。別の文字に置き換えてください。",
               "警告: リンク2: 「shop」はメールアドレスの形ではありません。",
               "エラー: リンク3: リンク先がありません。URLかメールアドレスを入れてください。",
               "お知らせ: テキスト 3: 中身がありますが、「使用しない」にチェックが入っているのでページに出ません。",
               "大きさ: 0.5 KB / 5 KB（501i、画像を含む）"}
        << 1;
    QTest::newRow("a model of a later series")
        << QStringList{"--check", "shop.mpk", "--handset", "SH505i"}
        << QStringList{
               "警告: テキスト 2: 「&#169;」は携帯では「ｩ」と表示されます。別の文字に置き換えてください。",
               "警告: リンク2: 「shop」はメールアドレスの形ではありません。",
               "エラー: リンク3: リンク先がありません。URLかメールアドレスを入れてください。",
               "お知らせ: テキスト 3: 中身がありますが、「使用しない」にチェックが入っているのでページに出ません。",
               "大きさ: 0.5 KB / 20 KB（SH505i、画像を含む）"}
        << 1;
    QTest::newRow("nothing wrong")
        << QStringList{"--check", "clean.mpk", "--handset", "505i"}
        << QStringList{"大きさ: 0.3 KB / 20 KB（505i、画像を含む）"} << 0;
    QTest::newRow("pictures looked for elsewhere")
        << QStringList{"--check", "clean.mpk", "--handset", "505i", "--html-folder", "/nonexistent"}
        << QStringList{"エラー: 画像1: 画像ファイル「top.gif」が見つかりません。HTMLと同じフォルダに置いてください。",
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
    QFETCH(QStringList, output);
    QFETCH(int, exitCode);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(qEnvironmentVariable("CHECK_DATA"));
    program.start(qEnvironmentVariable("MOPECO"), arguments);
    QVERIFY(program.waitForFinished(60000));
    const QString project = arguments.value(1) + QStringLiteral(": ");
    QStringList written;
    const QString all = QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError());
    for (const QString &line : all.split('\n', Qt::SkipEmptyParts))
        written << (line.startsWith(project) ? line.mid(project.size()) : line);
    QCOMPARE(written, output);
    QCOMPARE(program.exitCode(), exitCode);
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

QTEST_GUILESS_MAIN(CheckCommandTest)
#include "tst_check_command.moc"
