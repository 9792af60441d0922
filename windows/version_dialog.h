#pragma once

#include "widgets/fixed_dialog.h"

class QLabel;
class QPushButton;

class Desktop;

// The product title and version, and the program's own about page.
class TForm5 : public FixedDialog {
    Q_OBJECT

public:
    TForm5(const QString &programFolder, Desktop &desktop, QWidget *parent = nullptr);

    void Button1Click();
    void Button2Click();

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *Button2;
    QPushButton *Button1;

private:
    const QString &programFolder;
    Desktop &desktop;
};
