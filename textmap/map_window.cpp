#include "textmap/map_window.h"

#include "document/unsaved_work.h"
#include "drawings/fonts.h"
#include "page/page_project.h"
#include "text/program_folder.h"
#include "text/sjis.h"
#include "text/text_reader.h"
#include "textmap/map_drawing.h"
#include "textmap/map_file.h"
#include "textmap/text_map.h"
#include "widgets/byte_line_edit.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"
#include "widgets/notice_bar.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <tuple>
#include <vector>

namespace {

const QColor markerColour(255, 150, 150);

ByteLineEdit *addEdit(QWidget *parent, int left, int top, int width)
{
    auto *edit = new ByteLineEdit(parent);
    edit->setGeometry(left, top, width, 20);
    return edit;
}

} // namespace

TForm7::TForm7(TextMap &map, const PageProject &page, const PageLocation &pageLocation,
               const QString &programFolder, Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("テキスト地図作成"), {589, 469}),
      SaveDialog1(FileDialog::Mode::Save, QStringLiteral("地図データを保存"),
                  QStringLiteral("地図データ(*.imp)|*.imp"), QStringLiteral("imp")),
      OpenDialog1(FileDialog::Mode::Open, QStringLiteral("地図データを開く"),
                  QStringLiteral("地図データ(*.imp)|*.imp"), QStringLiteral("imp")),
      SaveDialog2(FileDialog::Mode::Save, QStringLiteral("地図をテキストで保存"),
                  QStringLiteral("テキストファイル(*.txt)|*.txt"), QStringLiteral("txt")),
      mapPicture(blankMapPicture()),
      map(map),
      page(page),
      programFolder(programFolder),
      pageLocation(pageLocation),
      pageSaveDialog(FileDialog::Mode::Save, QStringLiteral("HTMLファイルを保存"),
                     QStringLiteral("HTMLファイル(*.html)|*.html|すべてのファイル(*.*)|*.*"),
                     QStringLiteral("html")),
      desktop(desktop)
{
    createControls();
    createPopupMenu();
    keepUnsavedMaps();
}

// The map is kept a little after each change; what replaces it unsaved (a sample, a file, the
// next opening) offers it back on a notice between the map and its buttons.
void TForm7::keepUnsavedMaps()
{
    notice = new NoticeBar(this, {8, 386, 273, 21});
    unsaved = new UnsavedWork(programFolder, QStringLiteral("map"), *notice, desktop,
                              {[this] { return WriteMapData(mapData()); },
                               [this](const QByteArray &work) { showMap(ReadMapData(work)); },
                               {}},
                              this);
    for (ByteLineEdit *edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6})
        connect(edit, &QLineEdit::textChanged, unsaved, &UnsavedWork::changed);
    resetMap();
    unsaved->saved();
}

void TForm7::done(int result)
{
    unsaved->keepNow();
    FixedDialog::done(result);
}

void TForm7::createControls()
{
    Panel3 = addPanel(this, {0, 0, 589, 41});
    Button1 = addButton(Panel3, {8, 8, 89, 25}, QStringLiteral("ＨＴＭＬ作成"));
    Button2 = addButton(Panel3, {104, 8, 89, 25}, QStringLiteral("テキストで保存"));
    Button3 = addButton(Panel3, {200, 8, 89, 25}, QStringLiteral("地図データ保存"));
    Button6 = addButton(Panel3, {296, 8, 89, 25}, QStringLiteral("ヘルプ"));
    Button8 = addButton(Panel3, {416, 8, 75, 25}, QStringLiteral("地図を削除"));
    Button7 = addButton(Panel3, {504, 8, 75, 25}, QStringLiteral("終了"));

    Label6 = addLabel(this, 8, 48, QStringLiteral("地図タイトル"), Qt::blue);
    Edit6 = addEdit(this, 24, 64, 209);

    Panel1 = addPanel(this, {8, 96, 273, 289});
    Label1 = addLabel(Panel1, 8, 8, QStringLiteral("地図"), Qt::blue);
    Image1 = new QLabel(Panel1);
    Image1->setGeometry(17, 24, MapPixels, MapPixels);
    Image1->installEventFilter(this);
    Label2 = addLabel(Panel1, 88, 272, QStringLiteral("右クリックをして文字を選択します。"), Qt::blue);

    Panel2 = addPanel(this, {8, 408, 273, 57});
    Label3 = addLabel(Panel2, 8, 8, QStringLiteral("地図データを読み出します。"));
    Button5 = addButton(Panel2, {24, 24, 105, 25}, QStringLiteral("地図データ  >>"));
    Button4 = addButton(Panel2, {152, 24, 105, 25}, QStringLiteral("地図データを開く"));

    Label4 = addLabel(this, 296, 48, QStringLiteral("記号の説明"), Qt::blue);
    const int rows[5] = {72, 104, 136, 168, 200};
    std::array<QCheckBox *, 5> boxes;
    std::array<ByteLineEdit *, 5> edits;
    for (int entry = 0; entry < LegendCount; ++entry) {
        boxes[entry] = new QCheckBox(sjis::toUnicode(legendSymbols()[entry]), this);
        boxes[entry]->setGeometry(304, rows[entry], 41, 17);
        edits[entry] = addEdit(this, 352, rows[entry], 217);
    }
    std::tie(CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5) =
        std::tuple(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4]);
    std::tie(Edit1, Edit2, Edit3, Edit4, Edit5) =
        std::tuple(edits[0], edits[1], edits[2], edits[3], edits[4]);

    Label7 = addLabel(this, 288, 232, QStringLiteral("リンク"), Qt::blue);
    Label8 = addLabel(this, 304, 248, QStringLiteral("表示する文"));
    Edit7 = addEdit(this, 368, 240, 121);
    Label9 = addLabel(this, 296, 280, QStringLiteral("リンク先ＵＲＬ"));
    Edit8 = addEdit(this, 368, 272, 209);
    Label5 = addLabel(this, 288, 304, QStringLiteral("地図の説明"), Qt::blue);
    Panel4 = addPanel(this, {296, 320, 281, 145});
    Memo1 = new QPlainTextEdit(Panel4);
    Memo1->setGeometry(8, 8, 265, 129);
    Memo1->setFont(fontWithCellHeight(proportionalGothic(), 16));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab moves on to the next control: a TAB character would go into the exported map.
    Memo1->setTabChangesFocus(true);

    connectGuarded<TForm7>(this, desktop,
                           {{Button1, &TForm7::Button1Click},
                            {Button2, &TForm7::Button2Click},
                            {Button3, &TForm7::Button3Click},
                            {Button4, &TForm7::Button4Click},
                            {Button5, &TForm7::Button5Click},
                            {Button6, &TForm7::Button6Click},
                            {Button7, &TForm7::Button7Click},
                            {Button8, &TForm7::Button8Click}});
}

