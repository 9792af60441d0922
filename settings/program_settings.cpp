#include "settings/program_settings.h"

#include "imode/handsets.h"
#include "settings/settings_file.h"
#include "text/ini_text.h"


namespace {

constexpr QByteArrayView checkSection = "check";
constexpr QByteArrayView handsetKey = "handset";
constexpr QByteArrayView paletteSection = "palette";
constexpr QByteArrayView recentPictogramsKey = "recent";
constexpr QByteArrayView foldersSection = "folders";
constexpr QByteArrayView projectFolderKey = "project";
constexpr QByteArrayView pageFolderKey = "page";
constexpr QByteArrayView checkWindowKey = "window";
constexpr QByteArrayView qrSection = "qr";

QByteArray qrAddressKey(const QString &projectFile)
{
    if (projectFile.isEmpty())
        return "address";
    return projectSettingKey("address", projectFile);
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
