#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

constexpr int MaxPatternId = 50;

// The table of pattern file names by pattern ID, read once at start-up from "trd.dat".
struct PatternCatalogue {
    std::array<QByteArray, MaxPatternId> PatternFiles; // ID n at index n - 1
    std::uint8_t PatternCount = 0;                     // the ID of the last record

    // The file name for an ID; empty for an ID without an entry or outside 1 to 50.
    QByteArray fileNameFor(std::int32_t id) const;
};

// Reads catalogue records (an ID line, then a file name line) until the end of the bytes.
// Records whose ID lies outside 1 to 50 are skipped and leave PatternCount alone. A bad number
// throws IoError with what was read so far kept in `catalogue`.
void ReadPatternCatalogue(const QByteArray &bytes, PatternCatalogue &catalogue);

// Reads "trd.dat" of the program folder when it exists; otherwise the catalogue stays empty.
void ReadPatternCatalogueFile(const QString &programFolder, PatternCatalogue &catalogue);
