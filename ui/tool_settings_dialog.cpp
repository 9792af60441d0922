#include "ui/tool_settings_dialog.h"

#include "model/fonts.h"
#include "model/sjis.h"
#include "ui/byte_line_edit.h"
#include "ui/controls.h"
#include "ui/tool_settings.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

// Programs carry no extension on this desktop.
#ifdef Q_OS_WIN
const char *const programFilter = "実行ファイル(*.exe)|*.exe";
const char *const programExtension = "exe";
#else
const char *const programFilter = "実行ファイル (*)|*";
const char *const programExtension = "";
#endif

} // namespace

TForm6::TForm6(ToolSettings &settings, Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("設定"), {501, 322}),
      OpenDialog1(FileDialog::Mode::Open, QString::fromUtf8(programFilter),
                  QString::fromUtf8(programExtension)),
      settings(settings),
      desktop(desktop)
{

    const auto label = [this](int top, const QString &caption) {
        return addLabel(this, 8, top, caption);
    };
    const auto edit = [this](int top, bool readOnly) {
        auto *created = new ByteLineEdit(this);
        created->setGeometry(32, top, 393, 20);
        created->setReadOnly(readOnly);
        return created;
    };
    Label1 = label(8, QStringLiteral("FTPソフト"));
    Edit1 = edit(32, true);
    Button3 = addButton(this, {432, 32, 57, 25}, QStringLiteral("参照"));
    Label2 = label(72, QStringLiteral("テキストエディタ"));
    Edit2 = edit(96, true);
    Button4 = addButton(this, {432, 96, 57, 25}, QStringLiteral("参照"));
    Label3 = label(136, QStringLiteral("ペイントソフト（グラフィック編集ソフト）"));
    Edit3 = edit(160, true);
    Button5 = addButton(this, {432, 168, 57, 25}, QStringLiteral("参照"));
    Label4 = label(200, QStringLiteral("ホームページ"));
    Edit4 = edit(224, false);
    Panel1 = addPanel(this, {0, 322 - 41, 501, 41});
    Button1 = addButton(Panel1, {328, 8, 75, 25}, QStringLiteral("決定"));
    Button2 = addButton(Panel1, {408, 8, 75, 25}, QStringLiteral("キャンセル"));

    const QList<QWidget *> order{Edit1, Edit2, Edit3, Edit4, Button3, Button4, Button5,
                                 Button1, Button2};
    for (qsizetype index = 1; index < order.size(); ++index)
        setTabOrder(order[index - 1], order[index]);

    connect(Button3, &QPushButton::clicked, this, &TForm6::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm6::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm6::Button5Click);
    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
}

void TForm6::configure()
{
    Edit1->setBytes(settings.FtpProgram);
    Edit2->setBytes(settings.EditorProgram);
    Edit3->setBytes(settings.PaintProgram);
    Edit4->setBytes(settings.HomePage);
}

void TForm6::chooseProgramInto(ByteLineEdit *edit)
{
    if (OpenDialog1.execute(desktop))
        edit->setText(OpenDialog1.FileName);
}

void TForm6::Button3Click()
{
    chooseProgramInto(Edit1);
}

void TForm6::Button4Click()
{
    chooseProgramInto(Edit2);
}

void TForm6::Button5Click()
{
    chooseProgramInto(Edit3);
}

void TForm6::Button1Click()
{
    settings.FtpProgram = sjis::trimmed(Edit1->bytes());
    settings.EditorProgram = sjis::trimmed(Edit2->bytes());
    settings.PaintProgram = sjis::trimmed(Edit3->bytes());
    settings.HomePage = sjis::trimmed(Edit4->bytes());
    accept();
}

void TForm6::Button2Click()
{
    reject();
}
