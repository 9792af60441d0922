#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

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

    struct Options {
        Resume resume = Resume::Allowed;
        Speed speed = Speed::Full;
        // FTPS (AUTH TLS), with TLS required for commands and files alike.
        bool tls = false;
        // 0 for one the system gives; a test that starts a server again where a client knows
        // it gives the port of the first.
        int port = 0;
        // Uploads are refused as by a full disk ("552 … Exceeded storage allocation.") once
        // the files under root hold this many bytes; -1 for no limit.
        qint64 quota = -1;
        // Where the TLS certificate and its key are kept, made there when missing; empty for a
        // folder of the server's own. The same folder again gives the same certificate.
        QString certificateFolder = {};
    };

    explicit LocalFtpServer(const QString &root, Resume resume = Resume::Allowed, Speed speed = Speed::Full);
    LocalFtpServer(const QString &root, const Options &options);
    ~LocalFtpServer();

    // Whether it listens; then `port` is its port, else `problem` says why not.
    bool started() const { return port > 0; }
    int port = 0;
    QString problem;
    // With TLS, the certificate's public key as a client pins it: the SHA-256 of its DER
    // SubjectPublicKeyInfo, in base64 (the form after "sha256//").
    QString publicKeyPin;

private:
    QTemporaryDir ownCertificateFolder;
    QProcess process;
};

// An SFTP server of openssh's sshd on 127.0.0.1 for the running user, who logs in with a key
// only; stopped when it goes, also when a test fails. sshd needs root here: run otherwise,
// it does not start and `problem` says so.
//
// Paths on it are those of this machine, as on a host without a jail (sshd jails only in a
// folder whose every parent is root's and writable by no one else, which the temporary
// folder is not): a destination folder `remoteFolder` + "/www"
// (sftp://USER@127.0.0.1:PORT/REMOTEFOLDER/www/) is the folder root + "/www" on disk.
class LocalSftpServer {
public:
    // keyFolder keeps the host key, the client's key pair and authorized_keys, made there when
    // missing, and sshd's config and log; empty for a folder of the server's own. port 0 picks
    // a free one. The same port with another key folder is the same server with a changed host
    // key.
    explicit LocalSftpServer(const QString &root, const QString &keyFolder = {}, int port = 0);
    ~LocalSftpServer();

    bool started() const { return port > 0; }
    int port = 0;
    QString problem;
    // root without its leading "/", as a destination's folder.
    QString remoteFolder;
    // The account to log in as, and the private key (no passphrase) it logs in with; the
    // public key is beside it with ".pub".
    QString user;
    QString clientKey;
    // The host key's SHA-256 fingerprint in base64 without padding, as ssh-keygen prints it
    // after "SHA256:".
    QString hostKeyFingerprint;

private:
    QTemporaryDir ownKeyFolder;
    QProcess process;
};
