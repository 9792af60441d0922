#include "windows/picture_fitting_dialog.h"

#include "check/findings.h"
#include "check/image_facts.h"
#include "page/color_code.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "pictures/picture_in_page.h"
#include "settings/handset_choice.h"
#include "text/io_error.h"
#include "text/text_reader.h"
#include "text/text_writer.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"
#include "widgets/handset_box.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int paneWidth = 270;
constexpr int paneHeight = 210;

// The page's background, which shows through a picture's transparent pixels.
QColor pageBackground(const PageProject &page)
{
    if (!isOn(page.ColorSupport))
        return Qt::white;
    try {
        const ColorComponents colour = ParseColorCode(page.BackgroundColor);
        return QColor(colour.red, colour.green, colour.blue);
    } catch (const UserError &) {
        return Qt::white;
    }
}

// The picture enlarged `zoom` times on the page's background, its pixels kept sharp or
// smoothed.
QPixmap onPage(const QImage &picture, QSize size, int zoom, const QColor &background,
               Qt::TransformationMode mode)
{
    QImage shown(size * zoom, QImage::Format_RGB32);
    shown.fill(background);
    QPainter painter(&shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, mode == Qt::SmoothTransformation);
    painter.drawImage(QRect(QPoint(0, 0), size * zoom), picture);
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

} // namespace

PictureFittingDialog::PictureFittingDialog(PageProject &page, const PageLocation &location,
                                           const Pattern &pattern, HandsetChoice &handsetChoice,
                                           Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("携帯向けに変換"), {584, 452}),
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
    addLabel(this, 12, 17, QStringLiteral("元の画像"));
    sourceEdit = new QLineEdit(this);
    sourceEdit->setGeometry(96, 14, 384, 22);
    sourceEdit->setReadOnly(true);
    chooseButton = addButton(this, {488, 12, 84, 25}, QStringLiteral("参照…"));
    addLabel(this, 12, 49, QStringLiteral("機種"));
    handsetBox = new HandsetBox(handsetChoice, desktop, this);
    handsetBox->setGeometry(96, 46, 180, 22);
    // A name that is no handset is said over the room, which stays the handset's in force.
    handsetBox->setNotePlace({288, 46, 284, 22});
    budgetLabel = addLabel(this, 288, 49, {});
    addLabel(this, 12, 80, QStringLiteral("元の画像（携帯の画面の幅に縮めて）"));
    addLabel(this, 302, 80, QStringLiteral("変換後（携帯で表示される画像）"));
    beforeView = addPane(this, 12, 100);
    afterView = addPane(this, 302, 100);
    beforeFacts = addLabel(this, 12, 316, {});
    afterFacts = addLabel(this, 302, 316, {});
    problemLabel = new QLabel(this);
    problemLabel->setGeometry(12, 338, 560, 36);
    problemLabel->setWordWrap(true);
    problemLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    addLabel(this, 12, 385, QStringLiteral("保存する名前"));
    nameEdit = new QLineEdit(this);
    nameEdit->setGeometry(108, 382, 180, 22);
    folderLabel = new QLabel(this);
    folderLabel->setGeometry(296, 382, 276, 22);
    okButton = addButton(this, {396, 416, 84, 25}, QStringLiteral("決定"));
    cancelButton = addButton(this, {488, 416, 84, 25}, QStringLiteral("キャンセル"));
    setFocusOrder({chooseButton, handsetBox, nameEdit, okButton, cancelButton});

    connectGuarded<PictureFittingDialog>(this, desktop,
                                         {{chooseButton, &PictureFittingDialog::chooseSource},
                                          {okButton, &PictureFittingDialog::store}});
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(&handsetChoice, &HandsetChoice::changed, this, [this] {
        if (isVisible())
            refit();
    });
    // The name's length counts in the page's bytes.
    connect(nameEdit, &QLineEdit::editingFinished, this, &PictureFittingDialog::refit);
}

std::optional<WrittenPicture> PictureFittingDialog::fitFor(const LineOrigin &origin,
                                                           const QString &source, Into into)
{
    this->origin = origin;
    this->source = source;
    this->into = into;
    written.reset();
    folder = PictureFolder(page, location);
    sourcePath.clear();
    sourceBytes.clear();
    const QString named = source.isEmpty() || IsPictureElsewhere(source) || folder.isEmpty()
                              ? QString()
                              : PicturePath(folder, source);
    if (named.isEmpty() || !isRegularFile(named)) {
        if (!folder.isEmpty() && OpenDialog1.lastFolder().isEmpty())
            OpenDialog1.remember(QDir(folder).filePath(QString()));
        const std::optional<QString> chosen = OpenDialog1.ask(desktop);
        if (!chosen || !useSource(*chosen))
            return std::nullopt;
        OpenDialog1.remember(*chosen);
    } else if (!useSource(named)) {
        return std::nullopt;
    }
    handsetBox->showChoice();
    folderLabel->setText(folder.isEmpty() ? QStringLiteral("（保存先は決定のときに選びます）")
                                          : folderLabel->fontMetrics().elidedText(
                                                QStringLiteral("（%1）").arg(QDir::toNativeSeparators(folder)),
                                                Qt::ElideMiddle, folderLabel->width()));
    folderLabel->setToolTip(QDir::toNativeSeparators(folder));
    exec();
    return written;
}

void PictureFittingDialog::chooseSource()
{
    const std::optional<QString> chosen = OpenDialog1.ask(desktop);
    if (chosen && useSource(*chosen))
        OpenDialog1.remember(*chosen);
}

