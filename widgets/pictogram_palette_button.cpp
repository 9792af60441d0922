#include "widgets/pictogram_palette_button.h"

#include "settings/program_settings.h"
#include "widgets/desktop.h"
#include "widgets/pictogram_line_edit.h"
#include "widgets/pictogram_palette.h"

#include <QShortcut>

PictogramPaletteButton::PictogramPaletteButton(PictogramLineEdit &edit,
                                               const QString &programFolder, Desktop &desktop,
                                               const QRect &geometry, const QImage &icon,
                                               QWidget *parent)
    : QToolButton(parent), edit(edit), programFolder(programFolder), desktop(desktop)
{
    setGeometry(geometry);
    // The box keeps the focus, and with it the cursor where the pictogram goes.
    setFocusPolicy(Qt::NoFocus);
    setToolTip(QStringLiteral("絵文字を入れる（Ctrl+E）"));
    setIcon(QPixmap::fromImage(icon));
    setIconSize(icon.size());
    connect(this, &QToolButton::clicked, this, &PictogramPaletteButton::openPalette);
    // From the keyboard, the box itself opens it.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), &edit, [this] { openPalette(); },
                  Qt::WidgetShortcut);
}

void PictogramPaletteButton::openPalette()
{
    if (!palette) {
        palette = new PictogramPalette(this);
        connect(palette, &PictogramPalette::chosen, this, [this](const Pictogram &pictogram) {
            edit.insertPictogram(pictogram);
            desktop.showWarningOnce(SaveRecentPictograms(programFolder, palette->recent()));
            edit.setFocus();
        });
    }
    // Another box may have used some since.
    const SavedSetting<QStringList> recent =
        SavedRecentPictograms(programFolder, PictogramPalette::RecentCount);
    desktop.showWarningOnce(recent.problem);
    palette->setRecent(recent.value);
    palette->popUpBelow(*this);
}
