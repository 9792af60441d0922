// "--publish" of a project to real FTP, FTPS and SFTP servers on 127.0.0.1, as a user runs it
// without a display: a dry run sends nothing; the first publish sends the page and its pictures
// whole; the next sends only what changed; a wrong password, a full disk or a server's key not
// trusted leave the earlier page on the server; a picture renamed goes under its new name and a
// name servers do not take stops the publish before anything is sent.

#include "support/command_run.h"
#include "support/local_servers.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

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

// The program in a folder of its own, so the keys it trusts and the records it keeps are this
// test's alone; the program of the tests is run from there while it lasts.
struct ProgramOfItsOwn {
    ProgramOfItsOwn() : given(qEnvironmentVariable("MOPECO"))
    {
        const QFileInfo program(given);
        for (const QFileInfo &file : program.dir().entryInfoList(QDir::Files))
            if (!file.fileName().startsWith(QStringLiteral("published-")) && file.fileName() != QStringLiteral("mopeco.ini"))
                QFile::copy(file.filePath(), folder.filePath(file.fileName()));
        qputenv("MOPECO", folder.filePath(program.fileName()).toLocal8Bit());
    }
    ~ProgramOfItsOwn() { qputenv("MOPECO", given.toLocal8Bit()); }
    QTemporaryDir folder;
    QString given;
};

QStringList publishTo(const QString &to)
{
    return {QStringLiteral("--publish"), QStringLiteral("cafe.mpk"), QStringLiteral("--to"), to};
}

} // namespace

class PublishCommandTest : public QObject {
    Q_OBJECT

private slots:
    void publishesWhatChanged();
    void killedWhilePublishing();
    void trustsTheServersKey_data();
    void trustsTheServersKey();
    void fullDiskAndNames();
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
    QVERIFY(readBytes(root.filePath(QStringLiteral("www/cafe.html"))).contains("photo.jpg"));

    const Ran unchanged = runWithoutDisplay(publish, project.path());
    QCOMPARE(unchanged.exitCode, 0);
    QVERIFY2(!unchanged.out.contains("送りました"), unchanged.out.constData());

    // A picture changed: it alone goes.
    writeBytes(project.filePath(QStringLiteral("logo.png")), readBytes(project.filePath(QStringLiteral("logo.png"))) + "x");
    const Ran changed = runWithoutDisplay(publish, project.path());
    QCOMPARE(changed.exitCode, 0);
    QVERIFY2(changed.out.contains("送りました: logo.png") && !changed.out.contains("送りました: cafe.html"),
             changed.out.constData());

