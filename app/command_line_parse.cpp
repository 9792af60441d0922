#include "app/command_line_parse.h"

#include "app/command_line_options.h"
#include "text/nearest_name.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>

namespace {

// An argument that is an option, as written before any "=value", and its name without dashes.
struct WrittenOption {
    QString written;
    QString name;
    bool hasValue = false;
};

std::optional<WrittenOption> writtenOption(const QString &argument)
{
    if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
        return std::nullopt;
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString written = equals < 0 ? argument : argument.left(equals);
    return WrittenOption{written, written.mid(written.startsWith(QLatin1String("--")) ? 2 : 1),
                         equals >= 0};
}

const CommandLineOptionEntry *entryNamed(const QString &name)
{
    for (const CommandLineOptionEntry &entry : commandLineOptions())
        if (entry.names.contains(name))
            return &entry;
    return nullptr;
}

// The options given before "--", as the user wrote them. A value that looks like an option is
// among them too; the parser's verdict says which of them to name.
std::vector<WrittenOption> writtenOptions(const QStringList &arguments)
{
    std::vector<WrittenOption> options;
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        if (const std::optional<WrittenOption> option = writtenOption(argument))
            options.push_back(*option);
    }
    return options;
}

QString missingValue(const QString &written, const CommandLineOptionEntry &entry)
{
    return QStringLiteral("「%1」のあとに値（%2）がありません。").arg(written, entry.valueName);
}

// Qt's own error texts are English: say what is wrong in Japanese, quoting the argument.
QString mistakeOf(const QCommandLineParser &parser, const QStringList &arguments)
{
    const std::vector<WrittenOption> options = writtenOptions(arguments);
    const QStringList unknown = parser.unknownOptionNames();
    for (const WrittenOption &option : options)
        if (unknown.contains(option.name)) {
            QStringList known;
            for (const CommandLineOptionEntry &entry : commandLineOptions())
                for (const QString &name : entry.names)
                    known << writtenOptionName(name);
            const QString dashes = option.written.startsWith(QStringLiteral("--")) ? QStringLiteral("--") : QStringLiteral("-");
            const QString nearest = NearestName(dashes + option.name, known);
            return QStringLiteral("「%1」は知らないオプションです。").arg(option.written)
                   + (nearest.isEmpty() ? QString() : QStringLiteral("もしかして「%1」？").arg(nearest));
        }
    // The parser takes the next argument as the value, so only the last one can lack it.
    const std::optional<WrittenOption> last = writtenOption(arguments.last());
    const CommandLineOptionEntry *lastEntry = last ? entryNamed(last->name) : nullptr;
    if (lastEntry && !lastEntry->valueName.isEmpty() && !last->hasValue)
        return missingValue(last->written, *lastEntry);
    for (const WrittenOption &option : options) {
        const CommandLineOptionEntry *entry = entryNamed(option.name);
        if (entry && entry->valueName.isEmpty() && option.hasValue)
            return QStringLiteral("「%1」には値を付けられません。").arg(option.written);
    }
    return parser.errorText();
}

// An option given twice, as first written, or one the run asked for has no use for; empty when
// there is none. Help and the version take no notice of the rest.
QString optionMisused(const QCommandLineParser &parser, CommandLineAction run, const QString &runName)
{
    QList<const CommandLineOptionEntry *> seen;
    for (const QString &name : parser.optionNames()) {
        const CommandLineOptionEntry *entry = entryNamed(name);
        if (!entry)
            continue;
        if (seen.contains(entry))
            return QStringLiteral("「%1」が二度あります。一度だけ指定してください。")
                .arg(writtenOptionName(name));
        seen << entry;
        const bool used = entry->action == run
                          || std::find(entry->usedBy.begin(), entry->usedBy.end(), run)
                                 != entry->usedBy.end();
        if (!used)
            return QStringLiteral("「%1」は「%2」とは一緒に使えません。").arg(writtenOptionName(name), runName);
    }
    return {};
}

CommandLine mistake(CommandLine line, const QString &message)
{
    line.run = CommandLine::Run::Mistake;
    line.mistake = message;
    return line;
}

} // namespace

