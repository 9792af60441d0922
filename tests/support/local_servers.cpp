#include "support/local_servers.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <csignal>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// What a command prints; empty, with `problem` set, when it fails.
QByteArray outputOf(const QString &program, const QStringList &arguments, QString &problem)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        problem = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QStringLiteral(" failed: ") +
                  QString::fromUtf8(process.readAllStandardError()) + process.errorString();
        return {};
    }
    return process.readAllStandardOutput();
}

// A port on 127.0.0.1 nothing listens on just now.
int freePort()
{
    const int handle = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (bind(handle, reinterpret_cast<sockaddr *>(&address), size) == 0 &&
        getsockname(handle, reinterpret_cast<sockaddr *>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    close(handle);
    return port;
}

// A server also goes when the test process is killed or crashes, and no destructor runs.
void endWithTest(QProcess &process)
{
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

} // namespace

LocalFtpServer::LocalFtpServer(const QString &root, Resume resume, Speed speed)
    : LocalFtpServer(root, Options{resume, speed})
{
}

LocalFtpServer::LocalFtpServer(const QString &root, const Options &options)
{
    QStringList arguments{QStringLiteral(TEST_SUPPORT_FOLDER "/ftp_server.py"), root, QString::fromLatin1(user),
                          QString::fromLatin1(password)};
    if (options.resume == Resume::Refused)
        arguments << QStringLiteral("refuse-resume");
    if (options.speed == Speed::Slow)
        arguments << QStringLiteral("slow");
    if (options.port > 0)
        arguments << QStringLiteral("port") << QString::number(options.port);
    if (options.quota >= 0)
        arguments << QStringLiteral("quota") << QString::number(options.quota);
    if (options.tls) {
        const QDir folder(options.certificateFolder.isEmpty() ? ownCertificateFolder.path() : options.certificateFolder);
        const QString certificate = folder.filePath(QStringLiteral("cert.pem"));
        const QString key = folder.filePath(QStringLiteral("key.pem"));
        folder.mkpath(QStringLiteral("."));
        if (!(QFile::exists(certificate) && QFile::exists(key)))
            outputOf(QStringLiteral("openssl"),
                     QStringLiteral("req -x509 -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -days 2").split(u' ') +
                         QStringList{QStringLiteral("-keyout"), key, QStringLiteral("-out"), certificate},
                     problem);
        // The PEM public key is the DER SubjectPublicKeyInfo in base64, worked out by openssl
        // rather than by the code under test.
        const QByteArray publicKey =
            problem.isEmpty() ? outputOf(QStringLiteral("openssl"),
                                         {QStringLiteral("x509"), QStringLiteral("-pubkey"), QStringLiteral("-noout"),
                                          QStringLiteral("-in"), certificate},
                                         problem)
                              : QByteArray();
        if (!problem.isEmpty())
            return;
        QByteArray body;
        for (const QByteArray &line : publicKey.split('\n'))
            if (!line.startsWith("-----"))
                body += line.trimmed();
        publicKeyPin = QString::fromLatin1(
            QCryptographicHash::hash(QByteArray::fromBase64(body), QCryptographicHash::Sha256).toBase64());
        arguments << QStringLiteral("tls") << certificate << key;
    }
    // Debian's own interpreter, whose modules the package installed.
    endWithTest(process);
    process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process.waitForStarted()) {
        problem = QStringLiteral("python3-pyftpdlib could not be started");
        return;
    }
    static const QRegularExpression listening(QStringLiteral("listening on (\\d+)"));
    QByteArray said;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && process.state() == QProcess::Running) {
        process.waitForReadyRead(100);
        said += process.readAllStandardOutput() + process.readAllStandardError();
        if (const QRegularExpressionMatch match = listening.match(QString::fromUtf8(said)); match.hasMatch()) {
            port = match.captured(1).toInt();
            return;
        }
    }
    problem = QStringLiteral("the FTP server did not start: ") + QString::fromUtf8(said);
}

LocalFtpServer::~LocalFtpServer()
{
    process.kill();
    process.waitForFinished();
}

