#include "app/command_publish.h"

#include "check/page_files.h"
#include "page/page_as_written.h"
#include "pictures/picture_fitting.h"
#include "publish/publish_destination.h"
#include "publish/publish_plan.h"
#include "publish/publish_transfer.h"
#include "settings/publish_record.h"
#include "text/io_error.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QTextStream>

namespace {

enum ExitCode { Published = 0, NotSent = 1, Mistake = 2 };

QString stateText(PlannedFile::State state)
{
    switch (state) {
    case PlannedFile::State::Send:
        return QStringLiteral("送る");
    case PlannedFile::State::Same:
        return QStringLiteral("同じ");
    case PlannedFile::State::Missing:
        return QStringLiteral("ない");
    case PlannedFile::State::Refused:
        return QStringLiteral("送れない名前");
    }
    return {};
}

} // namespace

int PublishFromCommandLine(const QString &projectFile, const PublishedProject &project,
                           const CommandLine &commandLine, const QString &programFolder)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString said = projectFile + QStringLiteral(": ");
    if (commandLine.to.isEmpty()) {
        err << said << QStringLiteral("公開先を「--to ftp://ユーザー名@サーバー/フォルダ/」で指定してください。") << '\n';
        return Mistake;
    }
    const DestinationReading reading = ReadDestinationAddress(commandLine.to);
    if (!reading.destination) {
        err << said << reading.problem << '\n';
        return Mistake;
    }
    const PublishDestination &destination = *reading.destination;
    const QString address = DestinationAddress(destination);

    BodyFiles bodies;
    const PageNow now = PageAsWrittenNow(project.page, project.location, project.pattern,
                                         project.pattern.PartCount, bodies);
    if (now.bodyError) {
        err << said << QStringLiteral("本文のファイルが読めません（%1）。").arg(now.bodyError->explained()) << '\n';
        return Mistake;
    }
    const QString pageName = QFileInfo(projectFile).completeBaseName() + QStringLiteral(".html");
    const PublishRecord published = ReadPublishRecord(programFolder, projectFile, address);
    const QList<PublishSource> sources = GatherPublishSources(pageName, now.bytes(), now.lines, now.pictureFolder);
    const PublishPlan plan = PlanPublish(sources, published.files);

    out << said << QStringLiteral("公開先: %1").arg(address) << '\n';
    for (const PlannedFile &file : plan.files) {
        out << said << stateText(file.state) << ": " << file.name;
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

    // The password never comes as an argument, where others could read it.
    if (!qEnvironmentVariableIsSet("MOPECO_PASSWORD")) {
        err << said << QStringLiteral("パスワードを環境変数 MOPECO_PASSWORD で渡してください。") << '\n';
        return Mistake;
    }
    const QString password = qEnvironmentVariable("MOPECO_PASSWORD");
    QList<FileToSend> files;
    QHash<QString, PublishedFile> record;
    for (const PlannedFile &file : plan.files) {
        const auto source = std::find_if(sources.begin(), sources.end(),
                                         [&](const PublishSource &s) { return s.name == file.name; });
        const QByteArray &bytes = *source->bytes;
        const PublishedFile held{bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
        if (file.state == PlannedFile::State::Send)
            files.append({file.name, bytes, published.parts.value(file.name) == held.sha256});
        record.insert(file.name, held);
    }
    const SendingOutcome outcome = SendFiles(destination, password, files);
    PublishRecord kept = published;
    for (const SentFile &file : outcome.files) {
        kept.parts.remove(file.name);
        if (file.sent) {
            out << said << QStringLiteral("送りました: %1").arg(file.name) << '\n';
            kept.files.insert(file.name, record.value(file.name));
            continue;
        }
        err << said << QStringLiteral("送れませんでした: %1: %2").arg(file.name, file.problem) << '\n';
        // The server's file of that name is no longer known; a part left goes on next time.
        kept.files.remove(file.name);
        if (file.partLeft)
            kept.parts.insert(file.name, record.value(file.name).sha256);
    }
    // What the server holds the same stays so.
    for (const PlannedFile &file : plan.files)
        if (file.state == PlannedFile::State::Same)
            kept.files.insert(file.name, record.value(file.name));
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
