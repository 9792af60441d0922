// "--publish" of a project to a real FTP server on 127.0.0.1, as a user runs it without a
// display: a dry run sends nothing; the first publish sends the page and its pictures whole;
// the next sends only what changed; a wrong password leaves the earlier page on the server.

#include "support/command_run.h"
#include "support/local_servers.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The export's sample project with its pictures, copied where the test may change it.
bool copyProject(const QString &into)
{
    const QDir from(qEnvironmentVariable("EXPORT_DATA"));
    for (const QString &name : from.entryList(QDir::Files))
        if (!QFile::copy(from.filePath(name), QDir(into).filePath(name)))
            return false;
    return true;
}

} // namespace

class PublishCommandTest : public QObject {
    Q_OBJECT

private slots:
    void publishesWhatChanged();
    void killedWhilePublishing();
};

void PublishCommandTest::publishesWhatChanged()
{
    QTemporaryDir project;
    QTemporaryDir root;
    QVERIFY(copyProject(project.path()));
    LocalFtpServer server(root.path());
    QVERIFY2(server.started(), qPrintable(server.problem));
    const QString to = QStringLiteral("ftp://%1@127.0.0.1:%2/www/").arg(QString::fromLatin1(LocalFtpServer::user)).arg(server.port);
    const QStringList publish{QStringLiteral("--publish"), QStringLiteral("cafe.mpk"), QStringLiteral("--to"), to};
    qunsetenv("MOPECO_PASSWORD");

    const Ran dry = runWithoutDisplay(publish + QStringList{QStringLiteral("--dry-run")}, project.path());
    QCOMPARE(dry.exitCode, 0);
    QVERIFY2(dry.out.contains("送る: cafe.html"), dry.out.constData());
    QVERIFY(QDir(root.path()).isEmpty());

    const Ran noPassword = runWithoutDisplay(publish, project.path());
    QCOMPARE(noPassword.exitCode, 2);
    QVERIFY(QDir(root.path()).isEmpty());

    qputenv("MOPECO_PASSWORD", LocalFtpServer::password);
    const Ran first = runWithoutDisplay(publish, project.path());
    QVERIFY2(first.exitCode == 0, first.err.constData());
    for (const char *picture : {"photo.jpg", "logo.png"})
        QCOMPARE(readBytes(root.filePath(QStringLiteral("www/") + QLatin1String(picture))),
                 readBytes(project.filePath(QLatin1String(picture))));
    const QByteArray page = readBytes(root.filePath(QStringLiteral("www/cafe.html")));
    QVERIFY(page.contains("photo.jpg"));

    const Ran unchanged = runWithoutDisplay(publish, project.path());
    QCOMPARE(unchanged.exitCode, 0);
    QVERIFY2(!unchanged.out.contains("送りました"), unchanged.out.constData());

    // A picture changed: it alone goes.
    writeBytes(project.filePath(QStringLiteral("logo.png")), readBytes(project.filePath(QStringLiteral("logo.png"))) + "x");
    const Ran changed = runWithoutDisplay(publish, project.path());
    QCOMPARE(changed.exitCode, 0);
    QVERIFY2(changed.out.contains("送りました: logo.png") && !changed.out.contains("送りました: cafe.html"),
             changed.out.constData());

    writeBytes(project.filePath(QStringLiteral("logo.png")), "changed again");
    qputenv("MOPECO_PASSWORD", "wrong");
    const Ran refused = runWithoutDisplay(publish, project.path());
    qunsetenv("MOPECO_PASSWORD");
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains("パスワード"), refused.err.constData());
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/cafe.html"))), page);
}

// The program killed while a new picture goes up: the server keeps the earlier picture whole,
// and the page that names it; the next publish sends the new one.
void PublishCommandTest::killedWhilePublishing()
{
    QTemporaryDir project;
    QTemporaryDir root;
    QVERIFY(copyProject(project.path()));
    LocalFtpServer server(root.path(), LocalFtpServer::Resume::Allowed, LocalFtpServer::Speed::Slow);
    QVERIFY2(server.started(), qPrintable(server.problem));
    const QString to = QStringLiteral("ftp://%1@127.0.0.1:%2/www/").arg(QString::fromLatin1(LocalFtpServer::user)).arg(server.port);
    const QStringList publish{QStringLiteral("--publish"), QStringLiteral("cafe.mpk"), QStringLiteral("--to"), to};
    qputenv("MOPECO_PASSWORD", LocalFtpServer::password);
    QCOMPARE(runWithoutDisplay(publish, project.path()).exitCode, 0);
    const QByteArray earlierPhoto = readBytes(root.filePath(QStringLiteral("www/photo.jpg")));
    const QByteArray page = readBytes(root.filePath(QStringLiteral("www/cafe.html")));

    const QByteArray newPhoto(600'000, 'p'); // six seconds at the server's pace
    writeBytes(project.filePath(QStringLiteral("photo.jpg")), newPhoto);
    QProcess program;
    program.setWorkingDirectory(project.path());
    program.start(qEnvironmentVariable("MOPECO"), publish);
    QVERIFY(program.waitForStarted());
    // Until the new picture is on its way.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(root.filePath(QStringLiteral("www/photo.jpg.part"))).size() > 0, 20000);
    program.kill();
    program.waitForFinished();
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/photo.jpg"))), earlierPhoto);
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/cafe.html"))), page);

    const Ran next = runWithoutDisplay(publish, project.path());
    qunsetenv("MOPECO_PASSWORD");
    QVERIFY2(next.exitCode == 0, next.err.constData());
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/photo.jpg"))), newPhoto);
}

QTEST_MAIN(PublishCommandTest)
#include "tst_publish_command.moc"
