#include "windows/picture_fitting_dialog.h"

#include "check/findings.h"
#include "page/page_as_written.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "pictures/page_export.h"
#include "pictures/picture_in_page.h"
#include "settings/handset_choice.h"
#include "text/io_error.h"
#include "text/text_reader.h"
#include "text/text_writer.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"
#include "widgets/handset_box.h"

#include <QCloseEvent>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QThreadPool>
#include <QTimer>
#include <QTreeWidget>

#include <memory>
#include <utility>

namespace {

// Work that ends sooner than this shows no progress.
constexpr int quietMilliseconds = 100;

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The pictures made on a thread of the pool; `promise` tells the progress and is asked
// whether to go on.
PicturesMade makePictures(QPromise<PicturesMade> &promise, const QList<PictureToFit> &pictures,
                          qint64 limitBytes, qint64 pageBytes, const Handset &handset,
                          const QColor &matte)
{
    PicturesMade made;
    const auto goOn = [&](int done, int all) {
        promise.setProgressRange(0, all + int(pictures.size()));
        promise.setProgressValue(done);
        return !promise.isCanceled();
    };
    made.together = FitPicturesTogether(pictures, limitBytes, pageBytes, handset, matte, goOn);
    const int fitted = promise.future().progressValue();
    for (qsizetype index = 0; index < pictures.size() && !made.together.stopped; ++index) {
        if (!goOn(fitted + int(index), int(pictures.size()))) {
            made.together.stopped = true;
            break;
        }
        made.before.append(PictureBeforeFitting(pictures[index].original, handset));
    }
    return made;
}

} // namespace

PictureFittingDialog::~PictureFittingDialog()
{
    stop();
}

std::optional<WrittenPicture> PictureFittingDialog::fitFor(const LineOrigin &origin,
                                                           const QString &source, Into into)
{
    this->origin = origin;
    this->into = into;
    written.reset();
    if (!listPictures(origin, source))
        return std::nullopt;
    handsetBox->showChoice();
    folderLabel->setText(folder.isEmpty() ? QStringLiteral("（保存先は決定のときに選びます）")
                                          : folderLabel->fontMetrics().elidedText(
                                                QStringLiteral("（%1）").arg(QDir::toNativeSeparators(folder)),
                                                Qt::ElideMiddle, folderLabel->width()));
    folderLabel->setToolTip(QDir::toNativeSeparators(folder));
    showList();
    refit();
    exec();
    return written;
}

// The page's pictures, the one of `origin` first made sure of: its source read, or chosen
// with a file dialog when the item names no picture that is there. False when none was.
bool PictureFittingDialog::listPictures(const LineOrigin &origin, const QString &source)
{
    planned = page;
    if (origin.item == LineOrigin::Item::Image)
        PutPictureIntoPage(planned, origin, {}, source);
    const PageNow now = PageAsWrittenNow(planned, location, pattern, pattern.PartCount, files);
    folder = now.pictureFolder;
    rows.clear();
    for (const PagePicture &picture : PagePictures(now.lines, folder)) {
        Row row;
        row.picture = picture;
        rows.append(row);
    }
    current = 0;
    const auto opened = std::find_if(rows.begin(), rows.end(), [&](const Row &row) {
        return row.picture.source == source && row.picture.origins.contains(origin);
    });
    if (opened != rows.end()) {
        current = int(opened - rows.begin());
    } else {
        // An item the page does not show yet, or one naming no picture: listed first.
        Row row;
        row.picture = {source, {origin}, PicturePath(folder, source)};
        rows.prepend(row);
    }
    for (Row &row : rows) {
        row.convert = row.picture.renamable();
        QString from = row.picture.path;
        if (!from.isEmpty() && isRegularFile(from)) {
            row.bytesNow = QFileInfo(from).size();
            // A picture the dialog made is made again from its own source.
            const auto ours = made.constFind(QFileInfo(from).absoluteFilePath());
            if (ours != made.constEnd() && isRegularFile(ours->original))
                try {
                    if (hashOf(readFileBytes(from)) == ours->hash)
                        from = ours->original;
                } catch (const IoError &) {
                }
        }
        if (from.isEmpty() || !isRegularFile(from)) {
            row.readProblem = QStringLiteral("画像ファイルがありません。");
            row.convert = false;
            continue;
        }
        if (!useSource(row, from)) {
            row.convert = false;
            row.readProblem = QStringLiteral("画像ファイルを読めません。");
        }
    }
    Row &chosen = rows[current];
    if (chosen.originalBytes.isEmpty()) {
        if (!folder.isEmpty() && OpenDialog1.lastFolder().isEmpty())
            OpenDialog1.remember(QDir(folder).filePath(QString()));
        const std::optional<QString> picked = OpenDialog1.ask(desktop);
        if (!picked || !useSource(chosen, *picked))
            return false;
        OpenDialog1.remember(*picked);
        chosen.readProblem.clear();
        chosen.convert = chosen.picture.renamable();
    }
    nameRows(Naming::Room);
    return true;
}

