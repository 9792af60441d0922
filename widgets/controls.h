#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;
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

// A raised panel.
QFrame *addPanel(QWidget *parent, const QRect &geometry);

void setTextColour(QWidget *widget, const QColor &colour);
