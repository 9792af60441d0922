// Any bytes as the body text: every line reaches the page, and the text converts both ways.
#include "fuzz_inputs.h"
#include "page/body_text.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "text/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fileBytes(data, size);
    const QList<QByteArray> lines = MarkBodyLines(bytes);
    PageProject page;
    page.BodyUsed = ToggleOn;
    Pattern pattern;
    pattern.Parts[0] = {BodyPart, 0};
    pattern.PartCount = 1;
    const QByteArray html = GeneratePageBytes(page, pattern, 1, lines);
    require(html.count("\r\n") >= lines.size() + 4);
    sjis::fromUnicode(sjis::toUnicode(bytes));
    sjis::trimmed(bytes);
    return 0;
}
