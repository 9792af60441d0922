#include "widgets/size_meter.h"

#include <QPainter>

namespace {

// From this share of the limit on, the meter warns that little room is left.
constexpr double nearShare = 0.8;

} // namespace

SizeMeter::SizeMeter(QWidget *parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void SizeMeter::setMeasure(qint64 newSize, qint64 newLimit, const QString &text)
{
    size = newSize;
    limit = std::max<qint64>(newLimit, 1);
    setText(text);
    update();
}

SizeMeter::Level SizeMeter::level() const
{
    if (size > limit)
        return Level::Over;
    return double(size) >= nearShare * double(limit) ? Level::Near : Level::Fits;
}

void SizeMeter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(frame, palette().base());
    QColor bar = palette().highlight().color().lighter(150);
    QColor lettering = palette().text().color();
    switch (level()) {
    case Level::Fits:
        break;
    case Level::Near:
        bar = QColor(255, 170, 60);
        break;
    case Level::Over:
        bar = QColor(220, 40, 40);
        lettering = Qt::white;
        break;
    }
    const double share = std::min(1.0, double(size) / double(limit));
    painter.fillRect(QRect(frame.left(), frame.top(), int(frame.width() * share), frame.height()),
                     bar);
    painter.setPen(palette().mid().color());
    painter.drawRect(frame);
    painter.setPen(lettering);
    painter.drawText(rect(), Qt::AlignCenter, text());
}
