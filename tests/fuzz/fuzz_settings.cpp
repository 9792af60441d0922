// Any bytes as "set.dat": a clear message or settings that write and read back the same.
#include "fuzz_inputs.h"
#include "model/io_error.h"
#include "model/tool_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ToolSettings settings;
    try {
        ReadToolSettings(fileBytes(data, size), settings);
    } catch (const UserError &) {
        return 0;
    }
    const QByteArray written = WriteToolSettings(settings);
    ToolSettings again;
    ReadToolSettings(written, again);
    require(WriteToolSettings(again) == written);
    return 0;
}
