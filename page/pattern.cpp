#include "page/pattern.h"

#include "page/pattern_catalogue.h"
#include "text/program_folder.h"
#include "text/text_reader.h"

void ReadPattern(const QByteArray &bytes, Pattern &pattern, std::int32_t &patternNumber)
{
    TextReader reader(bytes);
    patternNumber = reader.readInteger();
    patternNumber = reader.readInteger();
    Pattern loaded;
    loaded.Comment = reader.readLine();
    try {
        while (!reader.atEnd() && loaded.PartCount < MaxPartCount) {
            PatternPart part;
            part.PartCode = reader.readInteger();
            part.PartSlot = reader.readInteger();
            loaded.Parts[static_cast<std::size_t>(loaded.PartCount++)] = part;
        }
    } catch (...) {
        pattern = loaded;
        throw;
    }
    pattern = loaded;
}

bool LoadPattern(std::int32_t number, const PatternCatalogue &catalogue,
                 const QString &programFolder, Pattern &pattern, std::int32_t &patternNumber)
{
    const QByteArray fileName = catalogue.fileNameFor(number);
    if (fileName.isEmpty())
        return false;
    const QString path = programFilePath(programFolder, fileName);
    if (!isRegularFile(path))
        return false;
    parseFile(path, [&](const QByteArray &bytes) { ReadPattern(bytes, pattern, patternNumber); });
    return true;
}
