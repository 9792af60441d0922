#pragma once

#include "settings/program_settings.h"

#include <QString>

// Where a project's page is published, as the user set it; kept in "mopeco.ini", never in the
// project file, and never with the password.
struct PublishPlace {
    QString address;    // the destination, "ftp://USER@HOST:PORT/FOLDER/"; none when empty
    QString webAddress; // where the destination's folder is seen on the web, "http://…/"
    QString keyFile;    // for SFTP, the private key to log in with; the SSH agent or a password when empty
    bool passwordKept = false; // the password is in the desktop's secret store

    bool operator==(const PublishPlace &) const = default;
};

SavedSetting<PublishPlace> SavedPublishPlace(const QString &programFolder, const QString &projectFile);
[[nodiscard]] QString SavePublishPlace(const QString &programFolder, const QString &projectFile,
                                       const PublishPlace &place);

// The fingerprint of the key the user trusted a server by ("sftp://HOST:PORT"); empty when none.
SavedSetting<QString> SavedServerKey(const QString &programFolder, const QString &server);
[[nodiscard]] QString SaveServerKey(const QString &programFolder, const QString &server, const QString &fingerprint);
