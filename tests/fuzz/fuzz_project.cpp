// Any bytes as a project file: a clear message or a page that saves and reads back the same,
// whose texts split into pictograms and plain text that join back into the same bytes, and
// whose title, cut to the window's bound, is a start of it within that bound.
#include "fuzz_inputs.h"
#include "imode/pictogram_text.h"
#include "page/page_title.h"
#include "page/project_file.h"
#include "text/io_error.h"

namespace {

void requireRunsJoin(const QByteArray &text)
{
    QByteArray joined;
    for (const TextRun &run : PictogramRuns(text))
        joined += run.bytes;
    require(joined == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const std::optional<PageProject> page = ReadProject(fileBytes(data, size), PageProject());
        if (!page)
            return 0;
        const QByteArray saved = WriteProject(*page);
        const std::optional<PageProject> again = ReadProject(saved, PageProject());
        require(again && WriteProject(*again) == saved);
        requireRunsJoin(page->Title);
        const QByteArray shortened = ShortenedTitle(page->Title);
        require(shortened.size() <= LongestTitleBytes && page->Title.startsWith(shortened));
        for (const TextSlot &text : page->Texts)
            requireRunsJoin(text.TextContent);
        for (const LinkSlot &link : page->Links)
            requireRunsJoin(link.LinkCaption);
    } catch (const UserError &) {
    }
    return 0;
}
