#include "drawings/fonts.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>

void installFontSubstitutions()
{
    QFont::insertSubstitutions(proportionalGothic(),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
    QFont::insertSubstitutions(fixedGothic(),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic")});
}

// The cell grows with the pixel size in proportion, so one measurement predicts the size;
// each size tried loads a font, which is what start-up waits for.
QFont fontWithCellHeight(const QString &family, int cellHeight, QFont::StyleStrategy strategy)
{
    QFont font(family);
    font.setStyleStrategy(strategy);
    font.setPixelSize(cellHeight);
    const int measured = QFontMetrics(font).height();
    if (measured <= cellHeight)
        return font;
    int pixelSize = std::max(1, cellHeight * cellHeight / measured);
    font.setPixelSize(pixelSize);
    while (pixelSize > 1 && QFontMetrics(font).height() > cellHeight) {
        --pixelSize;
        font.setPixelSize(pixelSize);
    }
    return font;
}
