#pragma once

#include "generator/page_generator.h"
#include "model/handset_choice.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "textmap/text_map.h"
#include "model/tool_settings.h"
#include "widgets/page_session.h"

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
