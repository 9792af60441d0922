#include "windows/item_editor.h"

#include "check/findings.h"
#include "drawings/fonts.h"
#include "page/page_project.h"
#include "text/program_folder.h"
#include "text/sjis.h"
#include "widgets/byte_line_edit.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"
#include "widgets/pictogram_line_edit.h"
#include "widgets/pictogram_palette_button.h"
#include "windows/glyphs.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <array>
#include <utility>

namespace {

// What the dialog shows for a kind; a null text hides its control.
struct KindLayout {
    const char *heading;
    const char *firstPrompt;
    const char *secondPrompt;
    std::array<const char *, 3> options;
    const char *helpPage;
};

const KindLayout &layoutFor(ItemKind kind)
{
    static const KindLayout image{"画像　",
                                  "画像ファイルのあるURLを入力してください",
                                  "リンクさせたいURLを入力してください",
                                  {"リンクを使用する", "左寄せにする", nullptr},
                                  "help\\help08.html"};
    static const KindLayout text{"テキスト　",
                                 "表示させたい文章（テキスト）を入力してください",
                                 nullptr,
                                 {nullptr, nullptr, nullptr},
                                 "help\\help16.html"};
    static const KindLayout link{
        "リンク　",
        "表示する文（文字）を入力してください",
        "リンクのURLまたはメールアドレスを入力してください",
        {"メールアドレス（メールの絵文字が自動的に入ります）", "中央寄せ",
         "アクセスキーを使用（数字の絵文字が自動的に入ります）"},
        "help\\help09.html"};
    static const KindLayout direct{"直接入力　",
                                   "タグを直接、入力してください",
                                   nullptr,
                                   {nullptr, nullptr, nullptr},
                                   "help.html"};
    static const KindLayout body{"文章",
                                 "テキストファイルを参照から選んでください",
                                 nullptr,
                                 {nullptr, nullptr, nullptr},
                                 "help\\help07.html"};
    switch (kind) {
    case ItemKind::Image:
        return image;
    case ItemKind::Text:
        return text;
    case ItemKind::Link:
        return link;
    case ItemKind::Direct:
        return direct;
    case ItemKind::Body:
        break;
    }
    return body;
}

// Whether a text goes into the edit box, or back into the page, trimmed or as it is.
enum class Trim { No, Yes };

// The fields of the slot a kind edits: the current slot of that kind.
struct SlotFields {
    QByteArray *first = nullptr; // none for the body text, whose path the dialog keeps
    Trim firstShown = Trim::No;
    Trim firstStored = Trim::No;
    QByteArray *second = nullptr; // always trimmed
    Toggle *used = nullptr;
    std::array<Toggle *, 3> options{};
    int slot = 0; // 0 for the body text, which has none
};

LineOrigin originOf(ItemKind kind, int slot)
{
    using Item = LineOrigin::Item;
    switch (kind) {
    case ItemKind::Image:
        return {Item::Image, slot};
    case ItemKind::Text:
        return {Item::Text, slot};
    case ItemKind::Link:
        return {Item::Link, slot};
    case ItemKind::Direct:
        return {Item::Direct, slot};
    case ItemKind::Body:
        break;
    }
    return {Item::Body, 0};
}

SlotFields fieldsFor(ItemKind kind, PageProject &page, const WorkingState &state)
{
    switch (kind) {
    case ItemKind::Image: {
        ImageSlot &image = page.Images[state.CurrentImage - 1];
        return {.first = &image.ImageUrl,
                .firstShown = Trim::Yes,
                .firstStored = Trim::Yes,
                .second = &image.ImageLinkUrl,
                .used = &image.ImageUsed,
                .options = {&image.ImageLinked, &image.ImageLeft, nullptr},
                .slot = state.CurrentImage};
    }
    case ItemKind::Text: {
        TextSlot &text = page.Texts[state.CurrentText - 1];
        return {.first = &text.TextContent, .used = &text.TextUsed, .slot = state.CurrentText};
    }
    case ItemKind::Link: {
        LinkSlot &link = page.Links[state.CurrentLink - 1];
        // The caption shows trimmed but is stored as typed.
        return {.first = &link.LinkCaption,
                .firstShown = Trim::Yes,
                .firstStored = Trim::No,
                .second = &link.LinkTarget,
                .used = &link.LinkUsed,
                .options = {&link.LinkMail, &link.LinkCentered, &link.LinkAccessKey},
                .slot = state.CurrentLink};
    }
    case ItemKind::Direct: {
        DirectSlot &direct = page.Directs[state.CurrentDirect - 1];
        return {.first = &direct.DirectMarkup, .used = &direct.DirectUsed, .slot = state.CurrentDirect};
    }
    case ItemKind::Body:
        break;
    }
    // The body's path is no text of the page: the dialog keeps it as a path.
    return {.used = &page.BodyUsed};
}

// "使用しない" is ticked when the used field holds 2; any other value shows as used and
// becomes 1.
void showUnused(QCheckBox *box, Toggle &used)
{
    box->setChecked(used == ToggleOff);
    if (used != ToggleOff)
        used = ToggleOn;
}

Toggle usedFromUnusedBox(const QCheckBox *box)
{
    return box->isChecked() ? ToggleOff : ToggleOn;
}

// An option is ticked when it holds 1; any other value shows as off and becomes 2.
void showOption(QCheckBox *box, Toggle &option)
{
    box->setChecked(option == ToggleOn);
    if (option != ToggleOn)
        option = ToggleOff;
}

Toggle optionFromBox(const QCheckBox *box)
{
    return box->isChecked() ? ToggleOn : ToggleOff;
}

} // namespace

