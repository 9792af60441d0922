#include "windows/page_commands.h"

#include "page/page_as_written.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/project_file.h"
#include "text/text_reader.h"
#include "widgets/desktop.h"
#include "widgets/file_dialog.h"

bool GeneratePage(int partCount, const PageProject &page, const PageLocation &location,
                  const Pattern &pattern, FileDialog &saveDialog,
                  Desktop &desktop)
{
    // The page is made before the dialog, so an unreadable body file stops here.
    BodyFiles files;
    const PageNow now = PageAsWrittenNow(page, location, pattern, partCount, files);
    if (now.bodyError)
        throw *now.bodyError;
    return saveDialog.save(desktop, [&] { return now.bytes(); });
}

bool SaveProject(const PageProject &page, FileDialog &saveDialog, Desktop &desktop)
{
    return saveDialog.save(desktop, [&] { return WriteProject(page); });
}

bool ReadProjectInto(PageProject &page, const QString &path, Desktop &desktop)
{
    std::optional<ProjectRead> opened =
        parseFile(path, [&](const QByteArray &bytes) { return ReadProjectFile(bytes, page); });
    if (!opened)
        return false;
    page = std::move(opened->page);
    if (opened->endedAtLine > 0)
        desktop.showWarning(EndedEarlyMessage(opened->endedAtLine));
    return true;
}

bool OpenProject(PageProject &page, FileDialog &openDialog, Desktop &desktop)
{
    bool replaced = false;
    openDialog.open(desktop, [&](const QString &path) { replaced = ReadProjectInto(page, path, desktop); });
    return replaced;
}
