#include "model/page_project.h"

void ResetPage(PageProject &page, WorkingState &state)
{
    page = PageProject();
    state.CurrentImage = 1;
    state.CurrentText = 1;
    state.CurrentLink = 1;
    state.CurrentDirect = 1;
}
