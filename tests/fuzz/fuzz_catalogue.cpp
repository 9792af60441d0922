// Any bytes as "trd.dat": a clear message or a catalogue within its 50 entries.
#include "fuzz_inputs.h"
#include "page/pattern_catalogue.h"
#include "text/io_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    PatternCatalogue catalogue;
    try {
        ReadPatternCatalogue(fileBytes(data, size), catalogue);
    } catch (const UserError &) {
    }
    require(catalogue.PatternCount <= MaxPatternId);
    return 0;
}
