#pragma once

#include <QDialog>

// A modal dialog of fixed size in the program's font, with a title bar and a close box. Its
// buttons are no default or cancel buttons: Escape does not close it, so nothing typed into it
// is lost by a stray key; the close box and its own buttons close it. It is centred on the
// screen each time it is shown.
class FixedDialog : public QDialog {
    Q_OBJECT

public:
    FixedDialog(QWidget *parent, const QString &title, const QSize &size);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
};
