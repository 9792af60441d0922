#pragma once

#include "publish/publish_destination.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// A file to send, under its name below the destination's folder ("img/logo.gif").
struct FileToSend {
    QString name;
    QByteArray bytes;
    // The server may hold "NAME.part" of these very bytes, left by a sending broken off: the
    // upload goes on from where it ends, or starts again where the server does not allow that.
    bool partLeft = false;
};

struct SentFile {
    QString name;
    bool sent = false;
    QString problem;       // in Japanese, when it was not sent
    bool partLeft = false; // its sending began and broke off: "NAME.part" may be on the server
};

// How far the sending is: the file being sent (from 0) and its bytes.
struct SendingProgress {
    int file = 0;
    int files = 0;
    qint64 fileBytesSent = 0;
    qint64 fileBytes = 0;
};

// How the user logs in: with a password, or on SFTP with a private key (the password then
// unlocks it) or the SSH agent.
struct Login {
    QString password;
    QString keyFile;
};

// The key the server showed, where it was not the one trusted (see server_key.h).
struct ServerKeyMet {
    enum class Trust {
        Trusted,   // the one trusted, or a certificate a known authority signed
        Unknown,   // none was trusted yet
        Changed,   // another one was trusted
    };
    Trust trust = Trust::Trusted;
    QString fingerprint;
};

struct SendingOutcome {
    QList<SentFile> files; // those tried, in order: every one, or up to the first that failed
    bool stopped = false;  // the sending was asked to stop
    ServerKeyMet serverKey; // when not trusted, nothing was sent and no password went out
    bool allSent() const;
};

// Sends the files in their order over one connection. Each goes up as "NAME.part" and is
// renamed to NAME only when whole, and its size on the server is then checked, so a file is
// never half-written under its own name; folders are made as needed. The sending stops at the
// first file that fails, so the page, sent last, never goes up without its pictures. `goOn` is
// asked as the bytes go, and stops the sending when it says no. FTPS is held to TLS 1.2.
// An SSH host key, or an FTPS certificate no known authority signed, must have the fingerprint
// `trustedKey`; else the connection ends before the login, and the outcome says which key the
// server showed.
SendingOutcome SendFiles(const PublishDestination &destination, const Login &login, const QString &trustedKey,
                         const QList<FileToSend> &files,
                         const std::function<bool(const SendingProgress &)> &goOn = {});
