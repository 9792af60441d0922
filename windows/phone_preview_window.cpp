#include "windows/phone_preview_window.h"

#include "drawings/fonts.h"
#include "widgets/controls.h"
#include "widgets/error_guard.h"
#include "widgets/handset_box.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWheelEvent>

// The phone, drawn; the wheel scrolls its screen.
class PhoneScreen : public QWidget {
public:
    explicit PhoneScreen(PhonePreviewWindow &window) : QWidget(&window), window(window) {}

    QImage picture;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, picture); }

    void wheelEvent(QWheelEvent *event) override
    {
        window.scrollBy(-event->angleDelta().y() / 4);
        event->accept();
    }

private:
    PhonePreviewWindow &window;
};

namespace {

// A tenth of a second: one phase of BLINK and MARQUEE.
constexpr int phaseMilliseconds = 100;
constexpr int margin = 8;
constexpr int boxHeight = 22;

} // namespace

PhonePreviewWindow::PhonePreviewWindow(HandsetChoice &handsetChoice, const QString &programFolder,
                                       Desktop &desktop, std::function<QrSubject()> qrSubject,
                                       QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      programFolder(programFolder),
      desktop(desktop),
      qrSubject(std::move(qrSubject))
{
    setWindowTitle(QStringLiteral("ケータイ表示"));
    setFont(fontWithCellHeight(proportionalGothic(), 12));
    addLabel(this, margin, margin + 4, QStringLiteral("機種"));
    handsetBox = new HandsetBox(handsetChoice, desktop, this);
    handsetBox->setGeometry(margin + 32, margin, 110, boxHeight);
    handsetBox->showChoice();
    screen = new PhoneScreen(*this);
    screen->move(margin, 2 * margin + boxHeight);
    qrButton = addButton(this, {margin, 0, 96, 25}, QStringLiteral("QRコード"));
    qrButton->setToolTip(QStringLiteral("ページのアドレスを、携帯のカメラで読めるQRコードにします。"));
    connect(qrButton, &QPushButton::clicked, this, [this] {
        guarded(this->desktop, [this] {
            if (!qrWindow)
                qrWindow = new QrCodeWindow(this->programFolder, this->desktop, this);
            qrWindow->showFor(this->qrSubject ? this->qrSubject() : QrSubject());
        });
    });
    connect(&animation, &QTimer::timeout, this, [this] {
        ++phase;
        screen->picture = phone.draw(scroll, phase);
        screen->update();
    });
}

void PhonePreviewWindow::showPage(const QList<PageLine> &lines, const Handset &handset,
                                  const QString &pictureFolder)
{
    phone.setPage(lines, handset, pictureFolder);
    scroll = std::min(scroll, phone.maximumScroll());
    screen->picture = phone.draw(scroll, phase);
    fitToPhone();
    screen->update();
    if (phone.moves() && isVisible())
        animation.start(phaseMilliseconds);
    else
        animation.stop();
}

void PhonePreviewWindow::fitToPhone()
{
    const QSize picture = screen->picture.size();
    screen->resize(picture);
    // The code's button goes below the screen.
    qrButton->move(margin, screen->y() + picture.height() + margin);
    setFixedSize(std::max(picture.width(), 160) + 2 * margin,
                 qrButton->y() + qrButton->height() + margin);
    // The window may be too narrow beside the box: a name that is no handset is said over the
    // top of the screen, until it is mended.
    handsetBox->setNotePlace({margin, screen->y(), width() - 2 * margin, boxHeight});
}

void PhonePreviewWindow::scrollBy(int step)
{
    const int scrolled = std::clamp(scroll + step, 0, phone.maximumScroll());
    if (scrolled == scroll)
        return;
    scroll = scrolled;
    screen->picture = phone.draw(scroll, phase);
    screen->update();
}

void PhonePreviewWindow::keyPressEvent(QKeyEvent *event)
{
    const int line = phone.screenSize().height() / 8;
    const int page = phone.screenSize().height() - line;
    switch (event->key()) {
    case Qt::Key_Down:
        return scrollBy(line);
    case Qt::Key_Up:
        return scrollBy(-line);
    case Qt::Key_PageDown:
    case Qt::Key_Space:
        return scrollBy(page);
    case Qt::Key_PageUp:
        return scrollBy(-page);
    case Qt::Key_Home:
        return scrollBy(-scroll);
    case Qt::Key_End:
        return scrollBy(phone.maximumScroll() - scroll);
    case Qt::Key_Escape:
        event->accept(); // the preview stays until it is closed
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

// It opens beside the main window where the screen has room, so both can be seen at once, or
// else at the screen's edge, over the main window's pattern preview.
void PhonePreviewWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous() && parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        const QRect room = parentWidget()->screen()->availableGeometry();
        int left = owner.right() + margin;
        if (left + width() > room.right())
            left = owner.left() - margin - width() >= room.left() ? owner.left() - margin - width()
                                                                  : room.right() - width();
        move(left, std::clamp(owner.top(), room.top(), std::max(room.top(), room.bottom() - height())));
    }
    if (phone.moves())
        animation.start(phaseMilliseconds);
    QDialog::showEvent(event);
}

void PhonePreviewWindow::hideEvent(QHideEvent *event)
{
    animation.stop();
    QDialog::hideEvent(event);
}
