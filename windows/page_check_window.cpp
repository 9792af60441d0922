#include "windows/page_check_window.h"

#include "pictures/picture_in_page.h"
#include "settings/program_settings.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/pictogram_text_delegate.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTreeWidget>

#include <algorithm>

namespace {

const QSize smallest(600, 380);

QColor severityColour(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return QColor(200, 0, 0);
    case Severity::Warning:
        return QColor(190, 100, 0);
    case Severity::Notice:
        break;
    }
    return QColor(0, 0, 160);
}

} // namespace

PageCheckWindow::PageCheckWindow(std::function<void(const Finding &)> open,
                                 std::function<void()> openPreview,
                                 std::function<void(const Finding &)> fitPicture,
                                 const QString &programFolder, Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("ページの確認"), smallest),
      open(std::move(open)),
      fitPicture(std::move(fitPicture)),
      programFolder(programFolder),
      desktop(desktop)
{
    // Larger, never smaller, than its first size.
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizeGripEnabled(true);
    summary = addLabel(this, 12, 10, {}, Qt::blue, 15);
    list = new QTreeWidget(this);
    list->setGeometry(12, 36, 576, 294);
    list->setColumnCount(4);
    list->setHeaderLabels({QStringLiteral("重さ"), QStringLiteral("項目"), QStringLiteral("内容"), QString()});
    list->setRootIsDecorated(false);
    list->setWordWrap(true);
    list->setUniformRowHeights(false);
    list->setTextElideMode(Qt::ElideNone);
    list->setColumnWidth(0, 64);
    list->setColumnWidth(1, 96);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(3, QHeaderView::Fixed);
    list->setColumnWidth(3, 112);
    list->setItemDelegateForColumn(2, new PictogramTextDelegate(list));
    list->setToolTip(QStringLiteral("クリックすると、その項目を開きます。"));
    previewButton = addButton(this, {12, 344, 110, 25}, QStringLiteral("ケータイ表示"));
    closeButton = addButton(this, {500, 344, 88, 25}, QStringLiteral("閉じる"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(previewButton, &QPushButton::clicked, this, [this, openPreview] {
        accept();
        openPreview();
    });
    connect(list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        const Finding finding = shown.value(list->indexOfTopLevelItem(item));
        accept();
        this->open(finding);
    });
    // Never larger than the screen, whatever the settings file says.
    const QSize kept = SavedCheckWindowSize(programFolder).value.expandedTo(smallest);
    resize(screen() ? kept.boundedTo(screen()->availableSize()).expandedTo(smallest) : kept);
}

void PageCheckWindow::resizeEvent(QResizeEvent *event)
{
    FixedDialog::resizeEvent(event);
    list->setGeometry(12, 36, width() - 24, height() - 86);
    previewButton->move(12, height() - 36);
    closeButton->move(width() - 100, height() - 36);
    // The wrapped findings take the lines the new width gives them.
    list->doItemsLayout();
}

void PageCheckWindow::done(int result)
{
    if (size() != SavedCheckWindowSize(programFolder).value.expandedTo(smallest))
        desktop.showWarningOnce(SaveCheckWindowSize(programFolder, size()));
    FixedDialog::done(result);
}

void PageCheckWindow::showResult(const PageCheckResult &result, const Handset &handset)
{
    const SizeTexts said = SizeAgainstLimit(result.totalBytes(), result.limitBytes);
    summary->setText(QStringLiteral("%1 の大きさ %2 %3 / %4 %3（画像を含む）")
                         .arg(HandsetText(handset), said.size, said.unit, said.limit));
    summary->adjustSize();
    shown = result.findings;
    list->clear();
    for (const Finding &finding : shown) {
        auto *item = new QTreeWidgetItem(list, {SeverityText(finding.severity), ItemName(finding),
                                                finding.message});
        item->setForeground(0, severityColour(finding.severity));
        item->setToolTip(2, finding.message);
    }
    // Once for each picture of an item, beside its first finding, as a link: a button would
    // make its line taller than the others.
    QSet<QString> offered;
    for (int row = 0; row < shown.size(); ++row) {
        const Finding &finding = shown[row];
        const QString picture = ItemName(finding) + QLatin1Char('\n') + finding.subject;
        if (!OffersPictureFitting(finding) || offered.contains(picture))
            continue;
        offered.insert(picture);
        auto *fit = new QLabel(QStringLiteral("<a href=\"fit\">携帯向けに変換…</a>"));
        fit->setToolTip(QStringLiteral("「%1」を、選んだ機種で表示できる形と大きさにします。")
                            .arg(finding.subject));
        connect(fit, &QLabel::linkActivated, this, [this, finding] {
            accept();
            fitPicture(finding);
        });
        list->setItemWidget(list->topLevelItem(row), 3, fit);
    }
    list->setColumnHidden(3, offered.isEmpty());
    if (shown.isEmpty())
        new QTreeWidgetItem(list, {QString(), QString(), QStringLiteral("気になるところはありません。")});
}
