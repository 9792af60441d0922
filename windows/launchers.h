#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct ToolSettings;
class Desktop;

// An outside program to start: its file and its arguments.
struct ProgramStart {
    QString program;
    QStringList arguments;

    bool operator==(const ProgramStart &) const = default;
};

// What the toolbar starts for each setting. A program chosen in this run starts as chosen. A
// stored line that names an executable file as a whole (spaces and all) starts that file;
// any other line is split into words as a shell splits them, and a first word without a
// folder is looked for on the PATH only, never in the current folder. Nothing is found for
// an empty FTP setting or a program that cannot be found; an empty editor or paint setting
// starts the desktop's usual one, the first of a short list found on the PATH.
std::optional<ProgramStart> ftpProgram(const ToolSettings &settings);
std::optional<ProgramStart> editorProgram(const ToolSettings &settings);
std::optional<ProgramStart> paintProgram(const ToolSettings &settings);

// Starts the program `what` names ("テキストエディタ"); says so when there is none or it does
// not start.
void startWith(Desktop &desktop, const QString &what, const std::optional<ProgramStart> &start);

// The words of a command line as a POSIX shell splits them: blanks separate words; single
// quotes keep everything between them; double quotes keep everything but a backslash before
// $ ` " \ or a line break; a backslash outside quotes keeps the next character. Nothing is
// expanded. An unclosed quote runs to the end of the line.
QStringList splitCommandLine(const QString &line);
