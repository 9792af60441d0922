#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// What the server held of a file after the last publish.
struct PublishedFile {
    qint64 size = 0;
    QByteArray sha256;

    bool operator==(const PublishedFile &) const = default;
};

// What the publishes of a project to a destination left on the server, by the files' names there.
struct PublishRecord {
    QHash<QString, PublishedFile> files;
    // A "NAME.part" a sending broken off left, with the SHA-256 of the bytes it was a part of.
    QHash<QString, QByteArray> parts;
};

// The record, kept in a file of its own in the program folder, one for each project and
// destination. Empty when none was kept or the file cannot be read: then everything is sent
// again, and whole, which is never wrong.
PublishRecord ReadPublishRecord(const QString &programFolder, const QString &projectFile,
                                const QString &destinationAddress);

// Keeps the record; throws IoError naming the file when it cannot be written.
void SavePublishRecord(const QString &programFolder, const QString &projectFile,
                       const QString &destinationAddress, const PublishRecord &record);
