// The floor of start-up: a Qt Widgets program that shows one empty window the size of the
// main window, built like the program itself.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.resize(680, 495);
    window.show();
    return QApplication::exec();
}
