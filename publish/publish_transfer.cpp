#include "publish/publish_transfer.h"

#include <curl/curl.h>

#include "publish/server_key.h"

#include <QFile>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

// Seconds to wait for the server before the sending is given up.
constexpr long connectSeconds = 20;
constexpr long quietSeconds = 60;

void startCurl()
{
    static std::once_flag started;
    std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The bytes of one file as libcurl reads them, from any place it seeks to.
struct Reading {
    const QByteArray *bytes = nullptr;
    qint64 at = 0;
};

size_t readPart(char *into, size_t size, size_t count, void *data)
{
    auto *reading = static_cast<Reading *>(data);
    const qint64 left = reading->bytes->size() - reading->at;
    const qint64 taken = std::min<qint64>(left, qint64(size * count));
    std::copy_n(reading->bytes->constData() + reading->at, taken, into);
    reading->at += taken;
    return size_t(taken);
}

// Without this, a resumed upload sends the whole file again after what the server holds.
int seekTo(void *data, curl_off_t offset, int origin)
{
    auto *reading = static_cast<Reading *>(data);
    if (origin != SEEK_SET || offset < 0 || offset > reading->bytes->size())
        return CURL_SEEKFUNC_CANTSEEK;
    reading->at = qint64(offset);
    return CURL_SEEKFUNC_OK;
}

struct Watching {
    const std::function<bool(const SendingProgress &)> *goOn = nullptr;
    SendingProgress progress;
    bool stopped = false;
};

int watch(void *data, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded)
{
    auto *watching = static_cast<Watching *>(data);
    watching->progress.fileBytesSent = qint64(uploaded);
    if (*watching->goOn && !(*watching->goOn)(watching->progress)) {
        watching->stopped = true;
        return 1;
    }
    return 0;
}

size_t ignore(char *, size_t size, size_t count, void *)
{
    return size * count;
}

QString scheme(PublishDestination::Protocol protocol)
{
    return protocol == PublishDestination::Protocol::Sftp ? QStringLiteral("sftp") : QStringLiteral("ftp");
}

QByteArray serverAddress(const PublishDestination &destination, const QString &path)
{
    QUrl url;
    url.setScheme(scheme(destination.protocol));
    url.setHost(destination.host);
    url.setPort(destination.port);
    url.setPath(path);
    return url.toEncoded();
}

// The address of a file below the destination's folder.
QByteArray fileAddress(const PublishDestination &destination, const QString &name)
{
    const QString folder = destination.folder.isEmpty() ? QString() : QLatin1Char('/') + destination.folder;
    return serverAddress(destination, folder + QLatin1Char('/') + name);
}

// The absolute path SFTP's commands take, or the FTP name as it stands in the file's folder.
QByteArray commandPath(const PublishDestination &destination, const QString &name)
{
    if (destination.protocol != PublishDestination::Protocol::Sftp)
        return name.section(QLatin1Char('/'), -1).toUtf8();
    return (QLatin1Char('/') + (destination.folder.isEmpty() ? QString() : destination.folder + QLatin1Char('/'))
            + name)
        .toUtf8();
}

QString problemOf(CURLcode code, const char *detail)
{
    switch (code) {
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("サーバーにログインできません。ユーザー名とパスワードを確かめてください。");
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("サーバーにつながりません。サーバーの名前とポートを確かめてください。");
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("サーバーから返事がありません。");
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_DISK_FULL:
        return QStringLiteral("サーバーに書き込めません（場所が足りないか、書き込めないフォルダです）。");
    case CURLE_QUOTE_ERROR:
        return QStringLiteral("送ったファイルの名前をサーバーで変えられませんでした。");
    default:
        return QStringLiteral("送れませんでした（%1）。")
            .arg(QString::fromUtf8(detail && *detail ? detail : curl_easy_strerror(code)));
    }
}

using Handle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using Commands = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

// The SSH host key against the one trusted.
struct HostKeyCheck {
    QString trusted;
    QString seen;
};

int checkHostKey(void *data, int, const char *key, size_t length)
{
    auto *check = static_cast<HostKeyCheck *>(data);
    check->seen = KeyFingerprint(QByteArrayView(key, qsizetype(length)));
    return check->seen == check->trusted ? CURLKHMATCH_OK : CURLKHMATCH_MISMATCH;
}

// What every request of the connection shares.
struct Connection {
    const PublishDestination &destination;
    QByteArray user;
    QByteArray password;
    QByteArray keyFile;
    // An FTPS certificate no known authority signed: its key must be this one.
    bool pinCertificate = false;
    QByteArray pin;
    HostKeyCheck hostKey;
    char errors[CURL_ERROR_SIZE] = {};
};

void setCommon(CURL *curl, Connection &connection)
{
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp,ftps,sftp");
    curl_easy_setopt(curl, CURLOPT_USERNAME, connection.user.constData());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, connection.errors);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, quietSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, quietSeconds);
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, ignore);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    switch (connection.destination.protocol) {
    case PublishDestination::Protocol::Sftp:
        // Without a check of its own, libcurl takes any host key.
        curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYFUNCTION, checkHostKey);
        curl_easy_setopt(curl, CURLOPT_SSH_HOSTKEYDATA, &connection.hostKey);
        if (connection.keyFile.isEmpty()) {
            curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                             long(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD | CURLSSH_AUTH_AGENT));
            curl_easy_setopt(curl, CURLOPT_PASSWORD, connection.password.constData());
        } else {
            curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PUBLICKEY));
            curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, connection.keyFile.constData());
            curl_easy_setopt(curl, CURLOPT_KEYPASSWD, connection.password.constData());
        }
        break;
    case PublishDestination::Protocol::Ftps:
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
        // Over TLS 1.3 a reused connection loses files against common servers.
        curl_easy_setopt(curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2) | long(CURL_SSLVERSION_MAX_TLSv1_2));
        if (connection.pinCertificate) {
            // The key's pin takes the place of the authority's signature; the handshake ends
            // before the login when the key is another.
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
            curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
            curl_easy_setopt(curl, CURLOPT_PINNEDPUBLICKEY, connection.pin.constData());
            curl_easy_setopt(curl, CURLOPT_CERTINFO, 1L);
        }
        curl_easy_setopt(curl, CURLOPT_PASSWORD, connection.password.constData());
        break;
    case PublishDestination::Protocol::Ftp:
        curl_easy_setopt(curl, CURLOPT_PASSWORD, connection.password.constData());
        break;
    }
}