// Reads the picture file and makes it for the phone; false, with the reason said, when it
// cannot be read.
bool PictureFittingDialog::useSource(const QString &path)
{
    QByteArray bytes;
    try {
        bytes = readFileBytes(path);
    } catch (const IoError &error) {
        desktop.showMessage(QStringLiteral("画像ファイルを読めません。\n") + error.explained());
        return false;
    }
    sourcePath = path;
    sourceBytes = bytes;
    sourceEdit->setText(QDir::toNativeSeparators(path));
    nameEdit->setText(PhonePictureName(QFileInfo(path).fileName(), QStringLiteral("gif")));
    budget = -1;
    refit();
    return true;
}

// Makes the picture again when the handset, the source or the room the page leaves changed.
void PictureFittingDialog::refit()
{
    if (sourceBytes.isEmpty() && sourcePath.isEmpty())
        return;
    const Handset &handset = handsetChoice.handset();
    const QString name = nameEdit->text().trimmed();
    const qint64 room =
        PictureBudgetInPage(page, location, pattern, handset, origin, source, name, files);
    if (room != budget || handset.name != fittedFor) {
        budget = room;
        fittedFor = handset.name;
        fitted = FitPicture(sourceBytes, handset, budget);
    }
    if (!fitted.bytes.isEmpty()) {
        const QString base = QFileInfo(name).completeBaseName();
        nameEdit->setText((base.isEmpty() ? QStringLiteral("picture") : base) + QLatin1Char('.')
                          + QString::fromLatin1(fitted.format));
    }
    const QLocale japanese(QLocale::Japanese);
    budgetLabel->setText(QStringLiteral("画像に使える大きさ %1 バイト（上限 %2 バイト）")
                             .arg(japanese.toString(budget), japanese.toString(handset.pageLimitBytes())));
    budgetLabel->adjustSize();
    showViews();
}

void PictureFittingDialog::showViews()
{
    const Handset &handset = handsetChoice.handset();
    const QImage before = PictureBeforeFitting(sourceBytes, handset);
    const QColor background = pageBackground(page);
    const int screenWidth = ShownPictureSize(QSize(100000, 1), handset).width();
    const int zoom = std::clamp(paneWidth / std::max(1, screenWidth), 1, 3);
    beforeView->setPixmap(before.isNull() ? QPixmap()
                                          : onPage(before, before.size(), zoom, background,
                                                   Qt::SmoothTransformation));
    beforeFacts->setText(
        fitted.sourceFormat.isEmpty()
            ? QStringLiteral("元: %1 バイト").arg(QLocale(QLocale::Japanese).toString(sourceBytes.size()))
            : QStringLiteral("元: ")
                  + PictureFactsText(fitted.sourceFormat, fitted.sourceSize, fitted.sourceColours,
                                     sourceBytes.size()));
    beforeFacts->adjustSize();
    const QImage after = QImage::fromData(fitted.bytes);
    afterView->setPixmap(after.isNull() ? QPixmap()
                                        : onPage(after, after.size(), zoom, background,
                                                 Qt::FastTransformation));
    afterFacts->setText(fitted.bytes.isEmpty()
                            ? QString()
                            : QStringLiteral("変換後: ")
                                  + PictureFactsText(fitted.format, fitted.size, fitted.colours,
                                                     fitted.bytes.size()));
    afterFacts->adjustSize();
    const bool made = !fitted.bytes.isEmpty();
    problemLabel->setText(made ? fitted.note : fitted.problem);
    setTextColour(problemLabel, made ? QColor(0, 0, 160) : QColor(200, 0, 0));
    okButton->setEnabled(made);
}

// "決定": writes the picture beside the page and puts it into the item.
void PictureFittingDialog::store()
{
    refit();
    if (fitted.bytes.isEmpty())
        return;
    QString name = nameEdit->text().trimmed();
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        desktop.showMessage(QStringLiteral("保存する名前を、フォルダを含まないファイル名で入力してください。"));
        return;
    }
    QString path = QDir(folder).filePath(name);
    if (folder.isEmpty()) {
        // No folder of the page yet: the user says where the picture goes.
        SaveDialog1.DefaultExt = QString::fromLatin1(fitted.format);
        SaveDialog1.remember(QDir(QFileInfo(sourcePath).absolutePath()).filePath(name));
        const std::optional<QString> chosen = SaveDialog1.ask(desktop);
        if (!chosen)
            return;
        path = *chosen;
        name = QFileInfo(path).fileName();
    }
    if (QFileInfo::exists(path)) {
        const QString shown = QDir::toNativeSeparators(path);
        const QString question =
            QFileInfo(path) == QFileInfo(sourcePath)
                ? QStringLiteral("「%1」は元の画像です。変換した画像で置き換えますか？").arg(shown)
                : QStringLiteral("「%1」はもうあります。上書きしますか？").arg(shown);
        if (!desktop.askYes(question))
            return;
    }
    std::optional<QByteArray> before;
    if (isRegularFile(path))
        before = readFileBytes(path);
    saveFileBytes(path, fitted.bytes);
    written = WrittenPicture{name, path, before};
    if (into == Into::Page) {
        PutPictureIntoPage(page, origin, source, name);
        emit stored(QStringLiteral("携帯向けに変換（%1）").arg(ItemName(origin)));
    }
    accept();
}

void PictureFittingDialog::takeBack(const WrittenPicture &picture)
{
    if (picture.before) {
        saveFileBytes(picture.path, *picture.before);
        return;
    }
    const PageNow now = PageAsWrittenNow(page, location, pattern, pattern.PartCount, files);
    if (!LocalPictureSources(now.lines).contains(picture.name))
        QFile::remove(picture.path);
}
