#include "support/main_window_fixture.h"

#include "support/test_files.h"
#include "windows/item_editor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

MainWindowFixture::MainWindowFixture()
{
    ProgramFolder = folder.path() + '/';
    const QDir data(dataFolder());
    for (const QString &name : data.entryList({"*.dat"}, QDir::Files))
        QFile::copy(data.filePath(name), ProgramFolder + name);
}

MainWindowFixture::~MainWindowFixture()
{
    form.reset();
    session.history().clear();
}

TForm1 &MainWindowFixture::start()
{
    form = std::make_unique<TForm1>(session, handsetChoice, state, catalogue, pattern, toolSettings,
                                    ProgramFolder, desktop);
    form->FormCreate();
    return *form;
}

TForm1 &MainWindowFixture::startShown()
{
    start();
    form->showCentred();
    if (!QTest::qWaitForWindowActive(form.get()))
        qWarning("the main window did not become active");
    return *form;
}

void MainWindowFixture::openEditor(QPushButton *button, const std::function<void(TForm3 &)> &inEditor)
{
    QTimer::singleShot(0, [this, &inEditor] {
        TForm3 &editor = form->dialogs.itemEditor();
        inEditor(editor);
        if (editor.isVisible())
            editor.Button3Click();
    });
    QTest::mouseClick(button, Qt::LeftButton);
}

void MainWindowFixture::click(QAbstractButton *button, int times)
{
    for (int press = 0; press < times; ++press)
        QTest::mouseClick(button, Qt::LeftButton);
}

void MainWindowFixture::press(QKeyCombination keys)
{
    // A dialog that closed leaves the window to be made active again, as a user's click does;
    // the offscreen platform has no window manager to do it.
    if (!form->isActiveWindow()) {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(form.get());
        QT_WARNING_POP
    }
    QTest::keyClick(form.get(), keys.key(), keys.keyboardModifiers());
}

QImage MainWindowFixture::preview() const
{
    return form->Image3->pixmap().toImage();
}

QImage MainWindowFixture::summary() const
{
    return form->Image4->pixmap().toImage();
}

QStringList MainWindowFixture::captions() const
{
    return {form->Button3->text(), form->Button4->text(), form->Button5->text(),
            form->Button8->text()};
}