    // The page's text changed: the page alone goes.
    writeBytes(project.filePath(QStringLiteral("body.txt")), readBytes(project.filePath(QStringLiteral("body.txt"))) + "Open\r\n");
    const Ran pageChanged = runWithoutDisplay(publish, project.path());
    QCOMPARE(pageChanged.exitCode, 0);
    QVERIFY2(pageChanged.out.contains("送りました: cafe.html") && !pageChanged.out.contains("送りました: logo.png")
                 && !pageChanged.out.contains("送りました: photo.jpg"),
             pageChanged.out.constData());
    QVERIFY(readBytes(root.filePath(QStringLiteral("www/cafe.html"))).contains("Open"));
    const QByteArray page = readBytes(root.filePath(QStringLiteral("www/cafe.html")));

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

// A server that proves itself by a key: FTPS by its certificate's, SFTP by its host key. Each
// is started again on the same port with another key, as a server replaced by another.
class KeyedServer {
public:
    virtual ~KeyedServer() = default;
    virtual QString problem() const = 0;
    virtual QString to() const = 0;
    virtual QString fingerprint() const = 0; // as read by the server's own tools
    virtual QStringList login() const = 0;   // the arguments that log in
    virtual void replaceKey() = 0;
};

class TlsServer : public KeyedServer {
public:
    explicit TlsServer(const QString &root) : root(root) { start(first.path(), 0); }
    QString problem() const override { return server->started() ? QString() : server->problem; }
    QString to() const override
    {
        return QStringLiteral("ftps://%1@127.0.0.1:%2/www/").arg(QString::fromLatin1(LocalFtpServer::user)).arg(server->port);
    }
    QString fingerprint() const override
    {
        QString pin = server->publicKeyPin;
        while (pin.endsWith(QLatin1Char('=')))
            pin.chop(1);
        return QStringLiteral("SHA256:") + pin;
    }
    QStringList login() const override
    {
        qputenv("MOPECO_PASSWORD", LocalFtpServer::password);
        return {};
    }
    void replaceKey() override
    {
        const int port = server->port;
        server.reset();
        start(second.path(), port);
    }

private:
    void start(const QString &certificates, int port)
    {
        LocalFtpServer::Options options;
        options.tls = true;
        options.port = port;
        options.certificateFolder = certificates;
        server = std::make_unique<LocalFtpServer>(root, options);
    }
    QString root;
    QTemporaryDir first;
    QTemporaryDir second;
    std::unique_ptr<LocalFtpServer> server;
};

class SshServer : public KeyedServer {
public:
    explicit SshServer(const QString &root) : root(root), server(std::make_unique<LocalSftpServer>(root, first.path())) {}
    QString problem() const override { return server->started() ? QString() : server->problem; }
    QString to() const override
    {
        return QStringLiteral("sftp://%1@127.0.0.1:%2/%3/www/").arg(server->user).arg(server->port).arg(server->remoteFolder);
    }
    QString fingerprint() const override { return QStringLiteral("SHA256:") + server->hostKeyFingerprint; }
    QStringList login() const override
    {
        qunsetenv("MOPECO_PASSWORD");
        return {QStringLiteral("--key"), server->clientKey};
    }
    void replaceKey() override
    {
        const int port = server->port;
        server.reset();
        server = std::make_unique<LocalSftpServer>(root, second.path(), port);
    }

private:
    QString root;
    QTemporaryDir first;
    QTemporaryDir second;
    std::unique_ptr<LocalSftpServer> server;
};

void PublishCommandTest::trustsTheServersKey_data()
{
    QTest::addColumn<bool>("ssh");
    QTest::newRow("FTPS") << false;
    QTest::newRow("SFTP") << true;
}

// A key not yet trusted stops the publish before the login, and says its fingerprint; trusted
// with --trust, it is kept; a key that changed stops every publish after.
void PublishCommandTest::trustsTheServersKey()
{
    QFETCH(bool, ssh);
    ProgramOfItsOwn program;
    QTemporaryDir project;
    QTemporaryDir root;
    QVERIFY(copyProject(project.path()));
    std::unique_ptr<KeyedServer> server;
    if (ssh)
        server = std::make_unique<SshServer>(root.path());
    else
        server = std::make_unique<TlsServer>(root.path());
    if (ssh && !server->problem().isEmpty() && geteuid() != 0)
        QSKIP(qPrintable(server->problem()));
    QVERIFY2(server->problem().isEmpty(), qPrintable(server->problem()));
    const QStringList publish = publishTo(server->to()) + server->login();
    const QDir served(root.filePath(QStringLiteral("www")));

    const Ran unknown = runWithoutDisplay(publish, project.path());
    QCOMPARE(unknown.exitCode, 1);
    QVERIFY2(unknown.err.contains(server->fingerprint().toUtf8()), unknown.err.constData());
    QVERIFY(!served.exists() || served.isEmpty());

    // A fingerprint that is not the server's is no trust in it.
    const QString other = QStringLiteral("SHA256:") + QString(43, QLatin1Char('A'));
    const Ran mistrusted = runWithoutDisplay(publish + QStringList{QStringLiteral("--trust"), other}, project.path());
    QCOMPARE(mistrusted.exitCode, 1);
    QVERIFY2(mistrusted.err.contains("--trust の"), mistrusted.err.constData());
    QVERIFY(!served.exists() || served.isEmpty());

    const Ran trusted = runWithoutDisplay(publish + QStringList{QStringLiteral("--trust"), server->fingerprint()}, project.path());
    QVERIFY2(trusted.exitCode == 0, trusted.err.constData());
    for (const char *picture : {"photo.jpg", "logo.png"})
        QCOMPARE(readBytes(served.filePath(QLatin1String(picture))), readBytes(project.filePath(QLatin1String(picture))));
    const QByteArray page = readBytes(served.filePath(QStringLiteral("cafe.html")));
    QVERIFY(page.contains("logo.png"));
    QCOMPARE(served.entryList(QDir::Files).size(), 3); // no part left

    const Ran again = runWithoutDisplay(publish, project.path());
    QVERIFY2(again.exitCode == 0 && again.out.contains("変わったファイルはありません"), again.err.constData());

    server->replaceKey();
    QVERIFY2(server->problem().isEmpty(), qPrintable(server->problem()));
    writeBytes(project.filePath(QStringLiteral("logo.png")), "a logo drawn again");
    const Ran changed = runWithoutDisplay(publish, project.path());
    QCOMPARE(changed.exitCode, 1);
    QVERIFY2(changed.err.contains("変わっている") && changed.err.contains(server->fingerprint().toUtf8()),
             changed.err.constData());
    QCOMPARE(readBytes(served.filePath(QStringLiteral("logo.png"))), readBytes(QDir(qEnvironmentVariable("EXPORT_DATA")).filePath(QStringLiteral("logo.png"))));
    QCOMPARE(readBytes(served.filePath(QStringLiteral("cafe.html"))), page);
    qunsetenv("MOPECO_PASSWORD");
}

// A server whose disk is full takes nothing and keeps its earlier page; a picture renamed in
// the project goes under its new name; a name servers and phones do not take sends nothing.
void PublishCommandTest::fullDiskAndNames()
{
    ProgramOfItsOwn program;
    QTemporaryDir project;
    QTemporaryDir root;
    QVERIFY(copyProject(project.path()));
    const QStringList publish = publishTo(
        QStringLiteral("ftp://%1@127.0.0.1:%2/www/").arg(QString::fromLatin1(LocalFtpServer::user)));
    qputenv("MOPECO_PASSWORD", LocalFtpServer::password);
    int port = 0;
    QByteArray page;
    {
        LocalFtpServer server(root.path());
        QVERIFY2(server.started(), qPrintable(server.problem));
        port = server.port;
        QStringList first = publish;
        first.last() = first.last().arg(port);
        QCOMPARE(runWithoutDisplay(first, project.path()).exitCode, 0);
        page = readBytes(root.filePath(QStringLiteral("www/cafe.html")));
    }
    LocalFtpServer::Options full;
    full.port = port;
    full.quota = 1;
    auto server = std::make_unique<LocalFtpServer>(root.path(), full);
    QVERIFY2(server->started(), qPrintable(server->problem));
    QStringList to = publish;
    to.last() = to.last().arg(port);
    // The logo is named in the body text.
    const QByteArray body = readBytes(project.filePath(QStringLiteral("body.txt")));
    QVERIFY(body.contains("logo.png"));
    QString logo = QStringLiteral("logo.png");
    const auto renameLogo = [&](const QString &name) {
        QFile::rename(project.filePath(logo), project.filePath(name));
        writeBytes(project.filePath(QStringLiteral("body.txt")), QByteArray(body).replace("logo.png", name.toLatin1()));
        logo = name;
    };
    renameLogo(QStringLiteral("cafe-logo.png"));
    const Ran onFullDisk = runWithoutDisplay(to, project.path());
    QCOMPARE(onFullDisk.exitCode, 1);
    QVERIFY2(onFullDisk.err.contains("cafe-logo.png"), onFullDisk.err.constData());
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/cafe.html"))), page);
    QVERIFY(!QFile::exists(root.filePath(QStringLiteral("www/cafe-logo.png"))));

    server.reset();
    server = std::make_unique<LocalFtpServer>(root.path(), LocalFtpServer::Options{.port = port});
    QVERIFY2(server->started(), qPrintable(server->problem));
    const Ran renamed = runWithoutDisplay(to, project.path());
    QVERIFY2(renamed.exitCode == 0, renamed.err.constData());
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/cafe-logo.png"))), readBytes(project.filePath(QStringLiteral("cafe-logo.png"))));
    QVERIFY(readBytes(root.filePath(QStringLiteral("www/cafe.html"))).contains("cafe-logo.png"));

    const QByteArray renamedPage = readBytes(root.filePath(QStringLiteral("www/cafe.html")));
    renameLogo(QStringLiteral("Cafe_Logo.png"));
    const Ran refused = runWithoutDisplay(to, project.path());
    qunsetenv("MOPECO_PASSWORD");
    QCOMPARE(refused.exitCode, 2);
    QVERIFY2(refused.out.contains("送れない名前: Cafe_Logo.png"), refused.out.constData());
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/cafe.html"))), renamedPage);
}

QTEST_MAIN(PublishCommandTest)
#include "tst_publish_command.moc"