// The fingerprint of the certificate's key the server showed on the last request.
QString certificateFingerprint(CURL *curl)
{
    curl_certinfo *certificates = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CERTINFO, &certificates) != CURLE_OK || !certificates
        || certificates->num_of_certs < 1)
        return {};
    for (const curl_slist *item = certificates->certinfo[0]; item; item = item->next) {
        const QByteArrayView line(item->data);
        if (line.startsWith("Cert:"))
            if (const auto key = CertificatePublicKey(line.sliced(5)))
                return KeyFingerprint(*key);
    }
    return {};
}

CURLcode request(CURL *curl, Connection &connection, const QByteArray &address)
{
    curl_easy_reset(curl);
    setCommon(curl, connection);
    curl_easy_setopt(curl, CURLOPT_URL, address.constData());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    connection.errors[0] = '\0';
    return curl_easy_perform(curl);
}

// Logs in, once the server has shown the key trusted, or a certificate a known authority
// signed. Says which key it showed when it was not trusted.
CURLcode logIn(CURL *curl, Connection &connection, const QString &trustedKey, ServerKeyMet &met)
{
    const PublishDestination &destination = connection.destination;
    const QByteArray top = serverAddress(destination, QStringLiteral("/"));
    connection.hostKey.trusted = trustedKey;
    CURLcode code = request(curl, connection, top);
    if (destination.protocol == PublishDestination::Protocol::Ftps && code == CURLE_PEER_FAILED_VERIFICATION) {
        connection.pinCertificate = true;
        // A pin no key has ends the handshake before the login and leaves the key to be read.
        const QString noKeys = QStringLiteral("SHA256:") + QString(43, QLatin1Char('A'));
        connection.pin = PinnedKeyOption(trustedKey.isEmpty() ? noKeys : trustedKey);
        code = request(curl, connection, top);
        if (code == CURLE_SSL_PINNEDPUBKEYNOTMATCH)
            met.fingerprint = certificateFingerprint(curl);
    } else if (destination.protocol == PublishDestination::Protocol::Sftp && code == CURLE_PEER_FAILED_VERIFICATION) {
        met.fingerprint = connection.hostKey.seen;
    }
    if (!met.fingerprint.isEmpty())
        met.trust = trustedKey.isEmpty() ? ServerKeyMet::Trust::Unknown : ServerKeyMet::Trust::Changed;
    return code;
}

} // namespace

bool SendingOutcome::allSent() const
{
    return !stopped && std::all_of(files.begin(), files.end(), [](const SentFile &file) { return file.sent; });
}

