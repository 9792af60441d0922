// "携帯向けに変換" on the whole page: the pictures made together within the handset's limit,
// each made again from its own source, and the window free while they are made.

#include "document/page_session.h"
#include "page/pattern.h"
#include "pictures/page_pictures.h"
#include "settings/handset_choice.h"
#include "support/main_window_fixture.h"
#include "support/picture_fitting_steps.h"
#include "support/test_files.h"
#include "windows/main_window_dialogs.h"
#include "windows/page_check_panel.h"
#include "windows/picture_fitting_dialog.h"

#include <QBuffer>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

namespace {

// A flat logo on a transparent ground, with smoothed lettering: some 9 KB of PNG.
QByteArray logoPng()
{
    QImage logo(320, 120, QImage::Format_ARGB32);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 30, 40));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(8, 8, 104, 104);
    painter.setPen(QColor(20, 40, 120));
    QFont font = painter.font();
    font.setPixelSize(40);
    painter.setFont(font);
    painter.drawText(QRect(120, 20, 200, 80), Qt::AlignCenter, QStringLiteral("CAFE 22"));
    painter.end();
    return encodedPicture(logo, "PNG");
}

// A photo of a camera's grain at its best quality, as large in bytes as its pixels make it.
QByteArray grainyPhotoJpeg(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator grain(5);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(grain.bounded(48));
            line[x] = qRgb(30 + 160 * x / size.width() + noise, 180 - 120 * y / size.height() + noise, 60 + noise);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    writer.write(picture);
    return bytes;
}

struct PictureFolderPage {
    explicit PictureFolderPage(MainWindowFixture &fixture) : fixture(fixture)
    {
        fixture.session.location.ProjectFolder = fixture.folder.path();
    }
    void put(int slot, const QString &name, const QByteArray &bytes)
    {
        writeBytes(fixture.folder.filePath(name), bytes);
        ImageSlot &image = fixture.page.Images[std::size_t(slot - 1)];
        image.ImageUrl = name.toLatin1();
        image.ImageUsed = ToggleOn;
    }
    // The pattern of two photos, with `photo` in 画像1 and the logo in 画像2.
    bool photoAndLogo(const QByteArray &photo)
    {
        if (!LoadPattern(9, fixture.catalogue, fixture.ProgramFolder, fixture.pattern,
                         fixture.page.PatternNumber))
            return false;
        put(1, QStringLiteral("photo.jpg"), photo);
        put(2, QStringLiteral("logo.png"), logoPng());
        return true;
    }
    QByteArray file(const QString &name) const { return readBytes(fixture.folder.filePath(name)); }
    MainWindowFixture &fixture;
};

} // namespace

class PagePicturesTest : public QObject {
    Q_OBJECT

private slots:
    void convertedTogetherWithinTheLimit();
    void convertedAgainFromTheOriginal();
    void pictureLeftAsItIsIsNamedWhenInTheWay();
    void storedOnceMadeWhenPressedBefore();
    void windowFreeWhilePicturesAreMade();
    void roomLeftUnusedGoesToThePictureThatWantsIt();
};

