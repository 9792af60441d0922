#include "windows/tool_settings_dialog.h"

#include "drawings/fonts.h"
#include "settings/tool_settings.h"
#include "text/sjis.h"
#include "widgets/byte_line_edit.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"

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
      OpenDialog1(FileDialog::Mode::Open, QStringLiteral("起動するソフトを選ぶ"),
                  QString::fromUtf8(programFilter), QString::fromUtf8(programExtension)),
      settings(settings),
      desktop(desktop)
{

    const auto label = [this](int top, const QString &caption) {
        return addLabel(this, 8, top, caption);
    };
    // The programs are chosen with "参照", never typed; the home page is typed.
    enum class Entry { Chosen, Typed };
    const auto edit = [this](int top, Entry entry) {
        auto *created = new ByteLineEdit(this);
        created->setGeometry(32, top, 393, 20);
        created->setReadOnly(entry == Entry::Chosen);
        return created;
    };
    Label1 = label(8, QStringLiteral("FTPソフト"));
    Edit1 = edit(32, Entry::Chosen);
    Button3 = addButton(this, {432, 32, 57, 25}, QStringLiteral("参照"));
    Label2 = label(72, QStringLiteral("テキストエディタ"));
    Edit2 = edit(96, Entry::Chosen);
    Button4 = addButton(this, {432, 96, 57, 25}, QStringLiteral("参照"));
    Label3 = label(136, QStringLiteral("ペイントソフト（グラフィック編集ソフト）"));
    Edit3 = edit(160, Entry::Chosen);
    Button5 = addButton(this, {432, 168, 57, 25}, QStringLiteral("参照"));
    Label4 = label(200, QStringLiteral("ホームページ"));
    Edit4 = edit(224, Entry::Typed);
    Panel1 = addPanel(this, {0, 322 - 41, 501, 41});
    Button1 = addButton(Panel1, {328, 8, 75, 25}, QStringLiteral("決定"));
    Button2 = addButton(Panel1, {408, 8, 75, 25}, QStringLiteral("キャンセル"));

    const QList<QWidget *> order{Edit1, Edit2, Edit3, Edit4, Button3, Button4, Button5,
                                 Button1, Button2};
    setFocusOrder(order);

    connectGuarded<TForm6>(this, desktop,
                           {{Button3, &TForm6::Button3Click},
                            {Button4, &TForm6::Button4Click},
                            {Button5, &TForm6::Button5Click},
                            {Button1, &TForm6::Button1Click},
                            {Button2, &TForm6::Button2Click}});
}

void TForm6::configure()
{
    programs = {settings.FtpProgram, settings.EditorProgram, settings.PaintProgram};
    const std::array<ByteLineEdit *, 3> edits{Edit1, Edit2, Edit3};
    for (std::size_t index = 0; index < edits.size(); ++index)
        edits[index]->setText(programs[index].shown());
    Edit4->setBytes(settings.HomePage);
}

void TForm6::chooseProgram(std::size_t index, ByteLineEdit *edit)
{
    if (!OpenDialog1.execute(desktop))
        return;
    programs[index] = StoredPath::fromChosen(OpenDialog1.FileName);
    edit->setText(OpenDialog1.FileName);
    const QString warning =
        pathLossWarning(OpenDialog1.FileName, QStringLiteral("設定ファイル（set.dat）"));
    if (!warning.isEmpty())
        desktop.showWarning(warning);
}

void TForm6::Button3Click()
{
    chooseProgram(0, Edit1);
}

void TForm6::Button4Click()
{
    chooseProgram(1, Edit2);
}

void TForm6::Button5Click()
{
    chooseProgram(2, Edit3);
}

// The program edits are read-only: each holds the stored program or the one just chosen.
void TForm6::Button1Click()
{
    const auto trimmedPath = [](const StoredPath &path) {
        return StoredPath{sjis::trimmed(path.bytes), path.chosen};
    };
    settings.FtpProgram = trimmedPath(programs[0]);
    settings.EditorProgram = trimmedPath(programs[1]);
    settings.PaintProgram = trimmedPath(programs[2]);
    settings.HomePage = sjis::trimmed(Edit4->bytes());
    accept();
}

void TForm6::Button2Click()
{
    reject();
}
