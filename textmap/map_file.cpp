#include "textmap/map_file.h"

#include "page/page_generator.h"
#include "page/page_project.h"
#include "text/sjis.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

const std::array<QByteArray, LegendCount> &legendSymbols()
{
    static const std::array<QByteArray, LegendCount> symbols{
        sjis::fromUnicode(QStringLiteral("○")), sjis::fromUnicode(QStringLiteral("△")),
        sjis::fromUnicode(QStringLiteral("□")), sjis::fromUnicode(QStringLiteral("☆")),
        sjis::fromUnicode(QStringLiteral("×"))};
    return symbols;
}

namespace {

QByteArray rowText(const MapCells &cells, int row)
{
    QByteArray text;
    for (int column = 0; column < MapSize; ++column)
        text += cells[cellIndex(column, row)];
    return text;
}

} // namespace

bool IsMapData(const QByteArray &bytes)
{
    constexpr int lines = 1 + MapCellCount + LegendCount;
    return !bytes.contains('\0') && TextReader(bytes).lineCount() >= lines;
}

QByteArray WriteMapData(const MapData &map)
{
    TextWriter writer;
    writer.writeLine(map.title);
    for (const QByteArray &cell : map.cells)
        writer.writeLine(cell);
    for (const QByteArray &description : map.descriptions)
        writer.writeLine(description);
    return writer.bytes();
}

MapData ReadMapData(const QByteArray &bytes)
{
    TextReader reader(bytes);
    MapData map;
    map.title = reader.readLine();
    for (QByteArray &cell : map.cells)
        cell = reader.readLine();
    for (QByteArray &description : map.descriptions)
        description = reader.readLine();
    return map;
}

QByteArray WriteMapText(const MapExport &map)
{
    TextWriter writer;
    writer.writeLine(map.map.title);
    writer.writeLine({});
    for (int row = 0; row < MapSize; ++row)
        writer.writeLine(rowText(map.map.cells, row));
    writer.writeLine({});
    for (int entry = 0; entry < LegendCount; ++entry)
        if (map.ticked[entry])
            writer.writeLine(legendSymbols()[entry] + map.map.descriptions[entry]);
    writer.writeLine({});
    if (!map.descriptionLines.isEmpty()) {
        for (const QByteArray &line : map.descriptionLines)
            writer.writeLine(line);
        writer.writeLine({});
    }
    return writer.bytes();
}

QByteArray WriteMapHtml(const MapExport &map, const PageProject &page)
{
    static const QByteArray rule = QByteArrayLiteral("<HR>");
    const QByteArray quote = QByteArrayLiteral("\"");
    TextWriter writer;
    writer.writeLine("<HTML><HEAD><TITLE>" + map.map.title + "</TITLE></HEAD>");
    writer.writeLine(BodyLine(page));
    writer.writeLine(map.map.title + "<BR>");
    writer.writeLine(rule);
    for (int row = 0; row < MapSize; ++row)
        writer.writeLine(rowText(map.map.cells, row) + "<BR>");
    writer.writeLine(rule);
    for (int entry = 0; entry < LegendCount; ++entry)
        if (map.ticked[entry])
            writer.writeLine(legendSymbols()[entry] + map.map.descriptions[entry] + "<BR>");
    writer.writeLine(rule);
    if (!map.descriptionLines.isEmpty()) {
        for (const QByteArray &line : map.descriptionLines)
            writer.writeLine(line);
        writer.writeLine(rule);
    }
    if (!sjis::trimmed(map.linkText).isEmpty() && !sjis::trimmed(map.linkAddress).isEmpty())
        writer.writeLine("<A href=" + quote + map.linkAddress + quote + ">" + map.linkText
                         + "</A>");
    writer.writeLine("</BODY></HTML>");
    return writer.bytes();
}
