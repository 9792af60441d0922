// The main window's controls as they are placed: the title band, the toolbar, the title box
// with the item buttons and their slot steppers, the pattern preview and the summary, their
// handlers and the focus order.
#include "windows/main_window.h"

#include "document/page_session.h"
#include "drawings/fonts.h"
#include "page/page_title.h"
#include "widgets/controls.h"
#include "widgets/error_guard.h"
#include "widgets/pictogram_line_edit.h"
#include "widgets/pictogram_palette_button.h"
#include "widgets/title_band_drag.h"
#include "windows/glyphs.h"
#include "windows/page_check_panel.h"
#include "windows/preview_box.h"
#include "windows/summary_panel.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

void TForm1::createTitleBar()
{
    Panel1 = addPanel(this, {0, 0, 680, 20});
    Image1 = new QLabel(Panel1);
    Image1->setGeometry(1, 1, 678, 18);
    Image1->setPixmap(QPixmap::fromImage(
        titleBandPicture(678, 18, applicationTitle(), fontWithCellHeight(proportionalGothic(), 12))));
    titleBandDrag = new TitleBandDrag(*this, *Image1,
                                      [this](Qt::MouseButtons held) { Image1MouseDown(held); });
    SpeedButton22 = addToolButton(Panel1, {640, 3, 15, 15}, QStringLiteral("↓"),
                                  QStringLiteral("最小化"));
    SpeedButton1 = addToolButton(Panel1, {659, 3, 15, 15}, QStringLiteral("×"),
                                 QStringLiteral("閉じる"));
    for (QToolButton *button : {SpeedButton22, SpeedButton1})
        button->setAutoRaise(false);
}

void TForm1::createToolbar()
{
    Panel2 = addPanel(this, {8, 24, 665, 33});
    const struct {
        QToolButton *&button;
        int left, width;
        const char *caption, *hint;
        QImage picture;
    } tools[] = {
        {SpeedButton2, 8, 73, "新規作成", "新規に作成するときに押します", {}},
        {SpeedButton21, 88, 105, "テキスト地図作成", "文字のみを使って地図を作成します。", {}},
        {SpeedButton3, 200, 73, "HTML保存", "ホームページ用のデータを作成します", {}},
        {SpeedButton4, 272, 73, "データ保存", "プロジェクトファイルを保存します", {}},
        {SpeedButton5, 344, 73, "データ開く", "プロジェクトファイルを開きます", {}},
        {SpeedButton6, 424, 41, "設定", "設定を行います", {}},
        {SpeedButton7, 464, 25, "", "ヘルプ", helpBookGlyph(20)},
        {SpeedButton8, 496, 25, "", "FTPソフトを起動します", ftpGlyph()},
        {SpeedButton9, 520, 25, "", "テキストエディタを起動します", textPageGlyph()},
        {SpeedButton10, 544, 25, "", "ペイントソフトを起動します", landscapePictureGlyph()},
        {SpeedButton11, 576, 25, "", "ホームページ", globeGlyph()},
        {SpeedButton12, 608, 49, "Ver情報", "", {}}};
    for (const auto &tool : tools) {
        tool.button = addToolButton(Panel2, {tool.left, 4, tool.width, 25},
                                    QString::fromUtf8(tool.caption), QString::fromUtf8(tool.hint));
        tool.button->setIcon(QPixmap::fromImage(tool.picture));
        tool.button->setIconSize(tool.picture.size());
    }
    SpeedButton4->setFont(fontWithCellHeight(proportionalGothic(), 13));
}

