#pragma once

#include <QByteArray>
#include <QString>

// The folder of the program file with its trailing separator. Every file the program keeps or
// ships beside itself is found as this folder followed directly by its name.
QString ProgramFolder(const QString &programFilePath);

// The path of a file named in a data file (a pattern file name in the catalogue, say), found in
// the program folder. Names written with the backslash separator work too.
QString programFilePath(const QString &programFolder, const QByteArray &storedName);

// A path stored in a data file, as a path on disk.
QString pathFromStored(const QByteArray &storedPath);