LocalSftpServer::LocalSftpServer(const QString &root, const QString &keyFolder, int fixedPort)
{
    // Without PAM, sshd can only become the user it runs as when that is root.
    if (geteuid() != 0) {
        problem = QStringLiteral("the SFTP server (sshd) needs the tests to run as root");
        return;
    }
    if (const passwd *account = getpwuid(geteuid()))
        user = QString::fromLocal8Bit(account->pw_name);
    remoteFolder = QDir(root).absolutePath().mid(1);
    const QDir folder(keyFolder.isEmpty() ? ownKeyFolder.path() : keyFolder);
    const QString hostKey = folder.filePath(QStringLiteral("host_key"));
    const QString authorizedKeys = folder.filePath(QStringLiteral("authorized_keys"));
    const QString config = folder.filePath(QStringLiteral("sshd_config"));
    const QString log = folder.filePath(QStringLiteral("sshd.log"));
    clientKey = folder.filePath(QStringLiteral("client_key"));
    // sshd's folder for its unprivileged half, which it does not make itself.
    if (!folder.mkpath(QStringLiteral(".")) || !QDir().mkpath(QStringLiteral("/run/sshd"))) {
        problem = QStringLiteral("could not make /run/sshd or ") + folder.path();
        return;
    }
    for (const QString &key : {hostKey, clientKey})
        if (problem.isEmpty() && !QFile::exists(key))
            outputOf(QStringLiteral("ssh-keygen"),
                     QStringLiteral("-q -t ed25519 -f").split(u' ') + QStringList{key, QStringLiteral("-N"), QString()},
                     problem);
    const QByteArray listed =
        problem.isEmpty() ? outputOf(QStringLiteral("ssh-keygen"),
                                     {QStringLiteral("-l"), QStringLiteral("-E"), QStringLiteral("sha256"),
                                      QStringLiteral("-f"), hostKey + QStringLiteral(".pub")},
                                     problem)
                          : QByteArray();
    if (!problem.isEmpty())
        return;
    static const QRegularExpression fingerprint(QStringLiteral("SHA256:(\\S+)"));
    hostKeyFingerprint = fingerprint.match(QString::fromLatin1(listed)).captured(1);
    if (!QFile::exists(authorizedKeys) && !QFile::copy(clientKey + QStringLiteral(".pub"), authorizedKeys)) {
        problem = QStringLiteral("could not write ") + authorizedKeys;
        return;
    }
    // SFTP alone, with the paths of this machine; the port is given on the command line.
    QFile configFile(config);
    if (!configFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        problem = QStringLiteral("could not write ") + config;
        return;
    }
    configFile.write(QStringLiteral("ListenAddress 127.0.0.1\n"
                                    "HostKey %1\n"
                                    "AuthorizedKeysFile %2\n"
                                    "PasswordAuthentication no\n"
                                    "KbdInteractiveAuthentication no\n"
                                    "PubkeyAuthentication yes\n"
                                    "PermitRootLogin prohibit-password\n"
                                    "StrictModes no\n"
                                    "UsePAM no\n"
                                    "PidFile none\n"
                                    "Subsystem sftp internal-sftp\n"
                                    "ForceCommand internal-sftp\n")
                         .arg(quoted(hostKey), quoted(authorizedKeys))
                         .toUtf8());
    configFile.close();

    // Its log goes to a file: a pipe nobody reads while a test sends would fill and stop it.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(log);
    endWithTest(process);
    // A free port may be taken before sshd binds it; then another is tried.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int trying = fixedPort > 0 ? fixedPort : freePort();
        // sshd re-executes itself, which needs its absolute path.
        process.start(QStringLiteral("/usr/sbin/sshd"), {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"),
                                                        config, QStringLiteral("-p"), QString::number(trying)});
        if (!process.waitForStarted()) {
            problem = QStringLiteral("sshd could not be started: ") + process.errorString();
            return;
        }
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && !process.waitForFinished(50))
            if (contentOf(log).contains("Server listening on")) {
                port = trying;
                return;
            }
        process.kill();
        process.waitForFinished();
        problem = QStringLiteral("the SFTP server did not start: ") + QString::fromUtf8(contentOf(log));
        if (fixedPort > 0)
            return;
    }
}

LocalSftpServer::~LocalSftpServer()
{
    process.kill();
    process.waitForFinished();
}
