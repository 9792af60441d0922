// Any bytes as "set.dat": a clear message or settings that write and read back the same; and
// as "mopeco.ini": a value set is read back, and a list is read no further than asked.
#include "fuzz_inputs.h"
#include "model/ini_text.h"
#include "model/io_error.h"
#include "model/tool_settings.h"

namespace {

void asIniFile(const QByteArray &text)
{
    if (const std::optional<QByteArray> recent = iniValue(text, "palette", "recent"))
        require(iniListItems(*recent, 16).size() <= 16);
    const QByteArray changed = withIniValue(text, "check", "handset", "SH505i");
    require(iniValue(changed, "check", "handset") == QByteArray("SH505i"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    asIniFile(fileBytes(data, size));
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
