#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QWidget;

// Lets a borderless window be dragged by a picture that stands in for its title bar. A press on
// the picture is handed to `pressed` with the buttons held; start() then moves the window: the
// desktop does it where it can, and otherwise the window follows the mouse itself until the
// button is released.
class TitleBandDrag : public QObject {
public:
    TitleBandDrag(QWidget &window, QWidget &band, std::function<void(Qt::MouseButtons)> pressed);

    void start();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &window;
    std::function<void(Qt::MouseButtons)> pressed;
    bool movingByHand = false;
    QPoint grabOffset; // where the band was grabbed, from the window's corner
};
