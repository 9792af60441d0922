// The floor of start-up: a Qt Widgets program that shows one empty window the size of the
// main window, built like the program itself. With the argument "text" the window also shows
// one line of Japanese in the program's font, which is what any window with text pays for.
#include "model/fonts.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const bool withText = argc > 1 && QByteArray(argv[1]) == "text";
    QWidget window;
    window.setWindowTitle(withText ? QStringLiteral("floor-text") : QStringLiteral("floor"));
    window.resize(680, 495);
    if (withText) {
        installFontSubstitutions();
        auto *label = new QLabel(QStringLiteral("モペコ"), &window);
        label->setFont(fontWithCellHeight(proportionalGothic(), 12));
        label->move(8, 8);
    }
    window.show();
    return QApplication::exec();
}
