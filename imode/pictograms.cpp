#include "imode/pictograms.h"

#include "imode/facts_table.h"
#include "text/sjis.h"

#include <QHash>

namespace {

QList<Pictogram> readPictograms()
{
    QList<Pictogram> pictograms;
    for (const QStringList &row : FactsTableRows(QStringLiteral("pictograms.tsv"), 9)) {
        QString unicode;
        for (const QString &point : row[3].split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const char32_t value = point.toUInt(nullptr, 16);
            unicode += QString::fromUcs4(&value, 1);
        }
        const auto code = std::uint16_t(row[2].toUInt(nullptr, 16));
        const QString read = sjis::toUnicode(QByteArray(1, char(code >> 8)) + char(code & 0xFF));
        pictograms.append({row[0], row[1] == QLatin1String("extended"), code,
                           read.size() == 1 ? read[0].unicode() : char16_t(0), unicode, row[4],
                           row[5], row[6], row[7],
                           row[8].split(QLatin1Char(','), Qt::SkipEmptyParts)});
    }
    return pictograms;
}

bool isHiragana(QChar character)
{
    return character.unicode() >= 0x3041 && character.unicode() <= 0x3096;
}

// A name, reading, word or search in one form: half-width, lower case, hiragana, large kana, no
// long vowel mark after kana and ー for one elsewhere.
QString searchForm(const QString &text)
{
    static const QString smallKana = QStringLiteral("ぁぃぅぇぉっゃゅょゎ");
    QString form;
    for (const QChar character : text.normalized(QString::NormalizationForm_KC).toCaseFolded()) {
        char16_t code = character.unicode();
        if (code >= 0x30A1 && code <= 0x30F6)
            code -= 0x60; // katakana to hiragana
        if (smallKana.contains(QChar(code)))
            ++code; // each small kana comes just before its large one
        if (code == u'ー' || code == u'〜' || code == u'~') { // ｰ and ～ are ー and ~ by now
            if (!form.isEmpty() && isHiragana(form.back()))
                continue;
            code = u'ー';
        }
        form += QChar(code);
    }
    return form;
}

bool isFound(const Pictogram &pictogram, const QString &wanted)
{
    for (const QString &text : QStringList{pictogram.name, pictogram.reading} + pictogram.words)
        if (searchForm(text).contains(wanted))
            return true;
    return false;
}

} // namespace

QByteArray Pictogram::decimalReference() const
{
    return "&#" + QByteArray::number(code) + ';';
}

const QList<Pictogram> &Pictograms()
{
    static const QList<Pictogram> pictograms = readPictograms();
    return pictograms;
}

const Pictogram *PictogramWithCharacter(char32_t character)
{
    static const QHash<char32_t, const Pictogram *> byCharacter = [] {
        QHash<char32_t, const Pictogram *> table;
        for (const Pictogram &pictogram : Pictograms())
            table.insert(pictogram.privateUse, &pictogram);
        return table;
    }();
    return character == 0 ? nullptr : byCharacter.value(character, nullptr);
}

const Pictogram *PictogramWithCode(std::uint16_t code)
{
    static const QHash<std::uint16_t, const Pictogram *> byCode = [] {
        QHash<std::uint16_t, const Pictogram *> table;
        for (const Pictogram &pictogram : Pictograms())
            table.insert(pictogram.code, &pictogram);
        return table;
    }();
    return byCode.value(code, nullptr);
}

QList<const Pictogram *> PictogramsNamed(const QString &search, bool extended)
{
    const QString wanted = searchForm(search.trimmed());
    QList<const Pictogram *> found;
    for (const Pictogram &pictogram : Pictograms())
        if (pictogram.extended == extended && isFound(pictogram, wanted))
            found.append(&pictogram);
    return found;
}