// The submenus and their characters, in menu order; "削除" writes the full-width space.
void TForm7::createPopupMenu()
{
    struct Submenu {
        const char *name;
        const char *caption;
        std::vector<std::pair<const char *, const char *>> commands; // name, character
    };
    const Submenu submenus[] = {
        {"N21", "縦横線", {{"N6", "│"}, {"N7", "─"}}},
        {"N1", "罫線", {{"N4", "┘"}, {"N5", "┐"}, {"N2", "└"}, {"N3", "┌"}}},
        {"N8", "模様", {{"N9", "＊"}, {"N18", "■"}, {"N19", "／"}, {"N20", "＼"}}},
        {"N10", "記号", {{"N11", "○"}, {"N12", "□"}, {"N13", "△"}, {"N14", "×"}, {"N15", "☆"}}},
        {"N22", "文字",
         {{"N16", "駅"}, {"N17", "文"}, {"N23", "店"}, {"N24", "銀"}, {"N25", "川"}, {"N26", "海"}}},
    };
    PopupMenu1 = new QMenu(this);
    for (const Submenu &submenu : submenus) {
        QMenu *menu = PopupMenu1->addMenu(QString::fromUtf8(submenu.caption));
        menu->setObjectName(QString::fromUtf8(submenu.name));
        for (const auto &[name, character] : submenu.commands) {
            QAction *command = menu->addAction(QString::fromUtf8(character));
            command->setObjectName(QString::fromUtf8(name));
            const QByteArray bytes = sjis::fromUnicode(QString::fromUtf8(character));
            connect(command, &QAction::triggered, this, [this, bytes] { putCharacter(bytes); });
        }
    }
    Delete1 = PopupMenu1->addAction(QStringLiteral("削除"));
    Delete1->setObjectName(QStringLiteral("Delete1"));
    connect(Delete1, &QAction::triggered, this, [this] { putCharacter(emptyCell()); });
}

std::array<QCheckBox *, 5> TForm7::legendBoxes() const
{
    return {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5};
}

std::array<ByteLineEdit *, 5> TForm7::legendEdits() const
{
    return {Edit1, Edit2, Edit3, Edit4, Edit5};
}

void TForm7::configure()
{
    unsaved->replace(
        [this](bool &mapReplaced) {
            mapReplaced = true;
            resetMap();
        },
        {});
    if (notice->isHidden())
        unsaved->offerLeftWork(IsMapData, QStringLiteral("地図"), WriteMapData(mapData()),
                               [this](const QString &origin) {
                                   if (!origin.isEmpty())
                                       SaveDialog1.remember(origin);
                               });
}

void TForm7::resetMap()
{
    mapPicture = blankMapPicture();
    for (ByteLineEdit *edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6})
        edit->setBytes({});
    Edit7->setBytes(sjis::fromUnicode(QStringLiteral("戻る")));
    Edit8->setBytes("../index.html");
    for (QCheckBox *box : legendBoxes())
        box->setChecked(false);
    map.Cells.fill(emptyCell());
    RepaintMap();
    map.SampleMapNumber = 0;
    Memo1->clear();
}

void TForm7::showMapPicture()
{
    Image1->setPixmap(QPixmap::fromImage(mapPicture));
}

