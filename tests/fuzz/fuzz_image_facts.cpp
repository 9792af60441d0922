// Any bytes as the start of a picture file: no size below zero, and none without a format.
#include "check/image_facts.h"
#include "fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const ImageFacts facts = ReadImageFacts(fileBytes(data, size));
    require(facts.width >= 0 && facts.height >= 0);
    require(facts.format != ImageFormat::Unknown || (facts.width == 0 && facts.height == 0));
    return 0;
}
