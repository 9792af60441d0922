#include "model/fonts.h"

#include <QFontMetrics>
#include <QStringList>

void installFontSubstitutions()
{
    QFont::insertSubstitutions(proportionalGothic(),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")});
    QFont::insertSubstitutions(fixedGothic(),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic")});
}

QFont fontWithCellHeight(const QString &family, int cellHeight)
{
    QFont font(family);
    int pixelSize = cellHeight;
    font.setPixelSize(pixelSize);
    while (pixelSize > 1 && QFontMetrics(font).height() > cellHeight) {
        --pixelSize;
        font.setPixelSize(pixelSize);
    }
    return font;
}
