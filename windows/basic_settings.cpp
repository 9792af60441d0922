#include "windows/basic_settings.h"

#include "drawings/fonts.h"
#include "page/color_code.h"
#include "page/page_project.h"
#include "page/separator_styles.h"
#include "text/sjis.h"
#include "widgets/controls.h"
#include "widgets/error_guard.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

namespace {

// A colour-mix scroll bar whose arrow keys work the usual way: → and ↓ raise the value, ← and
// ↑ lower it. Qt's horizontal scroll bar runs → and ← the other way round.
class MixScrollBar : public QScrollBar {
public:
    explicit MixScrollBar(QWidget *parent) : QScrollBar(Qt::Horizontal, parent) {}

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Right || event->key() == Qt::Key_Left) {
            triggerAction(event->key() == Qt::Key_Right ? SliderSingleStepAdd
                                                        : SliderSingleStepSub);
            event->accept();
            return;
        }
        QScrollBar::keyPressEvent(event);
    }
};

QFrame *createSwatch(QWidget *parent, const QRect &geometry)
{
    auto *swatch = new QFrame(parent);
    swatch->setGeometry(geometry);
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch->setLineWidth(1);
    swatch->setAutoFillBackground(true);
    return swatch;
}

// The border is drawn in the text colour of a plain box frame, the inside in its window colour.
void fillSwatch(QFrame *swatch, ColorComponents color)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, QColor(color.red, color.green, color.blue));
    palette.setColor(QPalette::WindowText, Qt::black);
    swatch->setPalette(palette);
}

QLineEdit *createColorEdit(QWidget *parent, int top)
{
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(80, top, 121, 20);
    edit->setReadOnly(true);
    return edit;
}

QToolButton *createCopyButton(QWidget *parent, int top)
{
    return addToolButton(parent, {216, top, 25, 25}, QStringLiteral("<<"));
}

} // namespace

TForm2::TForm2(PageProject &page, Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("基本設定"), {577, 409}), page(page), desktop(desktop)
{
    createColorControls();
    createMixControls();
    createSeparatorControls();
    createPanel();
    connectGuarded<TForm2>(this, desktop,
                           {{SpeedButton1, &TForm2::SpeedButton1Click},
                            {SpeedButton2, &TForm2::SpeedButton2Click},
                            {SpeedButton3, &TForm2::SpeedButton3Click},
                            {Button3, &TForm2::Button3Click},
                            {Button4, &TForm2::Button4Click},
                            {Button5, &TForm2::Button5Click},
                            {Button6, &TForm2::Button6Click},
                            {Button7, &TForm2::Button7Click},
                            {Button8, &TForm2::Button8Click},
                            {Button9, &TForm2::Button9Click},
                            {Button10, &TForm2::Button10Click},
                            {Button11, &TForm2::Button11Click},
                            {Button12, &TForm2::Button12Click},
                            {Button13, &TForm2::Button13Click},
                            {Button14, &TForm2::Button14Click},
                            {Button1, &TForm2::Button1Click},
                            {Button2, &TForm2::Button2Click}});
    setFocusOrder();
    showMix();
}

void TForm2::createColorControls()
{
    CheckBox1 = new QCheckBox(QStringLiteral("カラー対応させる"), this);
    CheckBox1->setGeometry(16, 8, 129, 17);

    const auto heading = [this](int left, int top, const QString &caption) {
        return addLabel(this, left, top, caption, Qt::blue, 15);
    };
    Label1 = heading(48, 48, QStringLiteral("背景色"));
    Shape2 = createSwatch(this, {136, 48, 65, 25});
    SpeedButton1 = createCopyButton(this, 48);
    Edit1 = createColorEdit(this, 80);
    Label2 = heading(24, 120, QStringLiteral("リンクの色"));
    Shape3 = createSwatch(this, {136, 120, 65, 25});
    SpeedButton2 = createCopyButton(this, 120);
    Edit2 = createColorEdit(this, 152);
    Label3 = heading(48, 200, QStringLiteral("文字色"));
    Shape4 = createSwatch(this, {136, 200, 65, 25});
    SpeedButton3 = createCopyButton(this, 200);
    Edit3 = createColorEdit(this, 232);
    colorEdits = {Edit1, Edit2, Edit3};
    colorSwatches = {Shape2, Shape3, Shape4};
    for (QFrame *swatch : colorSwatches)
        fillSwatch(swatch, {255, 255, 255});

}

