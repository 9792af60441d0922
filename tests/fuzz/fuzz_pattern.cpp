// Any bytes as a pattern file, then its preview and a page in its order.
#include "fuzz_inputs.h"
#include "drawings/pattern_preview.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "text/io_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Pattern pattern;
    std::int32_t number = 0;
    try {
        ReadPattern(fileBytes(data, size), pattern, number);
    } catch (const UserError &) {
    }
    require(pattern.PartCount >= 0 && pattern.PartCount <= MaxPartCount);
    StripPictures strips;
    for (QImage &strip : strips) {
        strip = QImage(StripWidth, StripHeight, QImage::Format_RGB32);
        strip.fill(Qt::black);
    }
    require(DrawPatternPreview(pattern, strips).size() == QSize(StripWidth, PreviewHeight));
    PageProject page;
    page.Links[0].LinkUsed = ToggleOn;
    page.Links[0].LinkAccessKey = ToggleOn;
    GeneratePageBytes(page, pattern, pattern.PartCount, {"body"});
    return 0;
}
