// The controls of "携帯向けに変換" and what they show of the page's pictures.

#include "windows/picture_fitting_dialog.h"

#include "check/findings.h"
#include "page/page_project.h"
#include "pictures/picture_in_page.h"
#include "settings/handset_choice.h"
#include "widgets/controls.h"
#include "widgets/error_guard.h"
#include "widgets/handset_box.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr int paneWidth = 300;
constexpr int paneHeight = 172;

enum Column { ItemColumn, SourceColumn, ResultColumn, RoomColumn };

// The picture enlarged `zoom` times on the page's background, its pixels kept sharp or
// smoothed.
QPixmap onPage(const QImage &picture, int zoom, const QColor &background,
               Qt::TransformationMode mode)
{
    QImage shown(picture.size() * zoom, QImage::Format_RGB32);
    shown.fill(background);
    QPainter painter(&shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, mode == Qt::SmoothTransformation);
    painter.drawImage(QRect(QPoint(0, 0), picture.size() * zoom), picture);
    return QPixmap::fromImage(shown);
}

QLabel *addPane(QWidget *parent, int left, int top)
{
    auto *pane = new QLabel(parent);
    pane->setGeometry(left, top, paneWidth, paneHeight);
    pane->setFrameShape(QFrame::StyledPanel);
    pane->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    pane->setAutoFillBackground(true);
    QPalette palette = pane->palette();
    palette.setColor(QPalette::Window, QColor(236, 236, 236));
    pane->setPalette(palette);
    return pane;
}

// The items naming a picture, each once: "画像1・直接入力2".
QString itemsText(const PagePicture &picture)
{
    QStringList names;
    for (const LineOrigin &origin : picture.origins)
        if (const QString name = ItemName(origin); !names.contains(name))
            names << name;
    return names.join(QStringLiteral("・"));
}

} // namespace

