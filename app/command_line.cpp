#include "app/command_line.h"

#include "check/page_check.h"
#include "model/handsets.h"
#include "model/io_error.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "model/program_settings.h"
#include "model/project_file.h"
#include "model/text_reader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cstring>

namespace {

enum ExitCode { NoErrors = 0, Errors = 1, CannotCheck = 2 };

// The page of a project file as the main window would have it after "データ開く": pattern 1
// from the start, then the project's own.
struct OpenedProject {
    PageProject page;
    Pattern pattern;
};

OpenedProject openProject(const QString &path, const QString &programFolder)
{
    std::optional<PageProject> read =
        parseFile(path, [](const QByteArray &bytes) { return ReadProject(bytes, PageProject()); });
    if (!read)
        throw UserError(QStringLiteral("プロジェクトファイルではありません（1行目が ver2.10 でも "
                                       "ver2.00 でもありません）"));
    OpenedProject opened{*read, {}};
    PatternCatalogue catalogue;
    ReadPatternCatalogueFile(programFolder, catalogue);
    std::int32_t number = 1;
    LoadPattern(1, catalogue, programFolder, opened.pattern, number);
    LoadPattern(opened.page.PatternNumber, catalogue, programFolder, opened.pattern, number);
    return opened;
}

int check(const QString &project, const QString &handsetName, const QString &htmlFolder,
          const QString &programFolder)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<Handset> handset = FindHandset(handsetName);
    if (!handset) {
        err << project << ": " << QStringLiteral("機種「%1」は知りません").arg(handsetName) << '\n';
        return CannotCheck;
    }
    OpenedProject opened;
    try {
        opened = openProject(project, programFolder);
    } catch (const UserError &error) {
        // The place of a bad value, on the message's second line, goes in brackets.
        QStringList lines = error.message().split(QLatin1Char('\n'));
        const QString place = lines.size() > 1 ? QStringLiteral("（%1）").arg(lines.takeLast()) : QString();
        err << project << ": " << SeverityText(Severity::Error) << ": " << lines.join(' ') << place
            << '\n';
        return CannotCheck;
    }
    const QString folder =
        htmlFolder.isEmpty() ? QFileInfo(project).absolutePath() : htmlFolder;
    const PageCheckResult result = CheckPageOf(opened.page, opened.pattern,
                                               opened.pattern.PartCount, folder, *handset);
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

} // namespace

bool IsCommandLineRun(int argc, char **argv)
{
    for (int index = 1; index < argc; ++index)
        for (const char *option : {"--check", "--help", "-h", "--version", "-v", "--help-all"})
            if (std::strcmp(argv[index], option) == 0)
                return true;
    return false;
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
    const QCommandLineOption folderOption(
        QStringLiteral("html-folder"),
        QStringLiteral("画像を探すフォルダ（なければプロジェクトのフォルダ）。"),
        QStringLiteral("フォルダ"));
    parser.addOptions({checkOption, handsetOption, folderOption});
    if (!parser.parse(arguments)) {
        QTextStream(stderr) << parser.errorText() << '\n';
        return CannotCheck;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(NoErrors);
    if (parser.isSet(versionOption))
        parser.showVersion();
    if (!parser.isSet(checkOption))
        parser.showHelp(CannotCheck);
    const QString handset = parser.isSet(handsetOption) ? parser.value(handsetOption)
                                                        : SavedHandsetName(programFolder);
    return check(parser.value(checkOption), handset, parser.value(folderOption), programFolder);
}
