#pragma once

#include <QFont>
#include <QString>

// The program asks for its Japanese fonts by these names; installFontSubstitutions() maps them
// to fonts this desktop has, so kana and kanji never fall back to a font without them.
inline const QString proportionalGothic() { return QStringLiteral("ＭＳ Ｐゴシック"); }
inline const QString fixedGothic() { return QStringLiteral("ＭＳ　ゴシック"); }

void installFontSubstitutions();

// A font of the family whose character cell (internal leading included) is `cellHeight`
// pixels high, drawn with `strategy`; it is measured as it will be drawn.
QFont fontWithCellHeight(const QString &family, int cellHeight,
                         QFont::StyleStrategy strategy = QFont::PreferDefault);
