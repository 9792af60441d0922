#include "ui/page_check_window.h"

#include "widgets/controls.h"
#include "widgets/pictogram_text_delegate.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace {

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
                                 std::function<void()> openPreview, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("ページの確認"), {600, 380}), open(std::move(open))
{
    summary = addLabel(this, 12, 10, {}, Qt::blue, 15);
    list = new QTreeWidget(this);
    list->setGeometry(12, 36, 576, 294);
    list->setColumnCount(3);
    list->setHeaderLabels({QStringLiteral("重さ"), QStringLiteral("項目"), QStringLiteral("内容")});
    list->setRootIsDecorated(false);
    list->setWordWrap(true);
    list->setColumnWidth(0, 64);
    list->setColumnWidth(1, 96);
    list->header()->setStretchLastSection(true);
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
    if (shown.isEmpty())
        new QTreeWidgetItem(list, {QString(), QString(), QStringLiteral("気になるところはありません。")});
}