void TForm2::createMixControls()
{
    Shape1 = createSwatch(this, {280, 8, 137, 65});
    const auto scrollBar = [this](int top) {
        auto *bar = new MixScrollBar(this);
        bar->setGeometry(431, top, 121, 16);
        bar->setRange(0, 255);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setFocusPolicy(Qt::StrongFocus); // a tab stop, moved with the arrow keys
        return bar;
    };
    r = scrollBar(8);
    g = scrollBar(32);
    b = scrollBar(56);
    Label4 = addLabel(this, 560, 8, QStringLiteral("R"), Qt::red);
    Label5 = addLabel(this, 560, 32, QStringLiteral("G"), Qt::darkGreen);
    Label6 = addLabel(this, 560, 56, QStringLiteral("B"), Qt::blue);
    connect(r, &QScrollBar::valueChanged, this, &TForm2::rChange);
    connect(g, &QScrollBar::valueChanged, this, &TForm2::gChange);
    connect(b, &QScrollBar::valueChanged, this, &TForm2::bChange);

    const auto named = [this](int left, int top, const QString &caption, int width = 41) {
        return addButton(this, {left, top, width, 25}, caption);
    };
    Button3 = named(320, 88, QStringLiteral("赤"));
    Button4 = named(368, 88, QStringLiteral("青"));
    Button5 = named(416, 88, QStringLiteral("黄"));
    Button6 = named(464, 88, QStringLiteral("緑"));
    Button7 = named(512, 88, QStringLiteral("黒"));
    Button8 = named(320, 120, QStringLiteral("グレー"));
    Button9 = named(368, 120, QStringLiteral("ライム"));
    Button10 = named(416, 120, QStringLiteral("水色"));
    Button13 = named(464, 120, QStringLiteral("紫"));
    Button12 = named(512, 120, QStringLiteral("茶色"));
    Button11 = named(320, 152, QStringLiteral("オリーブ"), 57);
}

void TForm2::createSeparatorControls()
{
    Label7 = addLabel(
        this, 136, 264,
        QStringLiteral("※注意--すべての色が表示できるとは限りません。作成後、実機で確かめてください。"),
        Qt::blue, 0, Underline::Yes);
    Label10 = addLabel(this, 16, 296, QStringLiteral("区切り線を変更できます。"), Qt::blue);
    Label9 = addLabel(this, 72, 320, QStringLiteral("すべて中央寄せになっています。"));
    Button14 = addButton(this, {16, 320, 49, 25}, QStringLiteral("次へ"));
    Label8 = addLabel(this, 72, 336, SeparatorCaption(1), QColor(0, 0, 128), 21);
    Label8->setGeometry(72, 336, 169, 21);
}

void TForm2::createPanel()
{
    Panel1 = addPanel(this, {0, 368, 577, 41});
    Button1 = addButton(Panel1, {360, 8, 97, 25}, QStringLiteral("決定"));
    Button2 = addButton(Panel1, {464, 8, 97, 25}, QStringLiteral("キャンセル"));
}

void TForm2::setFocusOrder()
{
    const QList<QWidget *> order{CheckBox1, r,        g,       b,        Edit1,    Edit2,
                                 Edit3,     Button3,  Button4, Button5,  Button6,  Button7,
                                 Button8,   Button9,  Button10, Button11, Button12, Button13,
                                 Button14,  Button1,  Button2};
    ::setFocusOrder(order);
}

