#include "page/page_project.h"

#include <QFileInfo>

void ResetPage(PageProject &page, WorkingState &state)
{
    page = PageProject();
    state.CurrentImage = 1;
    state.CurrentText = 1;
    state.CurrentLink = 1;
    state.CurrentDirect = 1;
}

QString PictureFolder(const PageProject &page, const PageLocation &location)
{
    if (!location.PageFolder.isEmpty())
        return location.PageFolder;
    if (!location.ProjectFolder.isEmpty())
        return location.ProjectFolder;
    if (page.BodyFile.bytes.isEmpty() && page.BodyFile.chosen.isEmpty())
        return {};
    return QFileInfo(BodyFileOnDisk(page, location)).absolutePath();
}

QString BodyFileOnDisk(const PageProject &page, const PageLocation &location)
{
    return page.BodyFile.onDisk(location.ProjectFolder);
}

std::uint8_t steppedSlot(std::uint8_t current, int count, int step)
{
    const int slot = (current - 1 + step) % count;
    return static_cast<std::uint8_t>((slot < 0 ? slot + count : slot) + 1);
}
