#pragma once

#include "text/stored_path.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// The outside programs and the home page address the toolbar starts and opens, kept in
// "set.dat" beside the program between runs. The reserved values are only carried through.
struct ToolSettings {
    StoredPath FtpProgram;
    StoredPath EditorProgram;
    StoredPath PaintProgram;
    QByteArray HomePage;
    QByteArray ReservedText;
    std::int32_t ReservedNumber1 = 0;
    std::int32_t ReservedNumber2 = 0;
};

// Reads the seven lines of "set.dat" into `settings`, field by field: lines the file does not
// have read as empty or 0; a bad number throws IoError with the fields before it read.
void ReadToolSettings(const QByteArray &bytes, ToolSettings &settings);
QByteArray WriteToolSettings(const ToolSettings &settings);

// "set.dat" of the program folder; a missing file (or anything but a regular file) leaves the
// settings as they are.
void ReadToolSettingsFile(const QString &programFolder, ToolSettings &settings);
void WriteToolSettingsFile(const QString &programFolder, const ToolSettings &settings);