void TForm7::DrawMapCell(const QByteArray &text)
{
    ::DrawMapCell(mapPicture, map.CurrentColumn, map.CurrentRow, sjis::toUnicode(text),
                  penColour);
    showMapPicture();
}

void TForm7::RepaintMap()
{
    penColour = Qt::white;
    for (int row = 0; row < MapSize; ++row)
        for (int column = 0; column < MapSize; ++column) {
            map.CurrentColumn = column;
            map.CurrentRow = row;
            DrawMapCell(map.Cells[cellIndex(column, row)]);
        }
}

// Any button picks the cell under the mouse; the marker moves with it.
void TForm7::Image1MouseDown(Qt::MouseButton, const QPoint &position)
{
    penColour = Qt::white;
    DrawMapCell(map.Cells[cellIndex(map.CurrentColumn, map.CurrentRow)]);
    int column = 0;
    int row = 0;
    if (cellAt(position, column, row)) {
        map.CurrentColumn = column;
        map.CurrentRow = row;
    }
    penColour = markerColour;
    DrawMapCell(map.Cells[cellIndex(map.CurrentColumn, map.CurrentRow)]);
}

void TForm7::putCharacter(const QByteArray &character)
{
    map.Cells[cellIndex(map.CurrentColumn, map.CurrentRow)] = character;
    DrawMapCell(character);
    unsaved->changed();
}

bool TForm7::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Image1 || event->type() != QEvent::MouseButtonPress)
        return QDialog::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    Image1MouseDown(mouse->button(), mouse->position().toPoint());
    if (mouse->button() == Qt::RightButton)
        PopupMenu1->popup(mouse->globalPosition().toPoint());
    return true;
}

MapData TForm7::mapData() const
{
    MapData data;
    data.title = Edit6->bytes();
    data.cells = map.Cells;
    const std::array<ByteLineEdit *, 5> edits = legendEdits();
    for (int entry = 0; entry < LegendCount; ++entry)
        data.descriptions[entry] = edits[entry]->bytes();
    return data;
}

MapExport TForm7::mapExport() const
{
    MapExport exported;
    exported.map = mapData();
    const std::array<QCheckBox *, 5> boxes = legendBoxes();
    for (int entry = 0; entry < LegendCount; ++entry)
        exported.ticked[entry] = boxes[entry]->isChecked();
    QString description = Memo1->toPlainText();
    // A line break at the very end closes the last line; it does not open another.
    if (!description.isEmpty()) {
        if (description.endsWith(QLatin1Char('\n')))
            description.chop(1);
        for (const QString &line : description.split(QLatin1Char('\n')))
            exported.descriptionLines.append(sjis::fromUnicode(line));
    }
    exported.linkText = Edit7->bytes();
    exported.linkAddress = Edit8->bytes();
    return exported;
}

void TForm7::Button1Click()
{
    if (pageSaveDialog.lastFolder().isEmpty())
        pageSaveDialog.startIn(pageLocation.PageFolder);
    pageSaveDialog.save(desktop, [this] { return WriteMapHtml(mapExport(), page); });
}

void TForm7::Button2Click()
{
    SaveDialog2.save(desktop, [this] { return WriteMapText(mapExport()); });
}

void TForm7::Button3Click()
{
    if (SaveDialog1.save(desktop, [this] { return WriteMapData(mapData()); }))
        unsaved->saved(SaveDialog1.FileName);
}

// The whole file is read before anything changes, so a file that cannot be read leaves the
// map as it was. What it replaces unsaved is offered back.
void TForm7::readMap(const QString &path, const QString &origin)
{
    const MapData read = ReadMapData(readFileBytes(path));
    unsaved->replace(
        [&](bool &mapReplaced) {
            mapReplaced = true;
            showMap(read);
        },
        origin);
}

void TForm7::showMap(const MapData &read)
{
    map.Cells = read.cells;
    const std::array<ByteLineEdit *, 5> edits = legendEdits();
    for (int entry = 0; entry < LegendCount; ++entry)
        edits[entry]->setBytes(read.descriptions[entry]);
    Edit6->setBytes(read.title);
    RepaintMap();
}

void TForm7::Button4Click()
{
    OpenDialog1.open(desktop, [this](const QString &path) { readMap(path, path); });
}

// The number moves on before the file is read, so a missing sample map is skipped by the
// next press.
void TForm7::Button5Click()
{
    map.SampleMapNumber = map.SampleMapNumber >= 10 ? 1 : map.SampleMapNumber + 1;
    // A sample is no file of the user's: saving it asks for a name of its own.
    readMap(programFilePath(programFolder,
                            "map\\map" + QByteArray::number(map.SampleMapNumber) + ".imp"),
            {});
}

void TForm7::Button6Click()
{
    desktop.openForUser(programFilePath(programFolder, "help\\help16.html"));
}

void TForm7::Button7Click()
{
    accept();
}

void TForm7::Button8Click()
{
    map.Cells.fill(emptyCell());
    RepaintMap();
    unsaved->changed();
}
