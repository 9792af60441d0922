#include "app/command_publish.h"

#include "pictures/picture_fitting.h"
#include "publish/publish_destination.h"
#include "publish/password_store.h"
#include "publish/publish_preparation.h"
#include "publish/publish_transfer.h"
#include "publish/server_key.h"
#include "settings/publish_record.h"
#include "settings/publish_settings.h"
#include "text/io_error.h"

#include <QTextStream>

namespace {

enum ExitCode { Published = 0, NotSent = 1, Mistake = 2 };

// The password never comes as an argument, where others could read it: it comes from the
// environment, or the secret store where the user kept it. An SFTP login may need none.
std::optional<QString> passwordFor(const PublishDestination &destination, const QString &address, bool kept,
                                   QTextStream &err, const QString &said)
{
    if (qEnvironmentVariableIsSet("MOPECO_PASSWORD"))
        return qEnvironmentVariable("MOPECO_PASSWORD");
    if (kept) {
        const StoredPassword stored = ReadStoredPassword(address);
        if (stored.password)
            return stored.password;
        if (!stored.problem.isEmpty())
            err << said << stored.problem << '\n';
    }
    if (destination.protocol == PublishDestination::Protocol::Sftp)
        return QString();
    err << said << QStringLiteral("パスワードを環境変数 MOPECO_PASSWORD で渡してください。") << '\n';
    return std::nullopt;
}

// Why nothing was sent: a key never trusted, one other than --trust names, or one that changed.
void sayServerKey(const ServerKeyMet &met, const QString &trusted, bool named, QTextStream &err, const QString &said)
{
    if (named)
        err << said
            << QStringLiteral("サーバーの鍵の指紋は %1 で、--trust の %2 と違うので、何も送りませんでした。")
                   .arg(met.fingerprint, trusted)
            << '\n';
    else if (met.trust == ServerKeyMet::Trust::Unknown)
        err << said
            << QStringLiteral("初めてつなぐサーバーなので、何も送りませんでした。サーバーの鍵の指紋は %1 です。"
                              "サーバーの管理者が知らせる指紋と同じなら、「--trust %1」を付けてもう一度実行してください。")
                   .arg(met.fingerprint)
            << '\n';
    else
        err << said
            << QStringLiteral("サーバーの鍵が、前に信頼したもの（%1）から %2 に変わっているので、何も送りませんでした。"
                              "別のサーバーになりすまされているおそれがあります。サーバーの管理者に確かめてください。")
                   .arg(trusted, met.fingerprint)
            << '\n';
}

} // namespace

int PublishFromCommandLine(const QString &projectFile, const PublishedProject &project,
                           const CommandLine &commandLine, const QString &programFolder)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString said = projectFile + QStringLiteral(": ");
    // The place set in the window, unless --to names another for this run.
    const PublishPlace place = SavedPublishPlace(programFolder, projectFile).value;
    const QString given = commandLine.to.isEmpty() ? place.address : commandLine.to;
    if (given.isEmpty()) {
        err << said << QStringLiteral("公開先が決めてありません。画面の「公開…」で決めるか、"
                                      "「--to ftp://ユーザー名@サーバー/フォルダ/」で指定してください。")
            << '\n';
        return Mistake;
    }
    const DestinationReading reading = ReadDestinationAddress(given);
    if (!reading.destination) {
        err << said << reading.problem << '\n';
        return Mistake;
    }
    const PublishDestination &destination = *reading.destination;
    const QString address = DestinationAddress(destination);
    const bool placeKept = address == place.address;
    std::optional<QString> trust;
    if (!commandLine.trust.isEmpty()) {
        trust = ReadKeyFingerprint(commandLine.trust);
        if (!trust) {
            err << said << QStringLiteral("「%1」は鍵の指紋ではありません（SHA256:… の形です）。").arg(commandLine.trust)
                << '\n';
            return Mistake;
        }
    }

    const PublishPreparation preparation = PreparePublish(project.page, project.location, project.pattern,
                                                          PublishedPageName(projectFile),
                                                          ReadPublishRecord(programFolder, projectFile, address));
    if (!preparation.problem.isEmpty()) {
        err << said << preparation.problem << '\n';
        return Mistake;
    }
    const PublishPlan &plan = preparation.plan;
    out << said << QStringLiteral("公開先: %1").arg(address) << '\n';
    for (const PlannedFile &file : plan.files) {
        out << said << PlannedStateText(file.state) << ": " << file.name;
        if (file.state == PlannedFile::State::Send || file.state == PlannedFile::State::Same)
            out << " (" << BytesText(file.bytes) << ')';
        out << '\n';
        for (const QString &text : {file.problem, file.note})
            if (!text.isEmpty())
                out << said << "  " << text << '\n';
    }
    if (!plan.ready()) {
        err << said << QStringLiteral("送れないファイルがあるので、何も送りませんでした。") << '\n';
        return Mistake;
    }
    if (commandLine.dryRun) {
        out << said << QStringLiteral("送るのは %1です（--dry-run なので送りません）。").arg(BytesText(plan.bytesToSend()))
            << '\n';
        return Published;
    }

    const QString keyFile = commandLine.keyFile.isEmpty() && placeKept ? place.keyFile : commandLine.keyFile;
    const std::optional<QString> password = passwordFor(destination, address, placeKept && place.passwordKept, err, said);
    if (!password)
        return Mistake;
    const QList<FileToSend> files = preparation.filesToSend();
    const QString server = ServerName(destination);
    const QString trusted = trust ? *trust : SavedServerKey(programFolder, server).value;
    const SendingOutcome outcome = SendFiles(destination, {*password, keyFile}, trusted, files);
    if (outcome.serverKey.trust != ServerKeyMet::Trust::Trusted) {
        sayServerKey(outcome.serverKey, trusted, trust.has_value(), err, said);
        return NotSent;
    }
    if (trust && !server.isEmpty())
        if (const QString problem = SaveServerKey(programFolder, server, *trust); !problem.isEmpty())
            err << said << problem << '\n';
    for (const SentFile &file : outcome.files) {
        if (file.sent)
            out << said << QStringLiteral("送りました: %1").arg(file.name) << '\n';
        else
            err << said << QStringLiteral("送れませんでした: %1: %2").arg(file.name, file.problem) << '\n';
    }
    const PublishRecord kept = preparation.recordAfter(outcome);
    try {
        SavePublishRecord(programFolder, projectFile, address, kept);
    } catch (const IoError &error) {
        err << said << QStringLiteral("送ったファイルの記録を残せません（次は全部送ります）: %1").arg(error.explained())
            << '\n';
    }
    if (!outcome.allSent()) {
        err << said << QStringLiteral("サーバーには、前に公開したページが残っています。") << '\n';
        return NotSent;
    }
    if (files.isEmpty())
        out << said << QStringLiteral("変わったファイルはありません。何も送りませんでした。") << '\n';
    return Published;
}
