#include "windows/launchers.h"

#include "settings/tool_settings.h"
#include "text/sjis.h"
#include "text/stored_path.h"
#include "widgets/desktop.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool isExecutableFile(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

std::optional<ProgramStart> firstOnPath(const QStringList &programs)
{
    for (const QString &program : programs)
        if (QString found = QStandardPaths::findExecutable(program); !found.isEmpty())
            return ProgramStart{found, {}};
    return std::nullopt;
}

std::optional<ProgramStart> programFor(const StoredPath &setting)
{
    if (!setting.chosen.isEmpty())
        return ProgramStart{setting.chosen, {}};
    const bool namesFolder = setting.bytes.contains('/') || setting.bytes.contains('\\');
    if (namesFolder) {
        if (QString whole = resolveStoredPath(setting.bytes); isExecutableFile(whole))
            return ProgramStart{whole, {}};
    }
    QStringList words = splitCommandLine(sjis::toUnicode(setting.bytes));
    if (words.isEmpty())
        return std::nullopt;
    const QString command = words.takeFirst();
    const QString program = command.contains(QLatin1Char('/'))
                                ? resolveStoredPath(sjis::fromUnicode(command))
                                : QStandardPaths::findExecutable(command);
    if (program.isEmpty())
        return std::nullopt;
    return ProgramStart{program, words};
}

std::optional<ProgramStart> programOr(const StoredPath &setting, const QStringList &standIns)
{
    if (setting.bytes.isEmpty() && setting.chosen.isEmpty())
        return firstOnPath(standIns);
    return programFor(setting);
}

} // namespace

std::optional<ProgramStart> ftpProgram(const ToolSettings &settings)
{
    return programFor(settings.FtpProgram);
}

std::optional<ProgramStart> editorProgram(const ToolSettings &settings)
{
    return programOr(settings.EditorProgram,
                     {"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "pluma", "xed",
                      "featherpad", "leafpad"});
}

std::optional<ProgramStart> paintProgram(const ToolSettings &settings)
{
    return programOr(settings.PaintProgram, {"pinta", "kolourpaint", "drawing", "mtpaint", "gimp"});
}

void startWith(Desktop &desktop, const QString &what, const std::optional<ProgramStart> &start)
{
    desktop.startForUser(what, start ? std::optional<QString>(start->program) : std::nullopt,
                         start ? start->arguments : QStringList());
}

QStringList splitCommandLine(const QString &line)
{
    enum class Quote { None, Single, Double };
    QStringList words;
    QString word;
    bool inWord = false;
    Quote quote = Quote::None;
    for (qsizetype at = 0; at < line.size(); ++at) {
        const QChar character = line[at];
        const bool hasNext = at + 1 < line.size();
        switch (quote) {
        case Quote::Single:
            if (character == u'\'')
                quote = Quote::None;
            else
                word += character;
            continue;
        case Quote::Double:
            if (character == u'"') {
                quote = Quote::None;
            } else if (character == u'\\' && hasNext
                       && QStringView(u"$`\"\\\n").contains(line[at + 1])) {
                if (line[++at] != u'\n')
                    word += line[at];
            } else {
                word += character;
            }
            continue;
        case Quote::None:
            break;
        }
        if (character == u'\\' && hasNext && line[at + 1] == u'\n') {
            ++at; // a line continued: no character at all
            continue;
        }
        if (character == u' ' || character == u'\t' || character == u'\n') {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (character == u'\'') {
            quote = Quote::Single;
        } else if (character == u'"') {
            quote = Quote::Double;
        } else if (character == u'\\' && hasNext) {
            word += line[++at];
        } else {
            word += character;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}
