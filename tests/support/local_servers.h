#pragma once

#include <QProcess>
#include <QString>

// An FTP server of Debian's python3-pyftpdlib on 127.0.0.1, on a port the system gives, serving
// `root` to one user; stopped when it goes, also when a test fails.
class LocalFtpServer {
public:
    static constexpr const char *user = "sakura";
    static constexpr const char *password = "secret";

    // How the server takes an upload that goes on from where an earlier one broke off.
    enum class Resume { Allowed, Refused };
    // How fast it takes an upload.
    enum class Speed { Full, Slow };

    explicit LocalFtpServer(const QString &root, Resume resume = Resume::Allowed, Speed speed = Speed::Full);
    ~LocalFtpServer();

    // Whether it listens; then `port` is its port, else `problem` says why not.
    bool started() const { return port > 0; }
    int port = 0;
    QString problem;

private:
    QProcess process;
};