void TForm1::createWorkArea()
{
    Button7 = addButton(this, {520, 60, 121, 25}, QStringLiteral("型を選択変更する"));

    Label1 = addLabel(this, 96, 96, QStringLiteral("タイトル"), Qt::blue, 15);

    Edit1 = new PictogramLineEdit(this);
    Edit1->setGeometry(152, 96, 169, 20);
    Edit1->setLongestBytes(LongestTitleBytes);
    Edit1->leaveUndoToWindow();
    new PictogramPaletteButton(*Edit1, programFolder, desktop, {326, 95, 22, 22},
                               smilingFaceGlyph(), this);
    // The title is kept as typed; a title that was opened stays byte for byte until edited.
    connect(Edit1, &PictogramLineEdit::textEdited, this,
            [this] { session.titleTyped(Edit1->bytes()); });

    Button1 = addButton(this, {40, 136, 75, 25}, QStringLiteral("基本設定"));
    Button2 = addButton(this, {40, 168, 75, 25}, QStringLiteral("文章"));
    Button3 = addButton(this, {136, 136, 75, 25}, {});
    Button4 = addButton(this, {136, 168, 75, 25}, {});
    Button5 = addButton(this, {296, 136, 75, 25}, {});
    Button8 = addButton(this, {296, 168, 75, 25}, {});
    enum class Step { Next, Previous };
    const QIcon next(QPixmap::fromImage(nextTriangleGlyph()));
    // Each stepper's hint names the slots it steps through.
    const auto stepper = [this, &next](int left, int top, Step step, const QString &stepped) {
        if (step == Step::Previous)
            return addToolButton(this, {left, top, 25, 25}, QStringLiteral("<<"),
                                 QStringLiteral("前の%1へ").arg(stepped));
        QToolButton *button =
            addToolButton(this, {left, top, 25, 25}, QString(), QStringLiteral("次の%1へ").arg(stepped));
        button->setIcon(next);
        button->setIconSize(QSize(20, 20));
        return button;
    };
    SpeedButton13 = stepper(216, 136, Step::Next, QStringLiteral("画像（画像1・画像2）"));
    SpeedButton17 = stepper(248, 136, Step::Previous, QStringLiteral("画像（画像1・画像2）"));
    SpeedButton14 = stepper(216, 168, Step::Next, QStringLiteral("テキスト（テキスト1～5）"));
    SpeedButton18 = stepper(248, 168, Step::Previous, QStringLiteral("テキスト（テキスト1～5）"));
    SpeedButton15 = stepper(376, 136, Step::Next, QStringLiteral("リンク（リンク1～10）"));
    SpeedButton19 = stepper(408, 136, Step::Previous, QStringLiteral("リンク（リンク1～10）"));
    SpeedButton16 = stepper(376, 168, Step::Next, QStringLiteral("直接入力（直接入力1～3）"));
    SpeedButton20 = stepper(408, 168, Step::Previous, QStringLiteral("直接入力（直接入力1～3）"));
    showSlotCaptions();

    Panel3 = addPanel(this, {488, 88, 186, 401});
    ScrollBox1 = addPreviewBox(Panel3, {4, 8, 177, 385}, 300, Image3);
}

void TForm1::createSummaryArea()
{
    Panel4 = addPanel(this, {8, 232, 473, 257});
    Image4 = new QLabel(Panel4);
    Image4->setGeometry(8, 5, SummaryWidth, SummaryHeight);
    Button9 = addButton(Panel4, {8, 229, 75, 25}, QStringLiteral("画像,文章"));
    Button10 = addButton(Panel4, {88, 229, 75, 25}, QStringLiteral("テキスト"));
    Button11 = addButton(Panel4, {168, 229, 75, 25}, QStringLiteral("リンク１～５"));
    Button12 = addButton(Panel4, {248, 229, 75, 25}, QStringLiteral("リンク５～１０"));
    Button6 = addButton(Panel4, {392, 229, 75, 25}, QStringLiteral("次へ"));
}

// Every button's handler runs inside the error guard: a failure shows its message.
void TForm1::connectHandlers()
{
    connectGuarded<TForm1>(
        this, desktop,
        {{SpeedButton22, &TForm1::SpeedButton22Click}, {SpeedButton1, &TForm1::SpeedButton1Click},
         {SpeedButton2, &TForm1::SpeedButton2Click},   {SpeedButton3, &TForm1::SpeedButton3Click},
         {SpeedButton4, &TForm1::SpeedButton4Click},   {SpeedButton5, &TForm1::SpeedButton5Click},
         {SpeedButton6, &TForm1::SpeedButton6Click},   {SpeedButton7, &TForm1::SpeedButton7Click},
         {SpeedButton8, &TForm1::SpeedButton8Click},   {SpeedButton9, &TForm1::SpeedButton9Click},
         {SpeedButton10, &TForm1::SpeedButton10Click}, {SpeedButton11, &TForm1::SpeedButton11Click},
         {SpeedButton12, &TForm1::SpeedButton12Click}, {SpeedButton21, &TForm1::SpeedButton21Click},
         {SpeedButton13, &TForm1::SpeedButton13Click}, {SpeedButton14, &TForm1::SpeedButton14Click},
         {SpeedButton15, &TForm1::SpeedButton15Click}, {SpeedButton16, &TForm1::SpeedButton16Click},
         {SpeedButton17, &TForm1::SpeedButton17Click}, {SpeedButton18, &TForm1::SpeedButton18Click},
         {SpeedButton19, &TForm1::SpeedButton19Click}, {SpeedButton20, &TForm1::SpeedButton20Click},
         {Button7, &TForm1::Button7Click},             {Button1, &TForm1::Button1Click},
         {Button2, &TForm1::Button2Click},             {Button3, &TForm1::Button3Click},
         {Button4, &TForm1::Button4Click},             {Button5, &TForm1::Button5Click},
         {Button8, &TForm1::Button8Click},             {Button6, &TForm1::Button6Click},
         {Button9, &TForm1::Button9Click},             {Button10, &TForm1::Button10Click},
         {Button11, &TForm1::Button11Click},           {Button12, &TForm1::Button12Click}});
}

void TForm1::setFocusOrder()
{
    const QList<QWidget *> order{ScrollBox1, Button6, Button9, Button10, Button11, Button12,
                                 Button1,    Button2, Button3, Button4,  Button5,  Button8,
                                 Edit1,      Button7, pageCheck,  previewButton};
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    ::setFocusOrder(order);
}
