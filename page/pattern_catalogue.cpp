#include "page/pattern_catalogue.h"

#include "text/text_reader.h"

QByteArray PatternCatalogue::fileNameFor(std::int32_t id) const
{
    if (id < 1 || id > MaxPatternId)
        return {};
    return PatternFiles[static_cast<std::size_t>(id - 1)];
}

void ReadPatternCatalogue(const QByteArray &bytes, PatternCatalogue &catalogue)
{
    TextReader reader(bytes);
    while (!reader.atEnd()) {
        const std::int32_t id = reader.readInteger();
        const QByteArray fileName = reader.readLine();
        if (id < 1 || id > MaxPatternId)
            continue;
        catalogue.PatternFiles[static_cast<std::size_t>(id - 1)] = fileName;
        catalogue.PatternCount = static_cast<std::uint8_t>(id);
    }
}

void ReadPatternCatalogueFile(const QString &programFolder, PatternCatalogue &catalogue)
{
    const QString path = programFolder + QStringLiteral("trd.dat");
    if (isRegularFile(path))
        parseFile(path, [&](const QByteArray &bytes) { ReadPatternCatalogue(bytes, catalogue); });
}
