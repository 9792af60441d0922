#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

struct PatternCatalogue;

constexpr int MaxPartCount = 35;

// The kinds of part a pattern lists.
enum PartCodes : std::int32_t {
    BodyPart = 1,
    ImagePart = 2,
    TextPart = 3,
    LinkPart = 4,
    DirectPart = 5,
    SeparatorPart = 6,
};

struct PatternPart {
    std::int32_t PartCode = 0;
    std::int32_t PartSlot = 0; // ignored for the body and the separator
};

// A page layout: the parts in page order.
struct Pattern {
    QByteArray Comment;
    std::array<PatternPart, MaxPartCount> Parts;
    std::int32_t PartCount = 0;
};

// Reads a pattern file: two numbers (the second is the pattern number that stays), the comment
// line, then a code line and a slot line for each part up to the end, at most 35 parts.
// Both numbers go to `patternNumber` as they are read. A bad number throws IoError: in the
// first two lines it leaves `pattern` as it was, among the parts it leaves the comment and the
// parts read whole up to that point.
void ReadPattern(const QByteArray &bytes, Pattern &pattern, std::int32_t &patternNumber);

// Makes pattern `number` of the catalogue current. A number without a file (no catalogue entry,
// outside 1 to 50, or no such file) changes nothing and returns false.
bool LoadPattern(std::int32_t number, const PatternCatalogue &catalogue,
                 const QString &programFolder, Pattern &pattern, std::int32_t &patternNumber);
