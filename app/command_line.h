#pragma once

#include <QString>
#include <QStringList>

// Whether the command line asks for something that needs no window: --help, --version,
// --check or --preview. The program then runs without a display.
bool IsCommandLineRun(int argc, char **argv);

// Whether it draws: --preview needs fonts, on the offscreen platform, which a check does not.
bool IsPreviewRun(int argc, char **argv);

// Runs such a command line and gives the exit code. "--check PROJECT" checks the page the
// project makes: a finding a line, in the form "PROJECT: 警告: リンク4: …", then the page's
// size against the handset's limit; 0 without errors, 1 with one, 2 when the project cannot
// be read. "--preview PROJECT -o PAGE.png" writes the phone preview of the whole page.
int RunCommandLine(const QStringList &arguments, const QString &programFolder);