void TForm2::configure()
{
    const std::array<const QByteArray *, 3> colors{&page.BackgroundColor, &page.LinkColor,
                                                   &page.TextColor};
    for (std::size_t index = 0; index < colors.size(); ++index) {
        shownColors[index] = *colors[index];
        colorEdits[index]->setText(sjis::toUnicode(shownColors[index]));
    }
    for (std::size_t index = 0; index < colors.size(); ++index)
        fillSwatch(colorSwatches[index], ParseColorCode(shownColors[index]));
    CheckBox1->setChecked(isOn(page.ColorSupport));
    showSeparatorCaption();
    separatorAtOpening = page.SeparatorStyle;
}

void TForm2::showMix()
{
    fillSwatch(Shape1, {std::uint8_t(r->value()), std::uint8_t(g->value()),
                        std::uint8_t(b->value())});
}

void TForm2::rChange()
{
    showMix();
}

void TForm2::gChange()
{
    showMix();
}

void TForm2::bChange()
{
    showMix();
}

void TForm2::setMix(const char *code)
{
    const ColorComponents color = ParseColorCode(code);
    r->setValue(color.red);
    g->setValue(color.green);
    b->setValue(color.blue);
    showMix();
}

// Only the edit and swatch change; the page takes the colour at "決定".
void TForm2::copyMixInto(int colorIndex)
{
    const QByteArray code = FormatColorCode(std::uint8_t(r->value()), std::uint8_t(g->value()),
                                            std::uint8_t(b->value()));
    shownColors[colorIndex] = code;
    fillSwatch(colorSwatches[colorIndex], ParseColorCode(code));
    colorEdits[colorIndex]->setText(QString::fromLatin1(code));
}

void TForm2::SpeedButton1Click()
{
    copyMixInto(0);
}

void TForm2::SpeedButton2Click()
{
    copyMixInto(1);
}

void TForm2::SpeedButton3Click()
{
    copyMixInto(2);
}

void TForm2::Button3Click()
{
    setMix("#FF0000");
}

void TForm2::Button4Click()
{
    setMix("#0000FF");
}

void TForm2::Button5Click()
{
    setMix("#FFFF00");
}

void TForm2::Button6Click()
{
    setMix("#008000");
}

void TForm2::Button7Click()
{
    setMix("#000000");
}

void TForm2::Button8Click()
{
    setMix("#808080");
}

void TForm2::Button9Click()
{
    setMix("#00FF00");
}

void TForm2::Button10Click()
{
    setMix("#00FFFF");
}

void TForm2::Button11Click()
{
    setMix("#808000");
}

void TForm2::Button12Click()
{
    setMix("#800000");
}

void TForm2::Button13Click()
{
    setMix("#800080");
}

// A number outside 1 to 10 keeps Label8's previous caption.
void TForm2::showSeparatorCaption()
{
    if (const QString caption = SeparatorCaption(page.SeparatorStyle); !caption.isEmpty())
        Label8->setText(caption);
}

// "次へ" changes the page at once; cancelling the dialog keeps it. A number outside 1 to 10,
// which only a hand-edited project holds, starts again at 1.
void TForm2::Button14Click()
{
    const int style = page.SeparatorStyle;
    page.SeparatorStyle = style >= 1 && style < SeparatorStyleCount ? std::uint8_t(style + 1) : 1;
    showSeparatorCaption();
}

void TForm2::Button1Click()
{
    page.BackgroundColor = shownColors[0];
    page.LinkColor = shownColors[1];
    page.TextColor = shownColors[2];
    page.ColorSupport = CheckBox1->isChecked() ? ToggleOn : ToggleOff;
    emit stored(QStringLiteral("基本設定の変更"));
    accept();
}

void TForm2::Button2Click()
{
    reject();
}

// "次へ" changed the page at once: cancelled, the dialog still made that change.
void TForm2::done(int result)
{
    if (result == Rejected && page.SeparatorStyle != separatorAtOpening)
        emit stored(QStringLiteral("区切り線の変更"));
    FixedDialog::done(result);
}
