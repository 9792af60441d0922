#pragma once

#include "page/page_project.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The project file: a format marker line, then every page field and slot, one value per line.
// "ver2.10" is written and read; "ver2.00", the same without the two separator fields, is read.

QByteArray WriteProject(const PageProject &page);

// Reads a project file's bytes on top of `current`: fields the file does not hold keep their
// values. An unknown first line gives nothing; a bad number throws IoError. The caller assigns
// the result, so a broken file never leaves a half-read page.
std::optional<PageProject> ReadProject(const QByteArray &bytes, const PageProject &current);

// A project read from its file, and how far the file went when it ended before its last field.
struct ProjectRead {
    PageProject page;
    int endedAtLine = 0; // the file's last line when it ended early; 0 when it held every field
};

// ReadProject, saying also whether the file ended early. The fields past its end are read as
// empty texts and 0, as the program has always read short files.
std::optional<ProjectRead> ReadProjectFile(const QByteArray &bytes, const PageProject &current);

// What the user is told of a project file that ended at `line`.
QString EndedEarlyMessage(int line);
