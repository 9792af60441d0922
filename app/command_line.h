#pragma once

#include "app/command_line_parse.h"

#include <QString>

// Runs a command line that asks for no window and gives the exit code. "--check PROJECT"
// checks the page the project makes: a finding a line, in the form "PROJECT: 警告: リンク4: …",
// then the page's size against the handset's limit; 0 without errors, 1 with one, 2 when the
// project cannot be read. "--preview PROJECT -o PAGE.png" writes the phone preview of the
// whole page. "--qr TEXT -o CODE.png [--title TITLE]" writes the text, or its bookmark form with
// the title, as a QR code; 2 when it does not fit or cannot be written. A mistaken command line
// is said on stderr and ends with 2.
int RunCommandLine(const CommandLine &commandLine, const QString &programFolder);
