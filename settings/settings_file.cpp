#include "settings/settings_file.h"

#include "text/text_reader.h"
#include "text/text_writer.h"

#include <QCryptographicHash>

namespace {

// A handset's name, sixteen pictogram numbers and the places some projects are published to take
// some kilobytes; anything far larger is no settings file of this program.
constexpr qint64 MaxSettingsBytes = 64 * 1024;

} // namespace

QString settingsPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("mopeco.ini");
}

QByteArray settingsBytes(const QString &path)
{
    try {
        return readFileBytes(path, MaxSettingsBytes);
    } catch (IoError &error) {
        if (error.kind() == IoError::Kind::NotFound)
            return {};
        throw error.inFile(path);
    }
}

QByteArray projectSettingKey(QByteArrayView prefix, const QString &projectFile)
{
    return prefix.toByteArray() + '-'
           + QCryptographicHash::hash(projectFile.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
}

QString saveSetting(const QString &programFolder, QByteArrayView section, QByteArrayView key,
                    const QByteArray &value)
{
    const QString path = settingsPath(programFolder);
    try {
        saveFileBytes(path, withIniValue(settingsBytes(path), section, key, value));
        return {};
    } catch (IoError &error) {
        return QStringLiteral("設定ファイルに書き込めません。選んだ機種や最近使った絵文字、"
                              "最後に使ったフォルダは、次に起動したときには残っていません。\n")
               + error.inFile(path).message();
    }
}
