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

PublishRecord ReadPublishRecord(const QString &programFolder, const QString &projectFile,
                                const QString &destinationAddress)
{
    PublishRecord record;
    QByteArray bytes;
    try {
        bytes = readFileBytes(recordPath(programFolder, projectFile, destinationAddress), mostRecordBytes);
    } catch (const IoError &) {
        return record;
    }
    // Each line: the SHA-256 in hex, the size (or "part" for a part left), the name on the
    // server (UTF-8). A line that is none of these is passed over.
    for (const QByteArray &line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3 || fields[2].isEmpty())
            continue;
        const QByteArray sha256 = QByteArray::fromHex(fields[0]);
        if (sha256.size() != 32)
            continue;
        const QString name = QString::fromUtf8(fields[2]);
        if (fields[1] == "part") {
            record.parts.insert(name, sha256);
            continue;
        }
        bool number = false;
        const qint64 size = fields[1].toLongLong(&number);
        if (number && size >= 0)
            record.files.insert(name, {size, sha256});
    }
    return record;
}

void SavePublishRecord(const QString &programFolder, const QString &projectFile,
                       const QString &destinationAddress, const PublishRecord &record)
{
    QStringList names = record.files.keys();
    std::sort(names.begin(), names.end());
    QByteArray bytes;
    for (const QString &name : names) {
        const PublishedFile &file = record.files[name];
        bytes += file.sha256.toHex() + '\t' + QByteArray::number(file.size) + '\t' + name.toUtf8() + '\n';
    }
    QStringList parts = record.parts.keys();
    std::sort(parts.begin(), parts.end());
    for (const QString &name : parts)
        bytes += record.parts[name].toHex() + "\tpart\t" + name.toUtf8() + '\n';
    saveFileBytes(recordPath(programFolder, projectFile, destinationAddress), bytes);
}
