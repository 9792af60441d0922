#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;
class QWidget;

// The controls every window places at given pixels, made the same way everywhere. Colours are
// set through the palette: a style sheet on one control would slow every window down.

enum class Underline { No, Yes };

// A label sized to its text; an invalid colour keeps the window's text colour.
QLabel *addLabel(QWidget *parent, int left, int top, const QString &text,
                 const QColor &colour = QColor(), int cellHeight = 0,
                 Underline underline = Underline::No);

// A push button that is no default button: Enter presses none; the mouse and the space bar do.
QPushButton *addButton(QWidget *parent, const QRect &geometry, const QString &caption);

// A flat tool button, which takes no keyboard focus; its hint shows as a tool tip.
QToolButton *addToolButton(QWidget *parent, const QRect &geometry, const QString &caption,
                           const QString &hint = QString());

// A raised panel.
QFrame *addPanel(QWidget *parent, const QRect &geometry);

void setTextColour(QWidget *widget, const QColor &colour);

// Tab moves through the controls in this order.
void setFocusOrder(const QList<QWidget *> &order);

// Places the window's inside in the middle of the screen it shows on (its parent's, for a
// dialog). The inside, not the frame: before a window is first shown the desktop has not said
// how large its frame will be, so a place by the frame would differ between the first showing
// and the later ones.
void centreOnScreen(QWidget &window);
