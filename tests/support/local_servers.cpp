#include "support/local_servers.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

LocalFtpServer::LocalFtpServer(const QString &root)
{
    // Debian's own interpreter, whose modules the package installed.
    process.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral("-m"), QStringLiteral("pyftpdlib"), QStringLiteral("-i"), QStringLiteral("127.0.0.1"),
                   QStringLiteral("-p"), QStringLiteral("0"), QStringLiteral("-w"), QStringLiteral("-d"), root,
                   QStringLiteral("-u"), QString::fromLatin1(user), QStringLiteral("-P"), QString::fromLatin1(password)});
    if (!process.waitForStarted()) {
        problem = QStringLiteral("python3-pyftpdlib could not be started");
        return;
    }
    static const QRegularExpression listening(QStringLiteral("starting FTP server on 127\\.0\\.0\\.1:(\\d+)"));
    QByteArray said;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && process.state() == QProcess::Running) {
        process.waitForReadyRead(100);
        said += process.readAllStandardError();
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
