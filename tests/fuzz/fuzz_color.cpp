// Any bytes as a colour text: a clear message or three components that format and read back.
#include "fuzz_inputs.h"
#include "page/color_code.h"
#include "text/io_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const ColorComponents colour = ParseColorCode(fileBytes(data, size));
        const ColorComponents again =
            ParseColorCode(FormatColorCode(colour.red, colour.green, colour.blue));
        require(again.red == colour.red && again.green == colour.green
                && again.blue == colour.blue);
    } catch (const UserError &) {
    }
    return 0;
}
