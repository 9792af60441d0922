#pragma once

#include "text/stored_path.h"
#include "widgets/file_dialog.h"

#include "widgets/fixed_dialog.h"

#include <array>

class QFrame;
class QLabel;
class QPushButton;
class ByteLineEdit;

struct ToolSettings;
class Desktop;

// The tool settings: the three outside programs, chosen with "参照", and the home page
// address, typed.
class TForm6 : public FixedDialog {
    Q_OBJECT

public:
    TForm6(ToolSettings &settings, Desktop &desktop, QWidget *parent = nullptr);

    // Fills the edits from the settings.
    void configure();

    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button1Click();
    void Button2Click();

    QLabel *Label1;
    ByteLineEdit *Edit1;
    QPushButton *Button3;
    QLabel *Label2;
    ByteLineEdit *Edit2;
    QPushButton *Button4;
    QLabel *Label3;
    ByteLineEdit *Edit3;
    QPushButton *Button5;
    QLabel *Label4;
    ByteLineEdit *Edit4;
    QFrame *Panel1;
    QPushButton *Button1;
    QPushButton *Button2;

    FileDialog OpenDialog1;

private:
    void chooseProgram(std::size_t index, ByteLineEdit *edit);

    ToolSettings &settings;
    Desktop &desktop;
    // The FTP, editor and paint programs as the dialog shows them; stored by "決定".
    std::array<StoredPath, 3> programs;
};
