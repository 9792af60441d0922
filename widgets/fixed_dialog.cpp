#include "widgets/fixed_dialog.h"

#include "model/fonts.h"

#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

FixedDialog::FixedDialog(QWidget *parent, const QString &title, const QSize &size)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setModal(true);
    setWindowTitle(title);
    setFixedSize(size);
    setFont(fontWithCellHeight(proportionalGothic(), 12));
}

void FixedDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Placed by its inside, not by its frame: before a window is first shown the desktop has not
// said how large its frame is, so a frame-based place would differ between the first opening
// and the later ones.
void FixedDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        const QScreen *shownOn = parentWidget() ? parentWidget()->screen() : screen();
        if (shownOn)
            setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                            shownOn->availableGeometry()));
    }
    QDialog::showEvent(event);
}