// Names each picture to convert after its source, never the name of a source nor one another
// row takes. Before the pictures are made the name is kept free in every format the handset
// may get, so the page is measured with the longest it can be; once made, in the format it
// got, which never makes it longer. A name the user typed is kept, its extension following.
void PictureFittingDialog::nameRows(Naming naming)
{
    QSet<QString> taken;
    for (const Row &row : rows) {
        taken.insert(QFileInfo(row.original).fileName().toLower());
        const QString named = QFileInfo(row.picture.path).absoluteFilePath();
        if (!row.convert || !made.contains(named))
            taken.insert(QFileInfo(row.picture.source).fileName().toLower());
        if (row.convert && row.typed)
            taken.insert(row.name.toLower());
    }
    QStringList formats{QStringLiteral("gif")};
    if (handsetChoice.handset().showsJpeg())
        formats << QStringLiteral("jpg");
    for (Row &row : rows) {
        if (!row.convert || row.originalBytes.isEmpty())
            continue;
        const QString format = QString::fromLatin1(row.fitted.format);
        const QStringList extensions =
            naming == Naming::Made && !format.isEmpty() ? QStringList{format} : formats;
        if (row.typed) {
            row.name = QFileInfo(row.name).completeBaseName() + QLatin1Char('.') + extensions.constFirst();
            continue;
        }
        const QString wanted = PhonePictureName(QFileInfo(row.original).fileName(), extensions.constFirst());
        row.name = UnusedFileName(wanted, taken, extensions);
    }
}

void PictureFittingDialog::chooseSource()
{
    const std::optional<QString> chosen = OpenDialog1.ask(desktop);
    if (!chosen || current >= rows.size() || !useSource(rows[current], *chosen))
        return;
    OpenDialog1.remember(*chosen);
    Row &row = rows[current];
    row.readProblem.clear();
    row.convert = row.picture.renamable();
    nameRows(Naming::Room);
    refit();
}

// Reads the picture file a row is made from; false, with the reason said, when it cannot be
// read.
bool PictureFittingDialog::useSource(Row &row, const QString &path)
{
    try {
        row.originalBytes = readFileBytes(path);
    } catch (const IoError &error) {
        desktop.showMessage(QStringLiteral("画像ファイルを読めません。\n") + error.explained());
        return false;
    }
    row.original = path;
    return true;
}

PageProject PictureFittingDialog::withNames() const
{
    PageProject named = planned;
    for (const Row &row : rows)
        if (row.convert && !row.name.isEmpty())
            for (const LineOrigin &at : row.picture.origins)
                PutPictureIntoPage(named, at, row.picture.source, row.name);
    return named;
}

qint64 PictureFittingDialog::pageBytes() const
{
    PageFiles bodies = files;
    return PageAsWrittenNow(withNames(), location, pattern, pattern.PartCount, bodies).bytes().size();
}

