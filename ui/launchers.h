#pragma once

#include <QString>

struct ToolSettings;

// The command lines the toolbar starts. The FTP program has no stand-in: an empty setting
// starts nothing. An empty editor or paint setting starts the desktop's usual one, the first
// of a short list found on the PATH (nothing when none is).
QString ftpCommandLine(const ToolSettings &settings);
QString editorCommandLine(const ToolSettings &settings);
QString paintCommandLine(const ToolSettings &settings);
