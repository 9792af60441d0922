#include "ui/page_commands.h"

#include "generator/body_text.h"
#include "generator/page_generator.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "model/program_folder.h"
#include "model/project_file.h"
#include "model/text_reader.h"
#include "model/text_writer.h"
#include "ui/file_dialog.h"

void GeneratePage(int partCount, const PageProject &page, const Pattern &pattern,
                  GeneratorState &generator, FileDialog &saveDialog, Desktop &desktop)
{
    // The body is read before the dialog, so an unreadable body file stops here.
    if (isOn(page.BodyUsed))
        generator.BodyLines = ReadBodyLines(pathFromStored(page.BodyFile));
    if (!saveDialog.execute(desktop))
        return;
    saveFileBytes(saveDialog.FileName,
                  GeneratePageBytes(page, pattern, partCount, generator.BodyLines));
}

void SaveProject(const PageProject &page, FileDialog &saveDialog, Desktop &desktop)
{
    if (!saveDialog.execute(desktop))
        return;
    saveFileBytes(saveDialog.FileName, WriteProject(page));
}

bool OpenProject(PageProject &page, FileDialog &openDialog, Desktop &desktop)
{
    if (!openDialog.execute(desktop))
        return false;
    std::optional<PageProject> opened = ReadProject(readFileBytes(openDialog.FileName), page);
    if (!opened)
        return false;
    page = std::move(*opened);
    return true;
}
