#include "widgets/controls.h"

#include "drawings/fonts.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

QLabel *addLabel(QWidget *parent, int left, int top, const QString &text, const QColor &colour,
                 int cellHeight, Underline underline)
{
    auto *label = new QLabel(text, parent);
    label->move(left, top);
    if (cellHeight > 0 || underline == Underline::Yes) {
        QFont font = cellHeight > 0 ? fontWithCellHeight(proportionalGothic(), cellHeight)
                                    : parent->font();
        font.setUnderline(underline == Underline::Yes);
        label->setFont(font);
    }
    if (colour.isValid())
        setTextColour(label, colour);
    label->adjustSize();
    return label;
}

QPushButton *addButton(QWidget *parent, const QRect &geometry, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

QToolButton *addToolButton(QWidget *parent, const QRect &geometry, const QString &caption,
                           const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setGeometry(geometry);
    button->setText(caption);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QFrame *addPanel(QWidget *parent, const QRect &geometry)
{
    auto *panel = new QFrame(parent);
    panel->setGeometry(geometry);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    return panel;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void setFocusOrder(const QList<QWidget *> &order)
{
    for (qsizetype index = 1; index < order.size(); ++index)
        QWidget::setTabOrder(order[index - 1], order[index]);
}

void centreOnScreen(QWidget &window)
{
    const QWidget *parent = window.parentWidget();
    const QScreen *screen = parent ? parent->screen() : window.screen();
    if (screen)
        window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                               screen->availableGeometry()));
}
