// Any bytes as a map data file: it writes and reads back the same, and both exports hold.
#include "fuzz_inputs.h"
#include "page/page_project.h"
#include "textmap/map_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fileBytes(data, size);
    MapExport map;
    map.map = ReadMapData(bytes);
    const QByteArray written = WriteMapData(map.map);
    require(WriteMapData(ReadMapData(written)) == written);
    map.ticked.fill(true);
    map.descriptionLines = bytes.split('\n');
    map.linkText = map.map.title;
    map.linkAddress = map.map.descriptions[0];
    PageProject page;
    page.ColorSupport = ToggleOn;
    WriteMapText(map);
    WriteMapHtml(map, page);
    return 0;
}