// Makes the pictures again, on a thread of their own, for the ticks and the handset now.
void PictureFittingDialog::refit()
{
    stop();
    const quint64 number = ++generation;
    const Handset handset = handsetChoice.handset();
    limitBytes = handset.pageLimitBytes();
    textBytes = pageBytes();
    QList<PictureToFit> pictures;
    for (Row &row : rows) {
        pictures.append({row.originalBytes, row.convert, std::max<qint64>(0, row.bytesNow)});
        row.fitted = {};
        row.budget = 0;
    }
    pending = true;
    storeWhenMade = false;
    // "決定" pressed while the pictures are made stores them once they are.
    okButton->setEnabled(true);
    problemLabel->clear();
    showList();
    auto promise = std::make_shared<QPromise<PicturesMade>>();
    watcher.setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, pictures, handset, number, limit = limitBytes,
                                          text = textBytes, matte = PageBackground(page)] {
        PicturesMade result = makePictures(*promise, pictures, limit, text, handset, matte);
        result.generation = number;
        promise->addResult(std::move(result));
        promise->finish();
    });
    QTimer::singleShot(quietMilliseconds, this, [this, number] {
        if (working() && generation == number) {
            progressBar->show();
            stopButton->show();
        }
    });
}

void PictureFittingDialog::stop()
{
    pending = false;
    storeWhenMade = false;
    okButton->setEnabled(false);
    if (watcher.isRunning())
        watcher.cancel();
    progressBar->hide();
    stopButton->hide();
}

void PictureFittingDialog::showResult(const PicturesMade &result)
{
    progressBar->hide();
    stopButton->hide();
    if (result.generation != generation || result.together.stopped)
        return;
    pending = false;
    // A name being typed is kept; it is measured once typing ends.
    if (current < rows.size() && rows[current].convert && nameEdit->isModified()
        && !nameEdit->text().trimmed().isEmpty()) {
        rows[current].name = nameEdit->text().trimmed();
        rows[current].typed = true;
    }
    bool allMade = true;
    for (qsizetype index = 0; index < rows.size(); ++index) {
        Row &row = rows[index];
        row.budget = result.together.budgets.value(index);
        row.fitted = result.together.fitted.value(index);
        row.before = result.before.value(index);
        if (!row.convert)
            continue;
        if (row.fitted.bytes.isEmpty())
            allMade = false;
    }
    nameRows(Naming::Made);
    okButton->setEnabled(allMade);
    showList();
    emit pictureMade();
    if (std::exchange(storeWhenMade, false) && allMade)
        guarded(desktop, [this] { store(); });
}

// What takes the room a picture did not get, and what the user can do about it.
QString PictureFittingDialog::inTheWay(const Row &row) const
{
    const Row *largest = nullptr;
    for (const Row &other : rows)
        if (&other != &row && !other.convert && other.bytesNow > 0
            && (!largest || other.bytesNow > largest->bytesNow))
            largest = &other;
    QStringList items;
    if (largest)
        for (const LineOrigin &at : largest->picture.origins)
            items << ItemName(at);
    if (largest && largest->bytesNow * 4 >= limitBytes - textBytes) {
        const QString said = items.join(QStringLiteral("・"));
        return largest->picture.renamable()
                   ? QStringLiteral("%1の「%2」が、そのままで %3 使っています。%1に印を付けると、"
                                    "大きさを分け合って変換します。")
                         .arg(said, largest->picture.source, BytesText(largest->bytesNow))
                   : QStringLiteral("%1の「%2」が %3 使っています。本文のファイルから外すか、"
                                    "小さな画像にしてください。")
                         .arg(said, largest->picture.source, BytesText(largest->bytesNow));
    }
    return QStringLiteral("ページの文字が %1 使っています。テキストやリンク、直接入力を減らして"
                          "ください。")
        .arg(BytesText(textBytes));
}

void PictureFittingDialog::tick(int index, bool convert)
{
    if (index < 0 || index >= rows.size() || rows[index].convert == convert)
        return;
    rows[index].convert = convert;
    nameRows(Naming::Room);
    refit();
}

