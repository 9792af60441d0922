#include "app/command_line.h"

#include "app/command_line_options.h"
#include "app/command_publish.h"

#include "check/page_check.h"
#include "imode/handsets.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "page/project_file.h"
#include "pictures/gif_writer.h"
#include "pictures/page_export.h"
#include "pictures/picture_fitting.h"
#include "pictures/qr_code.h"
#include "preview/phone_preview.h"
#include "settings/program_settings.h"
#include "text/io_error.h"
#include "text/nearest_name.h"
#include "text/sjis.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QScopeGuard>
#include <QTextStream>

#include <csignal>
#include <functional>
#include <optional>

namespace {

enum ExitCode { NoErrors = 0, Errors = 1, CannotCheck = 2 };

// The page of a project file as the main window would have it after "データ開く": pattern 1
// from the start, then the project's own.
struct OpenedProject {
    PageProject page;
    Pattern pattern;
    int endedAtLine = 0; // the file's last line when it ended early
};

OpenedProject openProject(const QString &path, const QString &programFolder)
{
    std::optional<ProjectRead> read = parseFile(
        path, [](const QByteArray &bytes) { return ReadProjectFile(bytes, PageProject()); });
    if (!read)
        throw UserError(QStringLiteral("プロジェクトファイルではありません（1行目が ver2.10 でも "
                                       "ver2.00 でもありません）"));
    OpenedProject opened{std::move(read->page), {}, read->endedAtLine};
    PatternCatalogue catalogue;
    ReadPatternCatalogueFile(programFolder, catalogue);
    std::int32_t number = 1;
    LoadPattern(1, catalogue, programFolder, opened.pattern, number);
    LoadPattern(opened.page.PatternNumber, catalogue, programFolder, opened.pattern, number);
    return opened;
}

// What a check or a preview works on: the project opened and the handset; nothing, with the
// reason written out, when either cannot be had.
struct Subject {
    OpenedProject opened;
    Handset handset;
    PageLocation location; // the project's folder, and the page's when --html-folder names it
};

// A message on one line: the place it names on its last line goes in brackets.
QString oneLine(const QString &message)
{
    QStringList lines = message.split(QLatin1Char('\n'));
    const QString place = lines.size() > 1 ? QStringLiteral("（%1）").arg(lines.takeLast()) : QString();
    return lines.join(' ') + place;
}

std::optional<Subject> subjectOf(const QString &project, const QString &handsetName,
                                 const QString &htmlFolder, const QString &programFolder)
{
    QTextStream err(stderr);
    const std::optional<Handset> handset = FindHandset(handsetName);
    if (!handset) {
        QStringList names;
        for (const Handset &known : Handsets())
            names << known.name;
        const QString nearest = NearestName(handsetName.trimmed(), names);
        err << project << ": " << QStringLiteral("機種「%1」は知りません").arg(handsetName)
            << (nearest.isEmpty() ? QString() : QStringLiteral("。もしかして「%1」？").arg(nearest)) << '\n';
        return std::nullopt;
    }
    try {
        PageLocation location;
        location.ProjectFolder = QFileInfo(project).absolutePath();
        location.PageFolder = htmlFolder;
        return Subject{openProject(project, programFolder), *handset, location};
    } catch (const UserError &error) {
        err << project << ": " << SeverityText(Severity::Error) << ": " << oneLine(error.message())
            << '\n';
        return std::nullopt;
    }
}

int check(const QString &project, const Subject &subject)
{
    QTextStream out(stdout);
    const OpenedProject &opened = subject.opened;
    const Handset *handset = &subject.handset;
    const PageCheckResult result = CheckPageOf(opened.page, subject.location, opened.pattern,
                                               opened.pattern.PartCount, *handset);
    if (opened.endedAtLine > 0)
        out << project << ": " << SeverityText(Severity::Warning) << ": "
            << EndedEarlyMessage(opened.endedAtLine) << '\n';
    for (const Finding &finding : result.findings)
        out << project << ": " << SeverityText(finding.severity) << ": " << ItemName(finding)
            << ": " << finding.message << '\n';
    const SizeTexts said = SizeAgainstLimit(result.totalBytes(), result.limitBytes);
    out << project << ": "
        << QStringLiteral("大きさ: %1 %2 / %3 %2（%4、画像を含む）")
               .arg(said.size, said.unit, said.limit, handset->name)
        << '\n';
    return result.hasErrors() ? Errors : NoErrors;
}

// Writes the picture in the format its name says (PNG, or GIF of at most 256 colours, exactly
// where it has no more) through the one write path: every step checked, an old picture kept on
// failure. What went wrong, or nothing.
QString writePicture(const QImage &picture, const QString &path)
{
    QByteArray bytes;
    if (PictureFormatFor(path) == "gif") {
        bytes = WriteGif(picture.convertToFormat(QImage::Format_Indexed8));
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!QImageWriter(&buffer, "png").write(picture))
            bytes.clear();
    }
    if (bytes.isEmpty())
        return QStringLiteral("「%1」に書き込めません").arg(path);
    try {
        saveFileBytes(path, bytes);
    } catch (const IoError &error) {
        return QStringLiteral("「%1」に書き込めません（%2）").arg(path, error.reason());
    }
    return {};
}

