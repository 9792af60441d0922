#pragma once

#include <QString>

#include <optional>

// Where the page is published: the server, the account and the folder the page's files go
// into. The password is never part of it.
struct PublishDestination {
    enum class Protocol { Ftp, Ftps, Sftp }; // FTPS: FTP with explicit TLS (AUTH TLS)
    Protocol protocol = Protocol::Ftp;
    QString host;
    int port = 21;
    QString user;
    QString folder; // on the server, "/" between its parts, without a "/" first or last; empty for the account's own

    bool operator==(const PublishDestination &) const = default;
};

struct DestinationReading {
    std::optional<PublishDestination> destination;
    QString problem; // in Japanese, when there is no destination
};

// The destination an address names: ftp://USER@HOST:PORT/FOLDER/, ftps://… for FTP with
// explicit TLS, sftp://…; the port may be left out (21, or 22 for SFTP). An address that carries
// a password is refused, so that none is ever typed where others see it.
DestinationReading ReadDestinationAddress(const QString &address);

// The address of a destination, as ReadDestinationAddress reads it.
QString DestinationAddress(const PublishDestination &destination);

// The server whose key the user trusts ("sftp://HOST:PORT", "ftps://HOST:PORT"); empty for plain
// FTP, which shows none.
QString ServerName(const PublishDestination &destination);
