#include "support/local_servers.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

LocalFtpServer::LocalFtpServer(const QString &root, Resume resume, Speed speed)
{
    QStringList arguments{QStringLiteral(TEST_SUPPORT_FOLDER "/ftp_server.py"), root, QString::fromLatin1(user),
                          QString::fromLatin1(password)};
    if (resume == Resume::Refused)
        arguments << QStringLiteral("refuse-resume");
    if (speed == Speed::Slow)
        arguments << QStringLiteral("slow");
    // Debian's own interpreter, whose modules the package installed.
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
