#pragma once

#include "widgets/fixed_dialog.h"

#include <QByteArray>

#include <array>
#include <cstdint>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;

struct ColorComponents;
struct PageProject;
class Desktop;

// The page-wide look: background, link and text colours, whether they are written, and the
// separator line. Besides the page colours it keeps a working colour, the mix of the three
// scroll bars, which lasts as long as the dialog and is copied into a page colour with "<<".
class TForm2 : public FixedDialog {
    Q_OBJECT

public:
    TForm2(PageProject &page, Desktop &desktop, QWidget *parent = nullptr);

    // Fills the page-related controls from the page; the mix is left as it is. Throws
    // UserError for a page colour that cannot be read, with the edits already filled.
    void configure();

    void rChange();
    void gChange();
    void bChange();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Button12Click();
    void Button13Click();
    void Button14Click();
    void Button1Click();
    void Button2Click();

    QCheckBox *CheckBox1;
    QLabel *Label1;
    QFrame *Shape2;
    QToolButton *SpeedButton1;
    QLineEdit *Edit1;
    QLabel *Label2;
    QFrame *Shape3;
    QToolButton *SpeedButton2;
    QLineEdit *Edit2;
    QLabel *Label3;
    QFrame *Shape4;
    QToolButton *SpeedButton3;
    QLineEdit *Edit3;
    QFrame *Shape1;
    QScrollBar *r;
    QScrollBar *g;
    QScrollBar *b;
    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    QPushButton *Button3;
    QPushButton *Button4;
    QPushButton *Button5;
    QPushButton *Button6;
    QPushButton *Button7;
    QPushButton *Button8;
    QPushButton *Button9;
    QPushButton *Button10;
    QPushButton *Button13;
    QPushButton *Button12;
    QPushButton *Button11;
    QLabel *Label7;
    QLabel *Label10;
    QLabel *Label9;
    QPushButton *Button14;
    QLabel *Label8;
    QFrame *Panel1;
    QPushButton *Button1;
    QPushButton *Button2;

signals:
    // What the user chose went into the page, as `step` says: the colours by "決定", a
    // separator chosen with "次へ" also when the dialog is cancelled.
    void stored(const QString &step);

private:
    void createColorControls();
    void createMixControls();
    void createSeparatorControls();
    void createPanel();
    void setFocusOrder();
    void showMix();
    void setMix(const char *code);
    void copyMixInto(int colorIndex);
    void showSeparatorCaption();
    void done(int result) override;

    PageProject &page;
    Desktop &desktop;

    // The colour texts as the edits show them, stored by "決定" byte for byte: a text from
    // the page keeps its exact bytes, whatever its length.
    std::array<QByteArray, 3> shownColors;
    std::array<QLineEdit *, 3> colorEdits{};
    std::array<QFrame *, 3> colorSwatches{};
    std::uint8_t separatorAtOpening = 0;
};