TForm3::TForm3(PageProject &page, WorkingState &state, const QString &programFolder,
               Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, {}, {544, 326}),
      OpenDialog1(FileDialog::Mode::Open, QStringLiteral("文章のテキストファイルを選ぶ"),
                  QStringLiteral("テキストファイル(*.txt)|*.txt"), QStringLiteral("txt")),
      page(page),
      state(state),
      programFolder(programFolder),
      desktop(desktop)
{
    createControls();
}

void TForm3::createControls()
{

    const auto checkBox = [this](int left, int top, int width) {
        auto *box = new QCheckBox(this);
        box->setGeometry(left, top, width, 17);
        box->setFocusPolicy(Qt::ClickFocus);
        return box;
    };
    const auto button = [this](int left, int top, int width, const QString &caption) {
        QPushButton *created = addButton(this, {left, top, width, 25}, caption);
        created->setFocusPolicy(Qt::ClickFocus);
        return created;
    };

    Label1 = addLabel(this, 8, 16, {}, Qt::blue, 15);
    CheckBox1 = checkBox(112, 16, 97);
    CheckBox1->setText(QStringLiteral("使用しない"));
    setTextColour(CheckBox1, Qt::blue);
    SpeedButton1 = addToolButton(this, {504, 16, 25, 25}, QString(),
                                 QStringLiteral("ヘルプファイルを開く"));
    SpeedButton1->setIcon(QPixmap::fromImage(helpBookGlyph(16)));
    SpeedButton1->setIconSize(QSize(16, 16));
    Label2 = addLabel(this, 24, 48, {});
    Edit1 = new PictogramLineEdit(this);
    Edit1->setGeometry(40, 72, 489, 20);
    paletteButton = new PictogramPaletteButton(*Edit1, programFolder, desktop, {504, 44, 25, 25},
                                               smilingFaceGlyph(), this);
    Button1 = button(480, 104, 57, QStringLiteral("参照"));
    fitButton = button(392, 97, 137, QStringLiteral("携帯向けに変換…"));
    fitButton->setToolTip(QStringLiteral("画像を、選んだ機種で表示できる形と大きさにします。"));
    Label3 = addLabel(this, 24, 120, {});
    Edit2 = new ByteLineEdit(this);
    Edit2->setGeometry(40, 144, 489, 20);
    CheckBox2 = checkBox(32, 200, 449);
    CheckBox3 = checkBox(32, 232, 441);
    CheckBox4 = checkBox(32, 264, 313);
    Button2 = button(368, 264, 75, QStringLiteral("決定"));
    Button3 = button(456, 264, 75, QStringLiteral("キャンセル"));
    Label4 = addLabel(
        this, 152, 304,
        QStringLiteral("初期設定では、使用しないにチェックが入っているのでよく確認してください。"),
        Qt::blue, 0, Underline::Yes);

    connectGuarded<TForm3>(this, desktop,
                           {{Button1, &TForm3::Button1Click},
                            {Button2, &TForm3::Button2Click},
                            {Button3, &TForm3::Button3Click},
                            {fitButton, &TForm3::fitButtonClick},
                            {SpeedButton1, &TForm3::SpeedButton1Click}});
}

