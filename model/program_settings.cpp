#include "model/program_settings.h"

#include "model/handsets.h"

#include <QSettings>

namespace {

const QString handsetKey = QStringLiteral("check/handset");
const QString recentPictogramsKey = QStringLiteral("palette/recent");

QString settingsPath(const QString &programFolder)
{
    return programFolder + QStringLiteral("mopeco.ini");
}

} // namespace

QString SavedHandsetName(const QString &programFolder)
{
    const QSettings settings(settingsPath(programFolder), QSettings::IniFormat);
    const QString name = settings.value(handsetKey).toString();
    return FindHandset(name) ? name : DefaultHandsetName();
}

void SaveHandsetName(const QString &programFolder, const QString &name)
{
    QSettings settings(settingsPath(programFolder), QSettings::IniFormat);
    settings.setValue(handsetKey, name);
}

QStringList SavedRecentPictograms(const QString &programFolder)
{
    const QSettings settings(settingsPath(programFolder), QSettings::IniFormat);
    return settings.value(recentPictogramsKey).toStringList();
}

void SaveRecentPictograms(const QString &programFolder, const QStringList &numbers)
{
    QSettings settings(settingsPath(programFolder), QSettings::IniFormat);
    settings.setValue(recentPictogramsKey, numbers);
}
