#include "widgets/pictogram_palette.h"

#include "imode/pictograms.h"
#include "widgets/pictogram_grid.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int columns = 16;
constexpr int basicRows = 11; // the 176 basic pictograms
constexpr int extendedRows = 5; // the 76 extended ones

QString pointedText(const Pictogram *pictogram)
{
    if (!pictogram)
        return QStringLiteral("クリックすると、カーソルの位置に入ります。");
    return QStringLiteral("%1 %2（%3）")
        .arg(pictogram->extended ? QStringLiteral("拡張") : QStringLiteral("基本"),
             pictogram->number, pictogram->name);
}

QList<const Pictogram *> withNumbers(const QStringList &numbers)
{
    QList<const Pictogram *> found;
    for (const QString &number : numbers)
        for (const Pictogram &pictogram : Pictograms())
            if (pictogram.number == number && !found.contains(&pictogram))
                found.append(&pictogram);
    return found.mid(0, PictogramPalette::RecentCount);
}

} // namespace

PictogramPalette::PictogramPalette(QWidget *parent) : QFrame(parent, Qt::Popup)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    searchBox = new QLineEdit(this);
    searchBox->setPlaceholderText(QStringLiteral("名前や読みで探す（例: はれ）"));
    searchBox->setClearButtonEnabled(true);
    layout->addWidget(searchBox);

    layout->addWidget(new QLabel(QStringLiteral("最近使った絵文字"), this));
    recentGrid = new PictogramGrid(pictures, columns, 1, this);
    recentGrid->setEmptyText(QStringLiteral("まだありません"));
    layout->addWidget(recentGrid);

    tabs = new QTabWidget(this);
    basicGrid = new PictogramGrid(pictures, columns, basicRows);
    basicGrid->setEmptyText(QStringLiteral("見つかりません"));
    tabs->addTab(basicGrid, QStringLiteral("基本"));
    auto *extendedPage = new QWidget;
    auto *extendedLayout = new QVBoxLayout(extendedPage);
    extendedLayout->setContentsMargins(0, 0, 0, 0);
    extendedGrid = new PictogramGrid(pictures, columns, extendedRows, extendedPage);
    extendedGrid->setEmptyText(QStringLiteral("見つかりません"));
    extendedLayout->addWidget(extendedGrid);
    auto *note = new QLabel(QStringLiteral("拡張絵文字はHTML 4.0の機種から表示されます。"), extendedPage);
    note->setWordWrap(true);
    extendedLayout->addWidget(note);
    extendedLayout->addStretch();
    tabs->addTab(extendedPage, QStringLiteral("拡張"));
    layout->addWidget(tabs);

    pointedName = new QLabel(pointedText(nullptr), this);
    layout->addWidget(pointedName);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (PictogramGrid *grid : {recentGrid, basicGrid, extendedGrid}) {
        connect(grid, &PictogramGrid::chosen, this, &PictogramPalette::choose);
        connect(grid, &PictogramGrid::pointed, this,
                [this](const Pictogram *pictogram) { pointedName->setText(pointedText(pictogram)); });
    }
    connect(searchBox, &QLineEdit::textChanged, this, &PictogramPalette::filter);
    connect(searchBox, &QLineEdit::returnPressed, this, [this] {
        if (!shownGrid()->pictograms().isEmpty())
            choose(*shownGrid()->pictograms().first());
    });
    filter({});
}

void PictogramPalette::setRecent(const QStringList &numbers)
{
    recentGrid->setPictograms(withNumbers(numbers));
}

QStringList PictogramPalette::recent() const
{
    QStringList numbers;
    for (const Pictogram *pictogram : recentGrid->pictograms())
        numbers.append(pictogram->number);
    return numbers;
}

void PictogramPalette::popUpBelow(const QWidget &anchor)
{
    searchBox->clear();
    adjustSize();
    // Below the anchor, as a menu drops, its left edge with the anchor's; where the screen
    // ends first, its right edge with the anchor's; above where there is no room below.
    const QRect screen = anchor.screen()->availableGeometry();
    const QRect placed(anchor.mapToGlobal(QPoint(0, 0)), anchor.size());
    QPoint at(placed.left(), placed.bottom() + 1);
    if (at.x() + width() > screen.right() + 1)
        at.setX(placed.right() + 1 - width());
    if (at.y() + height() > screen.bottom() + 1)
        at.setY(placed.top() - height());
    at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() - width())));
    at.setY(std::max(at.y(), screen.top()));
    move(at);
    show();
    searchBox->setFocus();
}

void PictogramPalette::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Down && searchBox->hasFocus()) {
        shownGrid()->setFocus();
        return;
    }
    QFrame::keyPressEvent(event);
}

void PictogramPalette::filter(const QString &search)
{
    basicGrid->setPictograms(PictogramsNamed(search, false));
    extendedGrid->setPictograms(PictogramsNamed(search, true));
    const bool searching = !search.trimmed().isEmpty();
    const auto title = [searching](const QString &set, const PictogramGrid *grid) {
        return searching ? QStringLiteral("%1（%2）").arg(set).arg(grid->pictograms().size()) : set;
    };
    tabs->setTabText(0, title(QStringLiteral("基本"), basicGrid));
    tabs->setTabText(1, title(QStringLiteral("拡張"), extendedGrid));
    // A search shows the tab where it found something.
    if (shownGrid()->pictograms().isEmpty()) {
        if (!basicGrid->pictograms().isEmpty())
            tabs->setCurrentIndex(0);
        else if (!extendedGrid->pictograms().isEmpty())
            tabs->setCurrentIndex(1);
    }
}

void PictogramPalette::choose(const Pictogram &pictogram)
{
    QList<const Pictogram *> recent = recentGrid->pictograms();
    recent.removeAll(&pictogram);
    recent.prepend(&pictogram);
    recentGrid->setPictograms(recent.mid(0, RecentCount));
    close();
    emit chosen(pictogram);
}

PictogramGrid *PictogramPalette::shownGrid() const
{
    return tabs->currentIndex() == 0 ? basicGrid : extendedGrid;
}
