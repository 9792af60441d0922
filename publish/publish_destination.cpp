#include "publish/publish_destination.h"

#include <QUrl>

namespace {

constexpr int ftpPort = 21;
constexpr int sftpPort = 22;

DestinationReading refused(const QString &why)
{
    return {std::nullopt, why};
}

} // namespace

DestinationReading ReadDestinationAddress(const QString &address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return refused(QStringLiteral("公開先のアドレス「%1」が読めません。ftp://ユーザー名@サーバー/フォルダ/ "
                                      "の形で書いてください。")
                           .arg(address));
    PublishDestination destination;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("ftp"))
        destination.protocol = PublishDestination::Protocol::Ftp;
    else if (scheme == QLatin1String("ftps"))
        destination.protocol = PublishDestination::Protocol::Ftps;
    else if (scheme == QLatin1String("sftp"))
        destination.protocol = PublishDestination::Protocol::Sftp;
    else
        return refused(QStringLiteral("公開先のアドレスは ftp://、ftps:// か sftp:// で始めてください（「%1」）。")
                           .arg(address));
    if (!url.password().isEmpty())
        return refused(QStringLiteral("公開先のアドレスにパスワードは書けません。パスワードは、"
                                      "たずねられたときに入力してください。"));
    destination.host = url.host();
    destination.user = url.userName();
    if (destination.host.isEmpty() || destination.user.isEmpty())
        return refused(QStringLiteral("公開先のアドレスにサーバーとユーザー名を書いてください"
                                      "（ftp://ユーザー名@サーバー/フォルダ/）。"));
    const int fallback = destination.protocol == PublishDestination::Protocol::Sftp ? sftpPort : ftpPort;
    destination.port = url.port(fallback);
    const QStringList parts = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.contains(QStringLiteral("..")) || parts.contains(QStringLiteral(".")))
        return refused(QStringLiteral("公開先のフォルダに「.」や「..」は使えません。"));
    destination.folder = parts.join(QLatin1Char('/'));
    return {destination, {}};
}

QString DestinationAddress(const PublishDestination &destination)
{
    QUrl url;
    switch (destination.protocol) {
    case PublishDestination::Protocol::Ftp:
        url.setScheme(QStringLiteral("ftp"));
        break;
    case PublishDestination::Protocol::Ftps:
        url.setScheme(QStringLiteral("ftps"));
        break;
    case PublishDestination::Protocol::Sftp:
        url.setScheme(QStringLiteral("sftp"));
        break;
    }
    url.setUserName(destination.user);
    url.setHost(destination.host);
    const int usual = destination.protocol == PublishDestination::Protocol::Sftp ? sftpPort : ftpPort;
    if (destination.port != usual)
        url.setPort(destination.port);
    url.setPath(QLatin1Char('/') + destination.folder + (destination.folder.isEmpty() ? QString() : QStringLiteral("/")));
    return url.toString();
}

QString ServerName(const PublishDestination &destination)
{
    if (destination.protocol == PublishDestination::Protocol::Ftp)
        return {};
    QUrl url;
    url.setScheme(destination.protocol == PublishDestination::Protocol::Sftp ? QStringLiteral("sftp")
                                                                              : QStringLiteral("ftps"));
    url.setHost(destination.host);
    url.setPort(destination.port);
    return url.toString();
}