// A camera photo and a logo that together pass a 5 KB phone's limit: one dialog makes both,
// in one step, and then the page fits.
void PagePicturesTest::convertedTogetherWithinTheLimit()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    QVERIFY(fixture.handsetChoice.choose(QStringLiteral("D502i")).isEmpty());
    PictureFolderPage page(fixture);
    QVERIFY(page.photoAndLogo(encodedPicture(cameraPhoto({2560, 1600}), "JPEG")));
    form.pageCheck->checkAgain();
    QVERIFY(form.pageCheck->result().totalBytes() > form.pageCheck->result().limitBytes);

    PictureFittingDialog &dialog = form.dialogs.pictureFitting();
    whenMade(dialog, [&dialog] {
        QCOMPARE(dialog.pictureList->topLevelItemCount(), 2);
        dialog.okButton->click();
    });
    dialog.fitFor({LineOrigin::Item::Image, 1}, QStringLiteral("photo.jpg"));

    QCOMPARE(fixture.page.Images[0].ImageUrl, QByteArray("photo.gif"));
    QCOMPARE(fixture.page.Images[1].ImageUrl, QByteArray("logo.gif"));
    QVERIFY(page.file(QStringLiteral("photo.gif")).startsWith("GIF8"));
    QVERIFY(page.file(QStringLiteral("logo.gif")).startsWith("GIF8"));
    QCOMPARE(fixture.session.history().undoText(), QStringLiteral("携帯向けに変換（画像1・画像2）"));
    form.pageCheck->checkAgain();
    const PageCheckResult &result = form.pageCheck->result();
    QVERIFY2(result.totalBytes() <= result.limitBytes,
             qPrintable(QStringLiteral("%1 of %2").arg(result.totalBytes()).arg(result.limitBytes)));
    // Neither picture was starved: each got a picture of its own at the screen's width.
    QCOMPARE(QImage::fromData(page.file(QStringLiteral("photo.gif"))).width(), 96);
    QCOMPARE(QImage::fromData(page.file(QStringLiteral("logo.gif"))).width(), 96);
}

// Made for a 96-pixel screen and then for a 240-pixel one, the photo comes the second time
// from the camera's file, not from the small GIF the first time left.
void PagePicturesTest::convertedAgainFromTheOriginal()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    PictureFolderPage page(fixture);
    const QByteArray original = encodedPicture(cameraPhoto({1200, 900}), "JPEG");
    page.put(1, QStringLiteral("photo.jpg"), original);
    PictureFittingDialog &dialog = form.dialogs.pictureFitting();
    QString sourceShown;
    for (const QString &handset : {QStringLiteral("D502i"), QStringLiteral("SH505i")}) {
        QVERIFY(fixture.handsetChoice.choose(handset).isEmpty());
        whenMade(dialog, [&] {
            sourceShown = dialog.sourceEdit->text();
            dialog.okButton->click();
        });
        dialog.fitFor({LineOrigin::Item::Image, 1}, QString::fromLatin1(fixture.page.Images[0].ImageUrl));
        QVERIFY2(sourceShown.endsWith(QStringLiteral("photo.jpg")), qPrintable(sourceShown));
    }
    QCOMPARE(page.file(QStringLiteral("photo.jpg")), original);
    // The 505i shows JPEG: the photo became one, as wide as that screen.
    const QByteArray made = page.file(QString::fromLatin1(fixture.page.Images[0].ImageUrl));
    QCOMPARE(QImage::fromData(made).width(), 240);
}

// A camera's photo left as it is takes the room of a 5 KB page: the logo beside it cannot be
// made, and the dialog says which item is in the way and that ticking it shares the room.
void PagePicturesTest::pictureLeftAsItIsIsNamedWhenInTheWay()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    QVERIFY(fixture.handsetChoice.choose(QStringLiteral("D502i")).isEmpty());
    PictureFolderPage page(fixture);
    QVERIFY(page.photoAndLogo(encodedPicture(cameraPhoto({640, 480}), "JPEG")));
    PictureFittingDialog &dialog = form.dialogs.pictureFitting();
    QString said;
    bool canStore = true;
    whenMade(dialog, [&] {
        dialog.pictureList->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        QVERIFY(waitUntilMade(dialog));
        dialog.pictureList->setCurrentItem(dialog.pictureList->topLevelItem(1));
        said = dialog.problemLabel->text();
        canStore = dialog.okButton->isEnabled();
    });
    dialog.fitFor({LineOrigin::Item::Image, 2}, QStringLiteral("logo.png"));
    QVERIFY2(said.contains(QStringLiteral("画像1の「photo.jpg」が、そのままで"))
                 && said.contains(QStringLiteral("画像1に印を付けると")),
             qPrintable(said));
    QVERIFY(!canStore);
    QCOMPARE(fixture.page.Images[1].ImageUrl, QByteArray("logo.png"));
}