void PictureFittingDialog::nameTyped()
{
    if (current >= rows.size() || !rows[current].convert)
        return;
    const QString name = nameEdit->text().trimmed();
    if (name == rows[current].name)
        return;
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        desktop.showMessage(QStringLiteral("保存する名前を、フォルダを含まないファイル名で入力してください。"));
        nameEdit->setText(rows[current].name);
        return;
    }
    const qsizetype lengthBefore = rows[current].name.size();
    rows[current].name = name;
    rows[current].typed = true;
    // The name's length counts in the page's bytes.
    if (name.size() != lengthBefore)
        refit();
}

bool PictureFittingDialog::isOurs(const QString &path) const
{
    const auto ours = made.constFind(QFileInfo(path).absoluteFilePath());
    if (ours == made.constEnd())
        return false;
    try {
        return hashOf(readFileBytes(path)) == ours->hash;
    } catch (const IoError &) {
        return false;
    }
}

// "決定": writes the pictures beside the page and puts them into their items.
void PictureFittingDialog::store()
{
    if (!okButton->isEnabled())
        return;
    if (!working())
        nameTyped(); // a name of another length makes the pictures again
    if (working()) {
        storeWhenMade = true;
        return;
    }
    struct Writing {
        const Row *row;
        QString path;
        QString name;
    };
    QList<Writing> writings;
    QStringList overwritten;
    QStringList originals;
    for (const Row &row : rows) {
        if (!row.convert || row.fitted.bytes.isEmpty())
            continue;
        QString name = row.name;
        QString path = QDir(folder).filePath(name);
        if (name == row.picture.source && row.original == row.picture.path
            && row.fitted.bytes == row.originalBytes)
            continue; // the picture shows as it is, under its own name
        if (folder.isEmpty()) {
            // No folder of the page yet: the user says where the picture goes.
            SaveDialog1.DefaultExt = QString::fromLatin1(row.fitted.format);
            SaveDialog1.remember(QDir(QFileInfo(row.original).absolutePath()).filePath(name));
            const std::optional<QString> chosen = SaveDialog1.ask(desktop);
            if (!chosen)
                return;
            path = *chosen;
            name = QFileInfo(path).fileName();
        }
        if (QFileInfo::exists(path) && !isOurs(path)) {
            const QString shown = QStringLiteral("「%1」").arg(QDir::toNativeSeparators(path));
            (QFileInfo(path) == QFileInfo(row.original) ? originals : overwritten) << shown;
        }
        writings.append({&row, path, name});
    }
    if (!originals.isEmpty()
        && !desktop.askYes(QStringLiteral("%1は元の画像です。変換した画像で置き換えますか？")
                               .arg(originals.join(QString()))))
        return;
    if (!overwritten.isEmpty()
        && !desktop.askYes(QStringLiteral("%1はもうあります。上書きしますか？").arg(overwritten.join(QString()))))
        return;
    QStringList items;
    for (const Writing &writing : writings) {
        const Row &row = *writing.row;
        std::optional<QByteArray> before;
        if (isRegularFile(writing.path))
            before = readFileBytes(writing.path);
        saveFileBytes(writing.path, row.fitted.bytes);
        made.insert(QFileInfo(writing.path).absoluteFilePath(), {row.original, hashOf(row.fitted.bytes)});
        for (const LineOrigin &at : row.picture.origins) {
            if (at == origin) {
                written = WrittenPicture{writing.name, writing.path, before};
                if (into == Into::Editor)
                    continue;
            }
            PutPictureIntoPage(page, at, row.picture.source, writing.name);
            items << ItemName(at);
        }
    }
    if (!items.isEmpty())
        emit stored(QStringLiteral("携帯向けに変換（%1）").arg(items.join(QStringLiteral("・"))));
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

void PictureFittingDialog::closeEvent(QCloseEvent *event)
{
    stop();
    FixedDialog::closeEvent(event);
}

void PictureFittingDialog::done(int result)
{
    stop();
    FixedDialog::done(result);
}
