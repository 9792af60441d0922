#pragma once

#include "app/command_line_parse.h"
#include "page/page_project.h"
#include "page/pattern.h"

// The project's page as "--publish" sends it.
struct PublishedProject {
    const PageProject &page;
    const PageLocation &location;
    const Pattern &pattern;
};

// "--publish": the page as HTML保存 writes it, named after the project ("shop.html"), and its
// pictures, to the destination set in the window or the one --to names for this run, sending
// only what changed since the last publish there. A server's key must be the one trusted
// before, or the one --trust names, which is then kept. Prints the plan and each file's result. Exits 0 when the server holds the page and its
// pictures, 1 when something could not be sent (nothing half-written), 2 for a mistake in the
// command or the project (a picture missing, a name a server does not take, no password).
int PublishFromCommandLine(const QString &projectFile, const PublishedProject &project,
                           const CommandLine &commandLine, const QString &programFolder);
