#include "drawings/pattern_preview.h"

#include "page/pattern.h"

#include <QPainter>

QImage DrawPatternPreview(const Pattern &pattern, const StripPictures &strips)
{
    QImage preview(StripWidth, PreviewHeight, QImage::Format_RGB32);
    preview.fill(Qt::white);
    QPainter painter(&preview);
    const int partCount = std::min(pattern.PartCount, MaxPartCount);
    for (int k = 0; k < partCount; ++k) {
        const int strip = stripIndexFor(pattern.Parts[static_cast<std::size_t>(k)]);
        if (strip < 0)
            continue;
        // The strips sit side by side in a picture of the preview's width, so a strip drawn
        // at an offset is clipped at both edges of its row.
        const int top = k * StripHeight;
        painter.setClipRect(0, top, StripWidth, StripHeight);
        painter.drawImage(stripOffset(strip), top, strips[static_cast<std::size_t>(strip)]);
    }
    return preview;
}
