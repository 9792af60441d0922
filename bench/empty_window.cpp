// The floor of start-up: a Qt Widgets program that shows one empty window the size of the
// main window, built like the program itself. With the argument "text" the window also shows
// one line of Japanese in the program's font, which is what any window with text pays for.
// It marks the steps the program marks, where it has them.
#include "app/startup_marks.h"
#include "drawings/fonts.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    StartupMarks marks;
    QApplication application(argc, argv);
    const bool withText = argc > 1 && QByteArray(argv[1]) == "text";
    if (withText)
        installFontSubstitutions();
    marks.mark("application");
    QWidget window;
    window.setWindowTitle(withText ? QStringLiteral("floor-text") : QStringLiteral("floor"));
    window.resize(680, 495);
    if (withText) {
        auto *label = new QLabel(QStringLiteral("モペコ"), &window);
        label->setFont(fontWithCellHeight(proportionalGothic(), 12));
        label->move(8, 8);
    }
    marks.mark("window");
    marks.markFirstPaintOf(window);
    window.show();
    marks.mark("shown");
    return QApplication::exec();
}
