#include "model/page_project.h"

void ResetPage(PageProject &page, WorkingState &state)
{
    page = PageProject();
    state.CurrentImage = 1;
    state.CurrentText = 1;
    state.CurrentLink = 1;
    state.CurrentDirect = 1;
}

std::uint8_t steppedSlot(std::uint8_t current, int count, int step)
{
    const int slot = (current - 1 + step) % count;
    return static_cast<std::uint8_t>((slot < 0 ? slot + count : slot) + 1);
}
