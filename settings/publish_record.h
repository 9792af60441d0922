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

// The files the last publish of a project to a destination left on the server, by their names
// there, kept in a file of their own in the program folder, one for each project and
// destination. Nothing when none was kept or the file cannot be read: then everything is sent
// again, which is never wrong.
QHash<QString, PublishedFile> ReadPublishRecord(const QString &programFolder, const QString &projectFile,
                                                const QString &destinationAddress);

// Keeps the record; throws IoError naming the file when it cannot be written.
void SavePublishRecord(const QString &programFolder, const QString &projectFile,
                       const QString &destinationAddress, const QHash<QString, PublishedFile> &files);