SendingOutcome SendFiles(const PublishDestination &destination, const Login &login, const QString &trustedKey,
                         const QList<FileToSend> &files,
                         const std::function<bool(const SendingProgress &)> &goOn)
{
    startCurl();
    SendingOutcome outcome;
    Handle curl(curl_easy_init(), &curl_easy_cleanup);
    Connection connection{destination, destination.user.toUtf8(), login.password.toUtf8(),
                          QFile::encodeName(login.keyFile), false, {}, {}, {}};
    char *errors = connection.errors;
    Watching watching{&goOn, {0, int(files.size()), 0, 0}, false};
    if (!files.isEmpty() && curl) {
        const CURLcode code = logIn(curl.get(), connection, trustedKey, outcome.serverKey);
        if (code != CURLE_OK) {
            SentFile failed{files.first().name, false, problemOf(code, errors)};
            if (outcome.serverKey.trust != ServerKeyMet::Trust::Trusted)
                failed.problem = outcome.serverKey.trust == ServerKeyMet::Trust::Unknown
                                     ? QStringLiteral("初めてつなぐサーバーです。鍵の指紋を確かめてから信頼してください。")
                                     : QStringLiteral("サーバーの鍵が、前に信頼したものと違います。"
                                                      "サーバーの管理者に確かめてください。");
            outcome.files.append(failed);
            return outcome;
        }
    }
    for (int index = 0; index < files.size(); ++index) {
        const FileToSend &file = files[index];
        SentFile sent{file.name, false, {}};
        if (!curl) {
            sent.problem = QStringLiteral("送る準備ができませんでした。");
            outcome.files.append(sent);
            break;
        }
        watching.progress = {index, int(files.size()), 0, file.bytes.size()};
        Reading reading{&file.bytes, 0};
        const QByteArray part = fileAddress(destination, file.name + QStringLiteral(".part"));
        const QByteArray renameFrom = commandPath(destination, file.name + QStringLiteral(".part"));
        const QByteArray renameTo = commandPath(destination, file.name);
        const bool sftp = destination.protocol == PublishDestination::Protocol::Sftp;
        Commands rename(nullptr, &curl_slist_free_all);
        if (sftp) {
            rename.reset(curl_slist_append(nullptr, ("rename " + renameFrom + ' ' + renameTo).constData()));
        } else {
            rename.reset(curl_slist_append(nullptr, ("RNFR " + renameFrom).constData()));
            curl_slist_append(rename.get(), ("RNTO " + renameTo).constData());
        }
        curl_easy_reset(curl.get());
        setCommon(curl.get(), connection);
        curl_easy_setopt(curl.get(), CURLOPT_URL, part.constData());
        curl_easy_setopt(curl.get(), CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl.get(), CURLOPT_READFUNCTION, readPart);
        curl_easy_setopt(curl.get(), CURLOPT_READDATA, &reading);
        curl_easy_setopt(curl.get(), CURLOPT_SEEKFUNCTION, seekTo);
        curl_easy_setopt(curl.get(), CURLOPT_SEEKDATA, &reading);
        curl_easy_setopt(curl.get(), CURLOPT_INFILESIZE_LARGE, curl_off_t(file.bytes.size()));
        curl_easy_setopt(curl.get(), CURLOPT_POSTQUOTE, rename.get());
        curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, watch);
        curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, &watching);
        if (file.partLeft)
            curl_easy_setopt(curl.get(), CURLOPT_RESUME_FROM_LARGE, curl_off_t(-1));
        errors[0] = '\0';
        CURLcode code = curl_easy_perform(curl.get());
        if (file.partLeft && code != CURLE_OK && !watching.stopped && code != CURLE_LOGIN_DENIED
            && code != CURLE_COULDNT_CONNECT) {
            // The server does not go on from the part it holds: the file is sent whole.
            reading.at = 0;
            curl_easy_setopt(curl.get(), CURLOPT_RESUME_FROM_LARGE, curl_off_t(0));
            errors[0] = '\0';
            code = curl_easy_perform(curl.get());
        }
        sent.partLeft = code != CURLE_OK;
        if (watching.stopped) {
            outcome.stopped = true;
            sent.problem = QStringLiteral("中止しました。");
            outcome.files.append(sent);
            break;
        }
        if (code == CURLE_OK) {
            // The size the server holds under the file's own name.
            code = request(curl.get(), connection, fileAddress(destination, file.name));
            curl_off_t size = -1;
            if (code == CURLE_OK)
                curl_easy_getinfo(curl.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
            if (code == CURLE_OK && size != curl_off_t(file.bytes.size())) {
                sent.problem = QStringLiteral("サーバーのファイルの大きさが %1 バイトで、送った %2 バイトと違います。")
                                   .arg(qint64(size))
                                   .arg(file.bytes.size());
                outcome.files.append(sent);
                break;
            }
        }
        if (code != CURLE_OK) {
            sent.problem = problemOf(code, errors);
            outcome.files.append(sent);
            break;
        }
        sent.sent = true;
        outcome.files.append(sent);
    }
    return outcome;
}
