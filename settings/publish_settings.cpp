#include "settings/publish_settings.h"

#include "settings/settings_file.h"

#include <QFileInfo>

namespace {

constexpr QByteArrayView publishSection = "publish";
constexpr QByteArrayView trustSection = "trust";

// The same project however its path was written.
QString projectKeyPath(const QString &projectFile)
{
    return QFileInfo(projectFile).absoluteFilePath();
}

SavedSetting<QString> savedText(const QString &programFolder, QByteArrayView section, const QByteArray &key)
{
    return savedSetting(programFolder, section, key, QString(),
                        [](const QByteArray &value) { return QString::fromUtf8(value); });
}

} // namespace

SavedSetting<PublishPlace> SavedPublishPlace(const QString &programFolder, const QString &projectFile)
{
    const QString project = projectKeyPath(projectFile);
    const auto text = [&](QByteArrayView prefix) {
        return savedText(programFolder, publishSection, projectSettingKey(prefix, project));
    };
    const SavedSetting<QString> address = text("to");
    return {{address.value, text("web").value, text("key").value, text("kept").value == QLatin1String("1")},
            address.problem};
}

QString SavePublishPlace(const QString &programFolder, const QString &projectFile, const PublishPlace &place)
{
    const QString project = projectKeyPath(projectFile);
    const std::pair<QByteArrayView, QString> values[] = {{"to", place.address},
                                                         {"web", place.webAddress},
                                                         {"key", place.keyFile},
                                                         {"kept", place.passwordKept ? QStringLiteral("1") : QString()}};
    for (const auto &[prefix, value] : values)
        if (const QString problem = saveSetting(programFolder, publishSection, projectSettingKey(prefix, project),
                                                value.toUtf8());
            !problem.isEmpty())
            return problem;
    return {};
}

SavedSetting<QString> SavedServerKey(const QString &programFolder, const QString &server)
{
    return savedText(programFolder, trustSection, projectSettingKey("key", server));
}

QString SaveServerKey(const QString &programFolder, const QString &server, const QString &fingerprint)
{
    return saveSetting(programFolder, trustSection, projectSettingKey("key", server), fingerprint.toUtf8());
}
