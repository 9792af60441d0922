#include "ui/main_window.h"

#include "generator/page_generator.h"
#include "model/fonts.h"
#include "model/jpeg_picture.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "model/pattern_preview.h"
#include "model/sjis.h"
#include "model/text_reader.h"
#include "ui/desktop.h"
#include "ui/error_guard.h"
#include "ui/page_commands.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollArea>
#include <QToolButton>

namespace {

const QString htmlFilter = QStringLiteral("HTMLファイル(*.html)|*.html|すべてのファイル(*.*)|*.*");
const QString projectFilter = QStringLiteral("プロジェクトファイル(*.mpk)|*.mpk");

} // namespace

TForm1::TForm1(PageProject &page, WorkingState &state, PatternCatalogue &catalogue,
               Pattern &pattern, GeneratorState &generator, const QString &programFolder,
               Desktop &desktop, QWidget *parent)
    : QWidget(parent),
      SaveDialog1(FileDialog::Mode::Save, htmlFilter, QStringLiteral("html")),
      OpenDialog1(FileDialog::Mode::Open, projectFilter, QStringLiteral("mpk")),
      SaveDialog2(FileDialog::Mode::Save, projectFilter, QStringLiteral("mpk")),
      ImageList1(makeStripPictures()),
      page(page),
      state(state),
      catalogue(catalogue),
      pattern(pattern),
      generator(generator),
      programFolder(programFolder),
      desktop(desktop)
{
    createControls();
}

void TForm1::createControls()
{
    setWindowTitle(applicationTitle());
    setFixedSize(680, 495);
    setFont(fontWithCellHeight(proportionalGothic(), 12));

    Image2 = new QLabel(this);
    Image2->setGeometry(0, 20, 680, 475);
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Panel2 = new QFrame(this);
    Panel2->setGeometry(8, 24, 665, 33);
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Raised);
    Panel2->setAutoFillBackground(true);
    SpeedButton2 = addToolButton(8, 73, QStringLiteral("新規作成"),
                                 QStringLiteral("新規に作成するときに押します"));
    SpeedButton3 = addToolButton(200, 73, QStringLiteral("HTML保存"),
                                 QStringLiteral("ホームページ用のデータを作成します"));
    SpeedButton4 = addToolButton(272, 73, QStringLiteral("データ保存"),
                                 QStringLiteral("プロジェクトファイルを保存します"));
    SpeedButton4->setFont(fontWithCellHeight(proportionalGothic(), 13));
    SpeedButton5 = addToolButton(344, 73, QStringLiteral("データ開く"),
                                 QStringLiteral("プロジェクトファイルを開きます"));
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);

    Label1 = new QLabel(QStringLiteral("タイトル"), this);
    Label1->setFont(fontWithCellHeight(proportionalGothic(), 15));
    Label1->setStyleSheet(QStringLiteral("color: blue; background: transparent;"));
    Label1->move(96, 96);
    Label1->adjustSize();

    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(152, 96, 169, 20);
    // The title is kept as typed; a title that was opened stays byte for byte until edited.
    connect(Edit1, &QLineEdit::textEdited, this,
            [this](const QString &text) { this->page.Title = sjis::fromUnicodeLine(text); });

    Panel3 = new QFrame(this);
    Panel3->setGeometry(488, 88, 186, 401);
    Panel3->setFrameShape(QFrame::Panel);
    Panel3->setFrameShadow(QFrame::Raised);
    Panel3->setAutoFillBackground(true);
    ScrollBox1 = new QScrollArea(Panel3);
    ScrollBox1->setGeometry(4, 8, 177, 385);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    ScrollBox1->setStyleSheet(QStringLiteral("QScrollArea { background: white; }"));
    Image3 = new QLabel;
    Image3->setGeometry(0, 0, 170, 300);
    Image3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidget(Image3);
}

QToolButton *TForm1::addToolButton(int left, int width, const QString &caption,
                                   const QString &hint)
{
    auto *button = new QToolButton(Panel2);
    button->setGeometry(left, 4, width, 25);
    button->setText(caption);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void TForm1::FormCreate()
{
    guarded(desktop, [this] { loadBackgroundPicture(); });
    guarded(desktop, [this] { ReadPatternCatalogueFile(programFolder, catalogue); });
    guarded(desktop, [this] { ResetPage(); });
}

void TForm1::loadBackgroundPicture()
{
    const QString path = programFolder + QStringLiteral("bg.jpg");
    if (!QFileInfo(path).isFile())
        return;
    const QImage picture = decodeJpeg(readFileBytes(path));
    if (!picture.isNull())
        Image2->setPixmap(QPixmap::fromImage(picture));
}

void TForm1::ResetPage()
{
    ::ResetPage(page, state);
    Edit1->clear();
    loadPatternAndShow(1);
}

void TForm1::loadPatternAndShow(int number)
{
    page.PatternNumber = number;
    // The preview shows whatever pattern is current, also when reading stopped half-way.
    try {
        LoadPattern(number, catalogue, programFolder, pattern, page.PatternNumber);
    } catch (...) {
        showPatternPreview();
        throw;
    }
    showPatternPreview();
}

void TForm1::showPatternPreview()
{
    const QImage preview = DrawPatternPreview(pattern, ImageList1);
    Image3->setPixmap(QPixmap::fromImage(preview));
    Image3->resize(preview.size());
}

void TForm1::SpeedButton2Click()
{
    guarded(desktop, [this] { ResetPage(); });
}

void TForm1::SpeedButton3Click()
{
    guarded(desktop, [this] {
        GeneratePage(pattern.PartCount, page, pattern, generator, SaveDialog1, desktop);
    });
}

void TForm1::SpeedButton4Click()
{
    guarded(desktop, [this] { SaveProject(page, SaveDialog2, desktop); });
}

void TForm1::SpeedButton5Click()
{
    guarded(desktop, [this] {
        if (!OpenProject(page, OpenDialog1, desktop))
            return;
        Edit1->setText(sjis::toUnicode(page.Title));
        loadPatternAndShow(page.PatternNumber);
    });
}