PictureFittingDialog::PictureFittingDialog(PageProject &page, const PageLocation &location,
                                           const Pattern &pattern, HandsetChoice &handsetChoice,
                                           Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("携帯向けに変換"), {640, 560}),
      OpenDialog1(FileDialog::Mode::Open, QStringLiteral("変換する画像を選ぶ"),
                  QStringLiteral("画像ファイル(*.gif *.jpg *.jpeg *.png *.bmp)|*.gif;*.jpg;*.jpeg;*.png;*.bmp|"
                                 "すべてのファイル(*.*)|*.*"),
                  QStringLiteral("gif")),
      SaveDialog1(FileDialog::Mode::Save, QStringLiteral("変換した画像の保存先"),
                  QStringLiteral("GIF画像(*.gif)|*.gif|JPEG画像(*.jpg)|*.jpg"), QStringLiteral("gif")),
      page(page),
      location(location),
      pattern(pattern),
      handsetChoice(handsetChoice),
      desktop(desktop)
{
    addLabel(this, 12, 17, QStringLiteral("機種"));
    handsetBox = new HandsetBox(handsetChoice, desktop, this);
    handsetBox->setGeometry(60, 14, 180, 22);
    // A name that is no handset is said over the room, which stays the handset's in force.
    handsetBox->setNotePlace({252, 14, 376, 22});
    budgetLabel = addLabel(this, 252, 17, {});
    pictureList = new QTreeWidget(this);
    pictureList->setGeometry(12, 44, 616, 116);
    pictureList->setRootIsDecorated(false);
    pictureList->setHeaderLabels({QStringLiteral("変換する項目"), QStringLiteral("元の画像"),
                                  QStringLiteral("変換後"), QStringLiteral("使える大きさ")});
    pictureList->header()->setStretchLastSection(false);
    pictureList->setColumnWidth(ItemColumn, 130);
    pictureList->setColumnWidth(SourceColumn, 170);
    pictureList->setColumnWidth(ResultColumn, 200);
    pictureList->setColumnWidth(RoomColumn, 96);
    addLabel(this, 12, 171, QStringLiteral("元の画像"));
    sourceEdit = new QLineEdit(this);
    sourceEdit->setGeometry(96, 168, 440, 22);
    sourceEdit->setReadOnly(true);
    chooseButton = addButton(this, {544, 166, 84, 25}, QStringLiteral("参照…"));
    addLabel(this, 12, 200, QStringLiteral("元の画像（携帯の画面の幅に縮めて）"));
    addLabel(this, 328, 200, QStringLiteral("変換後（携帯で表示される画像）"));
    beforeView = addPane(this, 12, 220);
    afterView = addPane(this, 328, 220);
    beforeFacts = addLabel(this, 12, 398, {});
    afterFacts = addLabel(this, 328, 398, {});
    problemLabel = new QLabel(this);
    problemLabel->setGeometry(12, 420, 616, 52);
    problemLabel->setWordWrap(true);
    problemLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    addLabel(this, 12, 485, QStringLiteral("保存する名前"));
    nameEdit = new QLineEdit(this);
    nameEdit->setGeometry(108, 482, 180, 22);
    folderLabel = new QLabel(this);
    folderLabel->setGeometry(296, 482, 332, 22);
    progressBar = new QProgressBar(this);
    progressBar->setGeometry(12, 524, 220, 21);
    progressBar->setFormat(QStringLiteral("変換しています… %v/%m"));
    progressBar->hide();
    stopButton = addButton(this, {240, 522, 84, 25}, QStringLiteral("中止"));
    stopButton->hide();
    okButton = addButton(this, {452, 522, 84, 25}, QStringLiteral("決定"));
    cancelButton = addButton(this, {544, 522, 84, 25}, QStringLiteral("キャンセル"));
    setFocusOrder({handsetBox, pictureList, chooseButton, nameEdit, okButton, cancelButton});

    connectGuarded<PictureFittingDialog>(this, desktop,
                                         {{chooseButton, &PictureFittingDialog::chooseSource},
                                          {okButton, &PictureFittingDialog::store}});
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(stopButton, &QPushButton::clicked, this, [this] {
        stop();
        showList();
        problemLabel->setText(QStringLiteral("変換を中止しました。機種や印を変えると、もう一度変換します。"));
        setTextColour(problemLabel, QColor(0, 0, 160));
    });
    connect(&watcher, &QFutureWatcher<PicturesMade>::progressRangeChanged, progressBar,
            &QProgressBar::setRange);
    connect(&watcher, &QFutureWatcher<PicturesMade>::progressValueChanged, progressBar,
            &QProgressBar::setValue);
    connect(&watcher, &QFutureWatcher<PicturesMade>::finished, this, [this] {
        if (!watcher.isCanceled() && watcher.future().resultCount() > 0)
            showResult(watcher.result());
    });
    connect(&handsetChoice, &HandsetChoice::changed, this, [this] {
        if (!isVisible())
            return;
        nameRows(Naming::Room);
        refit();
    });
    connect(pictureList, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (!item)
            return;
        nameTyped();
        current = pictureList->indexOfTopLevelItem(item);
        showCurrent();
    });
    connect(pictureList, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (column == ItemColumn)
            guarded(this->desktop, [&] {
                tick(pictureList->indexOfTopLevelItem(item), item->checkState(ItemColumn) == Qt::Checked);
            });
    });
    connect(nameEdit, &QLineEdit::editingFinished, this, [this] {
        guarded(this->desktop, [this] { nameTyped(); });
    });
}