QByteArray PictureFormatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("gif"))
        return suffix.toLatin1();
    // A name that says no format (a device, a pipe) takes PNG.
    return suffix.isEmpty() ? QByteArray("png") : QByteArray();
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    line.programName = QFileInfo(arguments.value(0)).fileName();
    if (arguments.size() <= 1)
        return line;

    QCommandLineParser parser;
    // Each argument is one option, so a mistake can be quoted as written; "-o=FILE" and
    // "--output=FILE" are read as "-o FILE".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const CommandLineOptionEntry &entry : commandLineOptions())
        parser.addOption(QCommandLineOption(entry.names, entry.description, entry.valueName));
    if (!parser.parse(arguments))
        return mistake(line, mistakeOf(parser, arguments));
    // A project alone, as a file manager hands it over, opens in the window.
    const QStringList positional = parser.positionalArguments();
    const bool optionsGiven = !parser.optionNames().isEmpty();
    if (positional.size() == 1 && !optionsGiven) {
        line.project = positional.constFirst();
        return line;
    }
    if (!positional.isEmpty())
        return mistake(line, QStringLiteral("余分な引数「%1」があります。")
                                 .arg(positional.value(optionsGiven ? 0 : 1)));

    // An empty value ("--check=") names no file or handset at all.
    for (const CommandLineOptionEntry &entry : commandLineOptions()) {
        const QString &name = entry.names.constFirst();
        if (!entry.valueName.isEmpty() && parser.values(name).contains(QString()))
            return mistake(line, missingValue(writtenOptionName(name), entry));
    }

    auto given = [&parser](CommandLineAction action) {
        for (const CommandLineOptionEntry &entry : commandLineOptions())
            if (entry.action == action && parser.isSet(entry.names.constFirst()))
                return true;
        return false;
    };
    auto value = [&parser](const char *name) { return parser.value(QLatin1String(name)); };
    if (given(CommandLineAction::Help)) {
        line.run = CommandLine::Run::Help;
        return line;
    }
    if (given(CommandLineAction::Version)) {
        line.run = CommandLine::Run::Version;
        return line;
    }
    // Exactly one of the runs that work on a project or make a QR code.
    static const std::vector<std::pair<CommandLineAction, CommandLine::Run>> runs{
        {CommandLineAction::Check, CommandLine::Run::Check},
        {CommandLineAction::Preview, CommandLine::Run::Preview},
        {CommandLineAction::Export, CommandLine::Run::Export},
        {CommandLineAction::Qr, CommandLine::Run::Qr},
        {CommandLineAction::Publish, CommandLine::Run::Publish}};
    const auto optionOf = [](CommandLineAction action) {
        for (const CommandLineOptionEntry &entry : commandLineOptions())
            if (entry.action == action)
                return writtenOptionName(entry.names.constFirst());
        return QString();
    };
    QStringList offered;
    QStringList chosen;
    for (const auto &[action, run] : runs) {
        offered << optionOf(action);
        if (given(action)) {
            line.run = run;
            chosen << offered.constLast();
        }
    }
    if (chosen.size() > 1)
        return mistake(line, QStringLiteral("「%1」は一緒に使えません。").arg(chosen.join(QStringLiteral("」と「"))));
    if (chosen.isEmpty())
        return mistake(line, QStringLiteral("何をするかを「%1」のどれかで指定してください。")
                                 .arg(offered.join(QStringLiteral("」「"))));
    if (line.run != CommandLine::Run::Check && line.run != CommandLine::Run::Publish
        && !parser.isSet(QStringLiteral("output")))
        return mistake(line, QStringLiteral("「%1」には保存先を「-o」で指定してください。").arg(chosen.constFirst()));
    for (const auto &[action, run] : runs)
        if (run == line.run)
            if (const QString misused = optionMisused(parser, action, chosen.constFirst()); !misused.isEmpty())
                return mistake(line, misused);
    const QString chosenValue = parser.value(chosen.constFirst().mid(2));
    if (line.run == CommandLine::Run::Qr)
        line.qrText = chosenValue;
    else
        line.project = chosenValue;
    if (parser.isSet(QStringLiteral("handset")))
        line.handset = value("handset");
    line.htmlFolder = value("html-folder");
    line.title = value("title");
    line.output = value("output");
    line.replace = parser.isSet(QStringLiteral("replace"));
    line.to = value("to");
    line.dryRun = parser.isSet(QStringLiteral("dry-run"));
    line.keyFile = value("key");
    line.trust = value("trust");
    // A picture is written in the format its name says, decided before any work.
    if ((line.run == CommandLine::Run::Preview || line.run == CommandLine::Run::Qr)
        && PictureFormatFor(line.output).isEmpty())
        return mistake(line, QStringLiteral("「%1」には書き出せません。画像の名前は「.png」か「.gif」で"
                                            "終わるようにしてください。")
                                 .arg(line.output));
    return line;
}