void TForm3::configureFor(ItemKind kind)
{
    state.EditKind = kind;
    const KindLayout &layout = layoutFor(kind);
    SlotFields fields = fieldsFor(kind, page, state);

    QString heading = QString::fromUtf8(layout.heading);
    if (fields.slot > 0)
        heading += QString::number(fields.slot);
    setWindowTitle(heading);
    Label1->setText(heading);
    Label1->adjustSize();
    Label2->setText(QString::fromUtf8(layout.firstPrompt));
    Label2->adjustSize();

    if (fields.first) {
        Edit1->setBytes(fields.firstShown == Trim::Yes ? sjis::trimmed(*fields.first) : *fields.first);
    } else {
        bodyFile = {sjis::trimmed(page.BodyFile.bytes), page.BodyFile.chosen};
        Edit1->setText(bodyFile.shown());
    }
    Edit1->setReadOnly(kind == ItemKind::Body);
    // Pictograms go into the page's texts, not into addresses.
    paletteButton->setVisible(kind == ItemKind::Text || kind == ItemKind::Link
                              || kind == ItemKind::Direct);
    Button1->setVisible(kind == ItemKind::Body);
    fitButton->setVisible(kind == ItemKind::Image);

    const bool hasSecond = fields.second != nullptr;
    Label3->setVisible(hasSecond);
    Edit2->setVisible(hasSecond);
    if (hasSecond) {
        Label3->setText(QString::fromUtf8(layout.secondPrompt));
        Label3->adjustSize();
        Edit2->setBytes(sjis::trimmed(*fields.second));
    }

    showUnused(CheckBox1, *fields.used);
    const std::array<QCheckBox *, 3> optionBoxes{CheckBox2, CheckBox3, CheckBox4};
    for (std::size_t index = 0; index < optionBoxes.size(); ++index) {
        QCheckBox *box = optionBoxes[index];
        box->setVisible(fields.options[index] != nullptr);
        if (!fields.options[index])
            continue;
        box->setText(QString::fromUtf8(layout.options[index]));
        showOption(box, *fields.options[index]);
    }
    Edit1->setFocus();
}

// "決定": stores into the slot the main window shows now; a ticked "使用しない" keeps the
// contents and only marks the item unused.
void TForm3::Button2Click()
{
    SlotFields fields = fieldsFor(state.EditKind, page, state);
    if (fields.first) {
        const QByteArray first = Edit1->bytes();
        *fields.first = fields.firstStored == Trim::Yes ? sjis::trimmed(first) : first;
    } else {
        page.BodyFile = bodyFile;
    }
    if (fields.second)
        *fields.second = sjis::trimmed(Edit2->bytes());
    *fields.used = usedFromUnusedBox(CheckBox1);
    const std::array<QCheckBox *, 3> optionBoxes{CheckBox2, CheckBox3, CheckBox4};
    for (std::size_t index = 0; index < optionBoxes.size(); ++index)
        if (fields.options[index])
            *fields.options[index] = optionFromBox(optionBoxes[index]);
    emit stored(QStringLiteral("%1の変更").arg(ItemName(originOf(state.EditKind, fields.slot))));
    accept();
}

void TForm3::Button3Click()
{
    reject();
}

void TForm3::Button1Click()
{
    if (!OpenDialog1.execute(desktop))
        return;
    bodyFile = StoredPath::fromChosen(OpenDialog1.FileName);
    Edit1->setText(OpenDialog1.FileName);
    const QString warning =
        pathLossWarning(OpenDialog1.FileName, QStringLiteral("プロジェクトファイル"));
    if (!warning.isEmpty())
        desktop.showWarning(warning);
}

void TForm3::fitButtonClick()
{
    if (!fitPicture)
        return;
    const LineOrigin origin{LineOrigin::Item::Image, state.CurrentImage};
    if (const std::optional<WrittenPicture> written =
            fitPicture(origin, sjis::toUnicode(sjis::trimmed(Edit1->bytes())))) {
        Edit1->setBytes(sjis::fromUnicode(written->name));
        writtenPictures.push_back(*written);
    }
}

void TForm3::done(int result)
{
    // The latest first, so that a file written twice gets back what it held at the start.
    const std::vector<WrittenPicture> written = std::exchange(writtenPictures, {});
    if (result != QDialog::Accepted && takeBackPicture)
        for (auto picture = written.rbegin(); picture != written.rend(); ++picture)
            guarded(desktop, [&] { takeBackPicture(*picture); });
    FixedDialog::done(result);
}

void TForm3::SpeedButton1Click()
{
    desktop.openForUser(
        programFilePath(programFolder, layoutFor(state.EditKind).helpPage));
}
