#include "settings/publish_record.h"

#include "text/io_error.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

// A page and its pictures are some lines; a record far larger is none of this program's.
constexpr qint64 mostRecordBytes = 256 * 1024;

QString recordPath(const QString &programFolder, const QString &projectFile, const QString &destinationAddress)
{
    const QByteArray key = (QFileInfo(projectFile).absoluteFilePath() + QLatin1Char('\n') + destinationAddress).toUtf8();
    return programFolder + QStringLiteral("published-%1.txt")
                               .arg(QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16)));
}

} // namespace

QHash<QString, PublishedFile> ReadPublishRecord(const QString &programFolder, const QString &projectFile,
                                                const QString &destinationAddress)
{
    QHash<QString, PublishedFile> files;
    QByteArray bytes;
    try {
        bytes = readFileBytes(recordPath(programFolder, projectFile, destinationAddress), mostRecordBytes);
    } catch (const IoError &) {
        return files;
    }
    // Each line: the SHA-256 in hex, the size, the name on the server (UTF-8).
    for (const QByteArray &line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3)
            continue;
        const QByteArray sha256 = QByteArray::fromHex(fields[0]);
        bool number = false;
        const qint64 size = fields[1].toLongLong(&number);
        if (sha256.size() != 32 || !number || size < 0 || fields[2].isEmpty())
            continue;
        files.insert(QString::fromUtf8(fields[2]), {size, sha256});
    }
    return files;
}

void SavePublishRecord(const QString &programFolder, const QString &projectFile,
                       const QString &destinationAddress, const QHash<QString, PublishedFile> &files)
{
    QStringList names = files.keys();
    std::sort(names.begin(), names.end());
    QByteArray bytes;
    for (const QString &name : names) {
        const PublishedFile &file = files[name];
        bytes += file.sha256.toHex() + '\t' + QByteArray::number(file.size) + '\t' + name.toUtf8() + '\n';
    }
    saveFileBytes(recordPath(programFolder, projectFile, destinationAddress), bytes);
}
