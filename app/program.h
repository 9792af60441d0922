#pragma once

#include "document/page_session.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "settings/handset_choice.h"
#include "settings/tool_settings.h"
#include "textmap/text_map.h"

#include <QString>

// The records of the running program. Each window is given the ones it reads and writes.
struct Program {
    QString ProgramFolder;
    // The page, where its files lie, its changes and their undoing.
    PageSession session{ProgramFolder};
    HandsetChoice handsetChoice{ProgramFolder}; // the handset the page is meant for
    WorkingState state; // what the main window shows of the page
    PatternCatalogue catalogue;
    Pattern pattern;
    ToolSettings toolSettings;
    TextMap textMap;
};