// The phone preview of the whole page, written as a picture.
int preview(const QString &project, const Subject &subject, const QString &picturePath)
{
    const OpenedProject &opened = subject.opened;
    PhonePreview phone;
    PageFiles files;
    const PageNow now =
        PageAsWrittenNow(opened.page, subject.location, opened.pattern, opened.pattern.PartCount, files);
    phone.setPage(now.lines, subject.handset, now.pictureFolder);
    const QString problem = writePicture(phone.draw(0, 0, PhonePreview::Extent::WholePage), picturePath);
    if (!problem.isEmpty()) {
        QTextStream(stderr) << project << ": " << SeverityText(Severity::Error) << ": " << problem << '\n';
        return CannotCheck;
    }
    return NoErrors;
}

// The text as a QR code, written as a picture; with a title, in the bookmark form phones
// offer to keep. A module of 8 pixels makes a code of version 10 520 pixels across.
int qrCode(const CommandLine &commandLine)
{
    // A phone reads the code in Shift-JIS: a character it cannot hold would come out as "&#N;".
    for (const QString &given : {commandLine.qrText, commandLine.title}) {
        const QString outside = sjis::charactersOutside(given);
        if (outside.isEmpty())
            continue;
        const QString first = outside.left(outside.front().isHighSurrogate() ? 2 : 1);
        QTextStream(stderr) << SeverityText(Severity::Error) << ": "
                            << (first == QChar(QChar::ReplacementCharacter)
                                    ? QStringLiteral("「%1」にUTF-8として読めないバイトがあります。").arg(given)
                                    : QStringLiteral("「%1」の「%2」（U+%3）はシフトJISにない文字なので、"
                                                     "携帯では読めません。")
                                          .arg(given, first,
                                               QString::number(first.toUcs4().value(0), 16)
                                                   .toUpper()
                                                   .rightJustified(4, QLatin1Char('0'))))
                            << '\n';
        return CannotCheck;
    }
    if (AddressWithoutHost(commandLine.qrText))
        QTextStream(stderr) << SeverityText(Severity::Warning) << ": "
                            << QStringLiteral("「%1」にはサーバーの名前がないので、携帯では開けません"
                                              "（http://サーバー/… の形にしてください）。")
                                   .arg(commandLine.qrText.trimmed())
                            << '\n';
    const QByteArray text = sjis::fromUnicode(commandLine.qrText);
    const QrSymbol symbol = MakeQrCode(
        commandLine.title.isEmpty() ? text : BookmarkText(sjis::fromUnicode(commandLine.title), text));
    QString problem = symbol.problem;
    if (problem.isEmpty())
        problem = writePicture(DrawQrCode(symbol, 8), commandLine.output);
    if (!problem.isEmpty()) {
        QTextStream(stderr) << SeverityText(Severity::Error) << ": " << problem << '\n';
        return CannotCheck;
    }
    return NoErrors;
}

