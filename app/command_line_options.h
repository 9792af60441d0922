#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// What an option asks the program to do. Any of them but None makes a run without a window.
enum class CommandLineAction { None, Help, Version, Check, Preview, Export, Qr, Publish };

// One option of the command line: its names (a letter for "-o", a word for "--output"), the
// name of its value (empty for a switch), what it does in the help, what it asks for, and, for
// an option that asks for nothing itself, the runs it means something to.
struct CommandLineOptionEntry {
    QStringList names;
    QString valueName;
    QString description;
    CommandLineAction action;
    std::vector<CommandLineAction> usedBy = {};
};

// Every option the program knows, in the order the help lists them. The parser and the help
// are both made from it.
const std::vector<CommandLineOptionEntry> &commandLineOptions();

// An option's name as it is written: "-o" for a letter, "--output" for a word.
QString writtenOptionName(const QString &name);

// The help, in Japanese throughout, for the program called programName.
QString commandLineHelp(const QString &programName);
