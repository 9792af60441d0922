#include "app/command_line.h"

#include "check/page_check.h"
#include "check/phone_preview.h"
#include "model/handsets.h"
#include "model/io_error.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "model/program_settings.h"
#include "model/project_file.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QTextStream>

#include <cstring>

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
    QString pictureFolder;
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
        err << project << ": " << QStringLiteral("機種「%1」は知りません").arg(handsetName) << '\n';
        return std::nullopt;
    }
    try {
        return Subject{openProject(project, programFolder), *handset,
                       htmlFolder.isEmpty() ? QFileInfo(project).absolutePath() : htmlFolder};
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
    const QString &folder = subject.pictureFolder;
    const PageCheckResult result = CheckPageOf(opened.page, opened.pattern,
                                               opened.pattern.PartCount, folder, *handset);
    if (opened.endedAtLine > 0)
        out << project << ": " << SeverityText(Severity::Warning) << ": "
            << EndedEarlyMessage(opened.endedAtLine) << '\n';
    for (const Finding &finding : result.findings)
        out << project << ": " << SeverityText(finding.severity) << ": " << ItemName(finding)
            << ": " << finding.message << '\n';
    out << project << ": "
        << QStringLiteral("大きさ: %1 / %2 KB（%3、画像を含む）")
               .arg(KilobytesText(result.totalBytes()))
               .arg(handset->pageLimitKb)
               .arg(handset->name)
        << '\n';
    return result.hasErrors() ? Errors : NoErrors;
}

// The phone preview of the whole page, written as a PNG picture.
int preview(const QString &project, const Subject &subject, const QString &picturePath)
{
    const OpenedProject &opened = subject.opened;
    PhonePreview phone;
    PageFiles files;
    phone.setPage(PageAsWrittenNow(opened.page, opened.pattern, opened.pattern.PartCount, files).lines,
                  subject.handset, subject.pictureFolder);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QString problem;
    if (!QImageWriter(&buffer, "png").write(phone.draw(0, 0, PhonePreview::Extent::WholePage))) {
        problem = QStringLiteral("「%1」に書き込めません").arg(picturePath);
    } else {
        // Through the one write path: every step checked, an old picture kept on failure.
        try {
            saveFileBytes(picturePath, png);
        } catch (const UserError &error) {
            problem = QStringLiteral("「%1」に書き込めません（%2）").arg(picturePath, error.message());
        }
    }
    if (!problem.isEmpty()) {
        QTextStream(stderr) << project << ": " << SeverityText(Severity::Error) << ": " << problem << '\n';
        return CannotCheck;
    }
    return NoErrors;
}

} // namespace

namespace {

bool hasOption(int argc, char **argv, std::initializer_list<const char *> options)
{
    for (int index = 1; index < argc; ++index)
        for (const char *option : options)
            if (std::strcmp(argv[index], option) == 0)
                return true;
    return false;
}

} // namespace

bool IsCommandLineRun(int argc, char **argv)
{
    return hasOption(argc, argv,
                     {"--check", "--preview", "--help", "-h", "--version", "-v", "--help-all"});
}

bool IsPreviewRun(int argc, char **argv)
{
    return hasOption(argc, argv, {"--preview"});
}

int RunCommandLine(const QStringList &arguments, const QString &programFolder)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("i-mode の携帯電話向けのホームページを作ります。"));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption checkOption(
        QStringLiteral("check"),
        QStringLiteral("プロジェクトが作るページを、携帯で表示できるか調べます。"),
        QStringLiteral("プロジェクト.mpk"));
    const QCommandLineOption handsetOption(
        QStringLiteral("handset"),
        QStringLiteral("調べる機種（シリーズ名 503i か機種名 SH505i）。"),
        QStringLiteral("機種"));
    const QCommandLineOption previewOption(
        QStringLiteral("preview"),
        QStringLiteral("プロジェクトが作るページを、携帯で見たように画像にします（-o で保存先）。"),
        QStringLiteral("プロジェクト.mpk"));
    const QCommandLineOption outputOption(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("プレビューを保存するPNGファイル。"),
                                          QStringLiteral("画像.png"));
    const QCommandLineOption folderOption(
        QStringLiteral("html-folder"),
        QStringLiteral("画像を探すフォルダ（なければプロジェクトのフォルダ）。"),
        QStringLiteral("フォルダ"));
    parser.addOptions({checkOption, previewOption, outputOption, handsetOption, folderOption});
    if (!parser.parse(arguments)) {
        QTextStream(stderr) << parser.errorText() << '\n';
        return CannotCheck;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(NoErrors);
    if (parser.isSet(versionOption))
        parser.showVersion();
    const bool previewing = parser.isSet(previewOption);
    if (!parser.isSet(checkOption) && !(previewing && parser.isSet(outputOption)))
        parser.showHelp(CannotCheck);
    const QString project = parser.value(previewing ? previewOption : checkOption);
    QString handset = parser.value(handsetOption);
    if (!parser.isSet(handsetOption)) {
        const SavedSetting<QString> saved = SavedHandsetName(programFolder);
        if (!saved.problem.isEmpty())
            QTextStream(stderr) << SeverityText(Severity::Notice) << ": " << oneLine(saved.problem)
                                << '\n';
        handset = saved.value;
    }
    const std::optional<Subject> subject =
        subjectOf(project, handset, parser.value(folderOption), programFolder);
    if (!subject)
        return CannotCheck;
    return previewing ? preview(project, *subject, parser.value(outputOption))
                      : check(project, *subject);
}
