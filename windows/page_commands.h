#pragma once

struct PageProject;
struct PageLocation;
struct Pattern;
class FileDialog;
class Desktop;
class QString;

// "HTML保存": reads the body text when it is used (a relative path against the project's
// folder), asks for the file with `saveDialog` and writes the page of the first `partCount`
// parts. A cancelled dialog writes nothing. True when the page was written.
bool GeneratePage(int partCount, const PageProject &page, const PageLocation &location,
                  const Pattern &pattern, FileDialog &saveDialog,
                  Desktop &desktop);

// "データ保存": asks for the file and writes the project in the current format. True when it
// was written.
bool SaveProject(const PageProject &page, FileDialog &saveDialog, Desktop &desktop);

// "データ開く": asks for the file and reads it into the page. True when the page was
// replaced, so the caller shows it; a cancelled dialog or an unknown format changes nothing.
// A file that ends early opens, with a warning that says so.
bool OpenProject(PageProject &page, FileDialog &openDialog, Desktop &desktop);

// Reads the project file at `path` into the page, as "データ開く" reads the file chosen: true
// when the page was replaced; an unknown format changes nothing. Throws IoError when the file
// cannot be read.
bool ReadProjectInto(PageProject &page, const QString &path, Desktop &desktop);
