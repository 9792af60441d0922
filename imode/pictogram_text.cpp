#include "imode/pictogram_text.h"

#include "imode/pictograms.h"
#include "text/sjis.h"

#include <QHash>

namespace {

constexpr char16_t emojiPresentation = 0xFE0F;

// The pictograms by their Unicode equivalent, without presentation selectors.
const QHash<QString, const Pictogram *> &byEquivalent()
{
    static const QHash<QString, const Pictogram *> table = [] {
        QHash<QString, const Pictogram *> equivalents;
        for (const Pictogram &pictogram : Pictograms())
            if (!pictogram.unicode.isEmpty())
                equivalents.insert(QString(pictogram.unicode).remove(QChar(emojiPresentation)),
                                   &pictogram);
        return equivalents;
    }();
    return table;
}

uint codeOf(char byte)
{
    return uchar(byte);
}

uint codeOf(QChar character)
{
    return character.unicode();
}

// The length of "&#N;" at `at` and its N, or 0; in stored bytes and in shown text alike.
template <typename Text>
qsizetype decimalReferenceAt(const Text &text, qsizetype at, uint &value)
{
    if (at + 2 >= text.size() || codeOf(text[at]) != '&' || codeOf(text[at + 1]) != '#')
        return 0;
    qsizetype end = at + 2;
    value = 0;
    while (end < text.size() && end - at < 8 && codeOf(text[end]) - '0' <= 9)
        value = value * 10 + (codeOf(text[end++]) - '0');
    return end > at + 2 && end < text.size() && codeOf(text[end]) == ';' ? end + 1 - at : 0;
}

// The basic pictogram a decimal reference names; handsets read no other from one.
const Pictogram *basicWithReference(uint value)
{
    const Pictogram *pictogram = value <= 0xFFFF ? PictogramWithCode(std::uint16_t(value)) : nullptr;
    return pictogram && !pictogram->extended ? pictogram : nullptr;
}

} // namespace

QList<TextRun> PictogramRuns(const QByteArray &bytes)
{
    QList<TextRun> runs;
    qsizetype plainStart = 0;
    const auto addPictogram = [&](qsizetype at, qsizetype length, const Pictogram *pictogram) {
        if (at > plainStart)
            runs.append({bytes.sliced(plainStart, at - plainStart), nullptr});
        runs.append({bytes.sliced(at, length), pictogram});
        plainStart = at + length;
    };
    qsizetype at = 0;
    while (at < bytes.size()) {
        const uchar lead = uchar(bytes[at]);
        uint value = 0;
        if ((lead == 0xF8 || lead == 0xF9) && at + 1 < bytes.size()) {
            if (const Pictogram *pictogram =
                    PictogramWithCode(std::uint16_t(lead << 8 | uchar(bytes[at + 1])))) {
                addPictogram(at, 2, pictogram);
                at += 2;
                continue;
            }
        } else if (const qsizetype length = decimalReferenceAt(bytes, at, value)) {
            if (const Pictogram *pictogram = basicWithReference(value)) {
                addPictogram(at, length, pictogram);
                at += length;
                continue;
            }
        }
        at += sjis::isLeadByte(lead) && at + 1 < bytes.size() ? 2 : 1;
    }
    if (plainStart < bytes.size())
        runs.append({bytes.sliced(plainStart), nullptr});
    return runs;
}

QList<ShownRun> ShownPictogramRuns(const QByteArray &bytes)
{
    QList<ShownRun> runs;
    for (const TextRun &run : PictogramRuns(bytes))
        runs.append({sjis::toUnicode(run.bytes), run.pictogram});
    return runs;
}

QList<ShownRun> ShownPictogramRuns(const QString &text)
{
    QList<ShownRun> runs;
    qsizetype plainStart = 0;
    qsizetype at = 0;
    while (at < text.size()) {
        uint value = 0;
        qsizetype length = 1;
        const Pictogram *pictogram = PictogramWithCharacter(text[at].unicode());
        if (!pictogram && (length = decimalReferenceAt(text, at, value)) > 0)
            pictogram = basicWithReference(value);
        if (!pictogram) {
            ++at;
            continue;
        }
        if (at > plainStart)
            runs.append({text.sliced(plainStart, at - plainStart), nullptr});
        runs.append({text.sliced(at, length), pictogram});
        at += length;
        plainStart = at;
    }
    if (plainStart < text.size())
        runs.append({text.sliced(plainStart), nullptr});
    return runs;
}

QByteArray PictogramBytes(const Pictogram &pictogram)
{
    if (!pictogram.extended)
        return pictogram.decimalReference();
    return QByteArray(1, char(pictogram.code >> 8)) + char(pictogram.code & 0xFF);
}

const Pictogram *EmojiPictogramAt(const QString &text, qsizetype at, qsizetype &length)
{
    constexpr char16_t keycapEnclosure = 0x20E3;
    const qsizetype end = at + (text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1);
    const QString base = text.sliced(at, end - at);
    const qsizetype afterSelector =
        end < text.size() && text[end] == QChar(emojiPresentation) ? end + 1 : end;
    if (afterSelector < text.size() && text[afterSelector] == QChar(keycapEnclosure)) {
        if (const Pictogram *key = byEquivalent().value(base + QChar(keycapEnclosure), nullptr)) {
            length = afterSelector + 1 - at;
            return key;
        }
    }
    const Pictogram *pictogram = byEquivalent().value(base, nullptr);
    length = pictogram ? afterSelector - at : 0;
    return pictogram;
}

QByteArray TypedTextBytes(const QString &text)
{
    QByteArray bytes;
    QString plain;
    qsizetype at = 0;
    while (at < text.size()) {
        qsizetype length = 0;
        if (const Pictogram *pictogram = EmojiPictogramAt(text, at, length)) {
            bytes += sjis::fromUnicode(plain) + PictogramBytes(*pictogram);
            plain.clear();
            at += length;
            continue;
        }
        if (text[at] != QChar(emojiPresentation))
            plain += text[at];
        ++at;
    }
    return bytes + sjis::fromUnicode(plain);
}
