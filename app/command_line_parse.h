#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for. It is read once, before any application object is made, so
// that a run without a window, or a mistyped command line, never needs a display.
struct CommandLine {
    enum class Run { Window, Help, Version, Check, Preview, Export, Qr, Publish, Mistake };
    Run run = Run::Window;
    QString programName;
    QString project; // for the window, the project to open; none when empty
    std::optional<QString> handset; // the phone chosen last when not given
    QString htmlFolder;             // the project's folder when empty
    QString output;                 // where --preview, --export and --qr write
    QString qrText;                 // what --qr makes a code of
    QString title;                  // with --qr, the bookmark's title; none when empty
    bool replace = false;           // with --export, files of the same names are replaced
    QString to;                     // with --publish, the destination's address
    bool dryRun = false;            // with --publish, the plan is said and nothing sent
    QString keyFile;                // with --publish, the SSH private key to log in with
    QString trust;                  // with --publish, the fingerprint of the server's key to trust
    QString mistake;                // what is wrong, for Run::Mistake
};

// Reads the arguments, the program's name first, through the table of options. Without any
// argument the program opens its window, and so it does with a project file alone, opened;
// anything not in the table, an option given twice, one that means nothing to the run asked
// for, and a picture named for a format it cannot be written in, are mistakes.
CommandLine parseCommandLine(const QStringList &arguments);

// The format a picture named so is written in, by its name's ending: "gif" for ".gif", "png" for
// ".png" and for a name with no ending (a device, a pipe); empty for any other ending.
QByteArray PictureFormatFor(const QString &path);
