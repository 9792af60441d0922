#include "widgets/handset_box.h"

#include "imode/handsets.h"
#include "settings/handset_choice.h"
#include "text/nearest_name.h"
#include "widgets/desktop.h"

#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QMap>
#include <QStandardItem>
#include <QStandardItemModel>

#include <algorithm>

namespace {

// "HTML 2.0 · 502i・209i・210i など": a version and the first of its series.
QString headingOf(int version, const QStringList &series)
{
    QString names = series.mid(0, 3).join(QStringLiteral("・"));
    if (series.size() > 3)
        names += QStringLiteral(" など");
    return QStringLiteral("HTML %1 · %2").arg(HtmlVersionText(version), names);
}

} // namespace

HandsetBox::HandsetBox(HandsetChoice &choice, Desktop &desktop, QWidget *parent)
    : QComboBox(parent), choice(choice), desktop(desktop)
{
    setToolTip(QStringLiteral("ページを表示する携帯の機種かシリーズ（503i、SH505i など）"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    completer()->setCaseSensitivity(Qt::CaseInsensitive);
    completer()->setFilterMode(Qt::MatchContains);
    noteLabel = new QLabel(parent);
    noteLabel->setAutoFillBackground(true);
    QPalette colours = noteLabel->palette();
    colours.setColor(QPalette::WindowText, QColor(200, 0, 0));
    noteLabel->setPalette(colours);
    noteLabel->hide();
    connect(&choice, &HandsetChoice::changed, this, &HandsetBox::showChoice);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (itemData(index).toBool()) // a heading chooses nothing
            return;
        this->desktop.showWarningOnce(this->choice.choose(itemText(index)));
        showChoice();
    });
    connect(lineEdit(), &QLineEdit::returnPressed, this, &HandsetBox::chooseTyped);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &HandsetBox::chooseTyped);
}

void HandsetBox::setNotePlace(const QRect &place)
{
    noteLabel->setGeometry(place);
}

QString HandsetBox::note() const
{
    return noteLabel->isHidden() ? QString() : noteLabel->text();
}

void HandsetBox::fill()
{
    // By HTML version, from the first generation on: its series, then its models.
    QMap<int, QList<const Handset *>> generations;
    for (const bool series : {true, false})
        for (const Handset &handset : Handsets())
            if (handset.isSeries == series)
                generations[handset.htmlVersion].append(&handset);
    auto *items = qobject_cast<QStandardItemModel *>(model());
    for (auto generation = generations.cbegin(); generation != generations.cend(); ++generation) {
        QStringList seriesNames;
        for (const Handset *handset : *generation)
            if (handset->isSeries)
                seriesNames << handset->name;
        addItem(headingOf(generation.key(), seriesNames), true);
        QStandardItem *heading = items->item(count() - 1);
        heading->setFlags(Qt::NoItemFlags);
        QFont bold = font();
        bold.setBold(true);
        heading->setFont(bold);
        for (const Handset *handset : *generation)
            addItem(handset->name);
    }
    // The open list is as wide as its headings, however narrow the box.
    int widest = 0;
    for (int row = 0; row < count(); ++row)
        widest = std::max(widest, view()->fontMetrics().horizontalAdvance(itemText(row)));
    view()->setMinimumWidth(widest + 40);
}

void HandsetBox::showChoice()
{
    if (count() == 0)
        fill();
    // The list opens at the handset in force.
    const int shown = findText(choice.handset().name);
    if (shown >= 0)
        setCurrentIndex(shown);
    else
        setCurrentText(choice.handset().name);
    noteLabel->hide();
}

// A name typed: the handset it names is chosen, written as the list writes it; any other name
// is said so, and stays in the box to be mended.
void HandsetBox::chooseTyped()
{
    const QString typed = currentText().trimmed();
    if (typed.isEmpty() || typed == choice.handset().name) {
        showChoice();
        return;
    }
    if (const std::optional<Handset> handset = FindHandset(typed)) {
        desktop.showWarningOnce(choice.choose(handset->name));
        showChoice();
        return;
    }
    QStringList names;
    for (const Handset &known : Handsets())
        names << known.name;
    const QString nearest = NearestName(typed, names);
    noteLabel->setText(QStringLiteral("「%1」という機種はありません").arg(typed)
                       + (nearest.isEmpty() ? QString() : QStringLiteral("（%1？）").arg(nearest)));
    noteLabel->setToolTip(noteLabel->text());
    noteLabel->show();
    noteLabel->raise();
}
