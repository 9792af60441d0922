#include "widgets/title_band_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

TitleBandDrag::TitleBandDrag(QWidget &window, QWidget &band,
                             std::function<void(Qt::MouseButtons)> pressed)
    : QObject(&band), window(window), pressed(std::move(pressed))
{
    band.installEventFilter(this);
}

void TitleBandDrag::start()
{
    const bool desktopMoves = window.windowHandle() && window.windowHandle()->startSystemMove();
    movingByHand = !desktopMoves;
}

bool TitleBandDrag::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        grabOffset = mouse->globalPosition().toPoint() - window.frameGeometry().topLeft();
        pressed(mouse->buttons());
        return true;
    }
    case QEvent::MouseMove:
        if (movingByHand)
            window.move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - grabOffset);
        return movingByHand;
    case QEvent::MouseButtonRelease:
        movingByHand = false;
        return false;
    default:
        return false;
    }
}