// The page and its pictures made for the handset, written into `folder` with a copy of the
// project that makes them; the project itself is left as it is.
int exportPage(const QString &project, const Subject &subject, const CommandLine &commandLine)
{
    const QString &folder = commandLine.output;
    QTextStream out(stdout);
    QTextStream err(stderr);
    const OpenedProject &opened = subject.opened;
    PageExport exported = ExportPage(opened.page, subject.location, opened.pattern,
                                     opened.pattern.PartCount, subject.handset,
                                     QFileInfo(project).completeBaseName());
    exported.readFrom << project;
    const ExistingFiles existing = commandLine.replace ? ExistingFiles::Replaced : ExistingFiles::Kept;
    const auto failed = [&](const QString &message) {
        err << project << ": " << SeverityText(Severity::Error) << ": " << message << '\n'
            << project << ": " << QStringLiteral("何も書き出していません。") << '\n';
        return CannotCheck;
    };
    // What stands in the way is said before the pictures are, as if they had been written.
    const auto refusal = [&](const std::function<void()> &writing) -> std::optional<int> {
        try {
            writing();
        } catch (const NamesTaken &taken) {
            return failed(taken.message() + QStringLiteral("（置き換えるときは --replace を付けます）"));
        } catch (const IoError &error) {
            return failed(QStringLiteral("書き込めません: ") + error.explained());
        } catch (const UserError &error) {
            return failed(oneLine(error.message()));
        }
        return std::nullopt;
    };
    if (exported.made())
        if (const auto refused = refusal([&] { CheckPageExport(exported, folder, existing); }))
            return *refused;
    for (const ExportedPicture &picture : exported.pictures) {
        const FittedPicture &fitted = picture.fitted;
        if (fitted.bytes.isEmpty())
            continue;
        out << project << ": " << QStringLiteral("画像「%1」: ").arg(picture.source)
            << PictureFactsText(fitted.sourceFormat, fitted.sourceSize, fitted.sourceColours,
                           picture.sourceBytes)
            << QStringLiteral(" → 「%1」: ").arg(picture.name)
            << PictureFactsText(fitted.format, fitted.size, fitted.colours, fitted.bytes.size()) << '\n';
        if (!fitted.note.isEmpty())
            out << project << ": " << SeverityText(Severity::Notice) << ": " << fitted.note << '\n';
    }
    const SizeTexts said = SizeAgainstLimit(exported.totalBytes(), exported.limitBytes);
    out << project << ": "
        << QStringLiteral("大きさ: %1 %2 / %3 %2（%4、画像を含む）")
               .arg(said.size, said.unit, said.limit, subject.handset.name)
        << '\n';
    if (!exported.made()) {
        for (const QString &problem : exported.problems)
            err << project << ": " << SeverityText(Severity::Error) << ": " << problem << '\n';
        err << project << ": " << QStringLiteral("何も書き出していません。") << '\n';
        return Errors;
    }
    const auto writing = [&] {
        // A Ctrl+C or a shut-down waits until the files are all in place or all taken back.
        sigset_t ending;
        sigset_t before;
        sigemptyset(&ending);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&ending, signal);
        sigprocmask(SIG_BLOCK, &ending, &before);
        const auto unblock = qScopeGuard([&before] { sigprocmask(SIG_SETMASK, &before, nullptr); });
        WritePageExport(exported, folder, existing);
    };
    if (const auto refused = refusal(writing))
        return *refused;
    out << project << ": " << QStringLiteral("「%1」に書き出しました。").arg(QDir::toNativeSeparators(folder))
        << '\n';
    return NoErrors;
}

} // namespace

int RunCommandLine(const CommandLine &commandLine, const QString &programFolder)
{
    switch (commandLine.run) {
    case CommandLine::Run::Help:
        QTextStream(stdout) << commandLineHelp(commandLine.programName);
        return NoErrors;
    case CommandLine::Run::Version:
        QTextStream(stdout) << commandLine.programName << ' ' << QStringLiteral(MOPECO_VERSION) << '\n';
        return NoErrors;
    case CommandLine::Run::Window: // main opens the window itself
        return NoErrors;
    case CommandLine::Run::Mistake:
        QTextStream(stderr) << commandLine.mistake << '\n'
                            << QStringLiteral("「%1 --help」で使い方を表示します。")
                                   .arg(commandLine.programName)
                            << '\n';
        return CannotCheck;
    case CommandLine::Run::Qr:
        return qrCode(commandLine);
    case CommandLine::Run::Check:
    case CommandLine::Run::Preview:
    case CommandLine::Run::Export:
    case CommandLine::Run::Publish:
        break;
    }
    QString handset;
    if (commandLine.handset) {
        handset = *commandLine.handset;
    } else {
        const SavedSetting<QString> saved = SavedHandsetName(programFolder);
        if (!saved.problem.isEmpty())
            QTextStream(stderr) << SeverityText(Severity::Notice) << ": " << oneLine(saved.problem)
                                << '\n';
        handset = saved.value;
    }
    const QString &project = commandLine.project;
    const std::optional<Subject> subject =
        subjectOf(project, handset, commandLine.htmlFolder, programFolder);
    if (!subject)
        return CannotCheck;
    switch (commandLine.run) {
    case CommandLine::Run::Preview:
        return preview(project, *subject, commandLine.output);
    case CommandLine::Run::Export:
        return exportPage(project, *subject, commandLine);
    case CommandLine::Run::Publish:
        return PublishFromCommandLine(project, {subject->opened.page, subject->location, subject->opened.pattern},
                                      commandLine, programFolder);
    default:
        return check(project, *subject);
    }
}