// "決定" pressed before the pictures are made stores them once they are.
void PagePicturesTest::storedOnceMadeWhenPressedBefore()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    QVERIFY(fixture.handsetChoice.choose(QStringLiteral("D502i")).isEmpty());
    PictureFolderPage page(fixture);
    page.put(1, QStringLiteral("photo.jpg"), encodedPicture(cameraPhoto({1600, 1200}), "JPEG"));
    PictureFittingDialog &dialog = form.dialogs.pictureFitting();
    bool pressedWhileWorking = false;
    QTimer::singleShot(0, &dialog, [&] {
        pressedWhileWorking = dialog.working();
        dialog.okButton->click();
    });
    // Should it not store, the dialog is closed rather than left waiting.
    QTimer::singleShot(60000, &dialog, &QDialog::reject);
    dialog.fitFor({LineOrigin::Item::Image, 1}, QStringLiteral("photo.jpg"));
    QVERIFY(pressedWhileWorking);
    QCOMPARE(fixture.page.Images[0].ImageUrl, QByteArray("photo.gif"));
}

// A camera's photo of 5640 × 3172 pixels and over 16 MB: the dialog shows at once, its events
// go on while the picture is made (a timer keeps firing, typing reaches the name box), and the
// result then shows.
void PagePicturesTest::windowFreeWhilePicturesAreMade()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    QVERIFY(fixture.handsetChoice.choose(QStringLiteral("SH505i")).isEmpty());
    PictureFolderPage page(fixture);
    const QByteArray photo = grainyPhotoJpeg({5640, 3172});
    QVERIFY2(photo.size() > 16'000'000, qPrintable(QString::number(photo.size())));
    page.put(1, QStringLiteral("large.jpg"), photo);
    PictureFittingDialog &dialog = form.dialogs.pictureFitting();
    bool workingWhenShown = false;
    int ticks = 0;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&] { ticks += dialog.working() ? 1 : 0; });
    QTimer::singleShot(0, &dialog, [&] {
        workingWhenShown = dialog.isVisible() && dialog.working();
        ticking.start(5);
        dialog.nameEdit->clear();
        QTest::keyClicks(dialog.nameEdit, QStringLiteral("typed"));
    });
    whenMade(dialog, [&] {
        QCOMPARE(dialog.nameEdit->text(), QStringLiteral("typed.jpg"));
        dialog.okButton->click();
    });
    dialog.fitFor({LineOrigin::Item::Image, 1}, QStringLiteral("large.jpg"));
    QVERIFY(workingWhenShown);
    QVERIFY2(ticks >= 2, qPrintable(QString::number(ticks)));
    QCOMPARE(fixture.page.Images[0].ImageUrl, QByteArray("typed.jpg"));
    QCOMPARE(QImage::fromData(page.file(QStringLiteral("typed.jpg"))).width(), 240);
}

// A small picture that fits in less than its share leaves the rest to the photo beside it.
void PagePicturesTest::roomLeftUnusedGoesToThePictureThatWantsIt()
{
    const Handset handset = *FindHandset(QStringLiteral("SH505i"));
    QImage dot(96, 96, QImage::Format_RGB32);
    dot.fill(Qt::white);
    const QByteArray small = encodedPicture(dot, "GIF");
    const QByteArray photo = encodedPicture(cameraPhoto({960, 960}), "JPEG");
    const PicturesFitted alone = FitPicturesTogether({{photo, true, 0}}, 6000, 1000, handset, Qt::white);
    const PicturesFitted both =
        FitPicturesTogether({{photo, true, 0}, {small, true, 0}}, 6000, 1000, handset, Qt::white);
    QCOMPARE(both.fitted[1].bytes, small); // kept as it is
    QVERIFY(both.budgets[0] > 5000 / 2);
    QVERIFY(both.fitted[0].bytes.size() + small.size() <= 5000);
    QVERIFY(both.fitted[0].bytes.size() >= alone.fitted[0].bytes.size() - small.size() - 64);
}

QTEST_MAIN(PagePicturesTest)
#include "tst_page_pictures.moc"
