#include "settings/program_settings.h"

#include "imode/handsets.h"
#include "text/ini_text.h"
#include "text/io_error.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

#include <QCryptographicHash>

#include <optional>

namespace {

// A handset's name and sixteen pictogram numbers take some hundred bytes; anything far larger
// is no settings file of this program.
constexpr qint64 MaxSettingsBytes = 64 * 1024;

constexpr QByteArrayView checkSection = "check";
constexpr QByteArrayView handsetKey = "handset";
constexpr QByteArrayView paletteSection = "palette";
constexpr QByteArrayView recentPictogramsKey = "recent";
constexpr QByteArrayView foldersSection = "folders";
constexpr QByteArrayView projectFolderKey = "project";
constexpr QByteArrayView pageFolderKey = "page";
constexpr QByteArrayView checkWindowKey = "window";
constexpr QByteArrayView qrSection = "qr";

// A key for each project: its path may hold any character a key may not.
QByteArray qrAddressKey(const QString &projectFile)
{
    if (projectFile.isEmpty())
        return "address";
    return "address-"
           + QCryptographicHash::hash(projectFile.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
}

QString settingsPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("mopeco.ini");
}

// The file's bytes; empty when there is none yet. Throws IoError, naming the file.
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

template <typename Value, typename Take>
SavedSetting<Value> savedSetting(const QString &programFolder, QByteArrayView section,
                                 QByteArrayView key, Value fallback, Take &&take)
{
    try {
        const std::optional<QByteArray> value =
            iniValue(settingsBytes(settingsPath(programFolder)), section, key);
        return {value ? take(*value) : fallback, {}};
    } catch (const IoError &error) {
        return {fallback, QStringLiteral("設定ファイルを読み込めません。前回選んだ機種などは使わず、"
                                         "最初の設定で続けます。\n")
                              + error.message()};
    }
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

} // namespace

SavedSetting<QString> SavedHandsetName(const QString &programFolder)
{
    SavedSetting<QString> saved = savedSetting(
        programFolder, checkSection, handsetKey, DefaultHandsetName(),
        [](const QByteArray &value) { return iniString(value); });
    if (!FindHandset(saved.value))
        saved.value = DefaultHandsetName();
    return saved;
}

SavedSetting<QStringList> SavedRecentPictograms(const QString &programFolder, qsizetype count)
{
    return savedSetting(programFolder, paletteSection, recentPictogramsKey, QStringList(),
                        [count](const QByteArray &value) { return iniListItems(value, count); });
}

QString SaveHandsetName(const QString &programFolder, const QString &name)
{
    return saveSetting(programFolder, checkSection, handsetKey, name.toUtf8());
}

QString SaveRecentPictograms(const QString &programFolder, const QStringList &numbers)
{
    return saveSetting(programFolder, paletteSection, recentPictogramsKey, iniList(numbers));
}

SavedSetting<KeptFolders> SavedFolders(const QString &programFolder)
{
    const auto folder = [&programFolder](QByteArrayView key) {
        return savedSetting(programFolder, foldersSection, key, QString(),
                            [](const QByteArray &value) { return iniString(value); });
    };
    const SavedSetting<QString> project = folder(projectFolderKey);
    const SavedSetting<QString> page = folder(pageFolderKey);
    return {{project.value, page.value}, project.problem};
}

QString SaveProjectFolder(const QString &programFolder, const QString &folder)
{
    return saveSetting(programFolder, foldersSection, projectFolderKey, folder.toUtf8());
}

QString SavePageFolder(const QString &programFolder, const QString &folder)
{
    return saveSetting(programFolder, foldersSection, pageFolderKey, folder.toUtf8());
}

SavedSetting<QSize> SavedCheckWindowSize(const QString &programFolder)
{
    return savedSetting(programFolder, checkSection, checkWindowKey, QSize(),
                        [](const QByteArray &value) {
                            const QStringList sides = iniListItems(value, 2);
                            const QSize size(sides.value(0).toInt(), sides.value(1).toInt());
                            // No screen of these days is larger; anything else is no size.
                            return size.width() > 0 && size.height() > 0 && size.width() <= 16384
                                           && size.height() <= 16384
                                       ? size
                                       : QSize();
                        });
}

QString SaveCheckWindowSize(const QString &programFolder, QSize size)
{
    return saveSetting(programFolder, checkSection, checkWindowKey,
                       iniList({QString::number(size.width()), QString::number(size.height())}));
}

SavedSetting<QString> SavedQrAddress(const QString &programFolder, const QString &projectFile)
{
    return savedSetting(programFolder, qrSection, qrAddressKey(projectFile), QString(),
                        [](const QByteArray &value) { return iniString(value); });
}

QString SaveQrAddress(const QString &programFolder, const QString &projectFile,
                      const QString &address)
{
    return saveSetting(programFolder, qrSection, qrAddressKey(projectFile), address.toUtf8());
}
