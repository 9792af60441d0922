#pragma once

#include "model/page_project.h"

#include <QByteArray>

#include <optional>

// The project file: a format marker line, then every page field and slot, one value per line.
// "ver2.10" is written and read; "ver2.00", the same without the two separator fields, is read.

QByteArray WriteProject(const PageProject &page);

// Reads a project file's bytes on top of `current`: fields the file does not hold keep their
// values. An unknown first line gives nothing; a bad number throws IoError. The caller assigns
// the result, so a broken file never leaves a half-read page.
std::optional<PageProject> ReadProject(const QByteArray &bytes, const PageProject &current);
