#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// An i-mode pictogram: a Shift-JIS code of the user-defined rows F8 and F9 that handsets draw
// as a small picture.
struct Pictogram {
    QString number;       // "1" to "176"; "E1" to "E76" for the extended ones
    bool extended = false; // shown from HTML 4.0 on, and never read from a decimal reference
    std::uint16_t code = 0;
    char16_t privateUse = 0; // the character code page 932 reads the code as
    QString unicode;      // the Unicode equivalent, empty when there is none
    QString presentation; // "emoji-default", "text-default" or "keycap-seq"
    QString name;         // its Japanese name
    QString fallback;     // a text to show in its place, where it has one
    QString reading;      // how the name reads, in hiragana
    QStringList words;    // other words one may look for it by

    // "&#N;": the decimal reference with the Shift-JIS code, as pages write basic pictograms.
    QByteArray decimalReference() const;
};

// The 252 pictograms: the 176 basic ones, then the 76 extended ones.
const QList<Pictogram> &Pictograms();

// The pictogram with that Shift-JIS code; null for any other code.
const Pictogram *PictogramWithCode(std::uint16_t code);

// The pictogram that code page 932 reads as that private-use character; null for any other.
const Pictogram *PictogramWithCharacter(char32_t character);

// The pictograms of one set whose name, reading or one of whose words holds the search text,
// in order: "晴" finds 晴れ, "こーひー" 喫茶店. Full- and half-width letters, capitals and
// small letters, katakana and hiragana, small and large kana count as alike. A long vowel mark
// after kana (ー, or the wave dash 〜 or ～ typed for it) counts for nothing on either side:
// "こーひー" is "こひ", which finds コーヒー; reading it as the vowel it lengthens would have
// "えき" find ケーキ. Elsewhere each of them counts as ー. An empty search finds the whole set.
QList<const Pictogram *> PictogramsNamed(const QString &search, bool extended);