void PictureFittingDialog::showList()
{
    const QSignalBlocker quiet(pictureList);
    pictureList->clear();
    for (const Row &row : rows) {
        auto *item = new QTreeWidgetItem(pictureList);
        item->setText(ItemColumn, itemsText(row.picture));
        Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        if (row.picture.renamable() && !row.originalBytes.isEmpty())
            flags |= Qt::ItemIsUserCheckable;
        item->setFlags(flags);
        item->setCheckState(ItemColumn, row.convert ? Qt::Checked : Qt::Unchecked);
        item->setText(SourceColumn, QStringLiteral("%1（%2）")
                                        .arg(QFileInfo(row.original.isEmpty() ? row.picture.source : row.original).fileName(),
                                             BytesText(row.originalBytes.isEmpty() ? std::max<qint64>(0, row.bytesNow)
                                                                                     : row.originalBytes.size())));
        QString result;
        if (!row.readProblem.isEmpty())
            result = row.readProblem;
        else if (!row.convert)
            result = row.picture.renamable() ? QStringLiteral("そのまま")
                                             : QStringLiteral("そのまま（本文のファイル）");
        else if (working())
            result = QStringLiteral("変換しています…");
        else if (row.fitted.bytes.isEmpty())
            result = QStringLiteral("入りません");
        else
            result = QStringLiteral("%1 %2").arg(QString::fromLatin1(row.fitted.format.toUpper()),
                                                 BytesText(row.fitted.bytes.size()));
        item->setText(ResultColumn, result);
        item->setText(RoomColumn, row.convert ? (working() ? QString() : BytesText(row.budget))
                                              : BytesText(std::max<qint64>(0, row.bytesNow)));
        if (!row.picture.renamable())
            item->setToolTip(ItemColumn, QStringLiteral("本文のファイルの画像は、ファイルを書き換えないため、そのまま数えます。"));
    }
    if (current < pictureList->topLevelItemCount())
        pictureList->setCurrentItem(pictureList->topLevelItem(current));
    showBudget();
    showCurrent();
}

void PictureFittingDialog::showBudget()
{
    qint64 kept = 0;
    for (const Row &row : rows)
        if (!row.convert)
            kept += std::max<qint64>(0, row.bytesNow);
    QString text = QStringLiteral("上限 %1: ページの文字 %2").arg(BytesText(limitBytes), BytesText(textBytes));
    if (kept > 0)
        text += QStringLiteral("、そのままの画像 %1").arg(BytesText(kept));
    text += QStringLiteral("、変換する画像に %1").arg(BytesText(std::max<qint64>(0, limitBytes - textBytes - kept)));
    budgetLabel->setText(text);
    budgetLabel->adjustSize();
}

void PictureFittingDialog::showCurrent()
{
    if (current >= rows.size()) {
        sourceEdit->clear();
        nameEdit->clear();
        return;
    }
    const Row &row = rows[current];
    sourceEdit->setText(QDir::toNativeSeparators(row.original));
    nameEdit->setText(row.convert ? row.name : row.picture.source);
    nameEdit->setEnabled(row.convert);
    const Handset &handset = handsetChoice.handset();
    const QColor background = PageBackground(page);
    const int screenWidth = ShownPictureSize(QSize(100000, 1), handset).width();
    const int zoom = std::clamp(paneWidth / std::max(1, screenWidth), 1, 3);
    beforeView->setPixmap(row.before.isNull() ? QPixmap()
                                              : onPage(row.before, zoom, background, Qt::SmoothTransformation));
    const FittedPicture &fitted = row.fitted;
    beforeFacts->setText(
        row.originalBytes.isEmpty() ? QString()
        : fitted.sourceFormat.isEmpty()
            ? QStringLiteral("元: %1").arg(BytesText(row.originalBytes.size()))
            : QStringLiteral("元: ")
                  + PictureFactsText(fitted.sourceFormat, fitted.sourceSize, fitted.sourceColours,
                                     row.originalBytes.size()));
    beforeFacts->adjustSize();
    const QImage after = QImage::fromData(fitted.bytes);
    afterView->setPixmap(after.isNull() ? QPixmap() : onPage(after, zoom, background, Qt::FastTransformation));
    afterFacts->setText(fitted.bytes.isEmpty()
                            ? QString()
                            : QStringLiteral("変換後: ")
                                  + PictureFactsText(fitted.format, fitted.size, fitted.colours,
                                                     fitted.bytes.size()));
    afterFacts->adjustSize();
    if (working() || !row.convert) {
        problemLabel->setText(row.readProblem);
        setTextColour(problemLabel, QColor(200, 0, 0));
        return;
    }
    const bool fits = !fitted.bytes.isEmpty();
    QString said = fits ? fitted.note : fitted.problem;
    if (!fits && !fitted.sourceFormat.isEmpty())
        said = QStringLiteral("%1に使える大きさは %2しかありません。%3")
                   .arg(itemsText(row.picture), BytesText(row.budget), inTheWay(row));
    problemLabel->setText(said);
    setTextColour(problemLabel, fits ? QColor(0, 0, 160) : QColor(200, 0, 0));
}
