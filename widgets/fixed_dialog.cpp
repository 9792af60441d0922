#include "widgets/fixed_dialog.h"

#include "drawings/fonts.h"
#include "widgets/controls.h"

#include <QKeyEvent>
#include <QShowEvent>

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

void FixedDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        centreOnScreen(*this);
    QDialog::showEvent(event);
}
