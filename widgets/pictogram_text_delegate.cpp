#include "widgets/pictogram_text_delegate.h"

#include "imode/pictogram_text.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeView>

#include <algorithm>

void PictogramTextDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QStyle *style = item.widget ? item.widget->style() : QApplication::style();
    // The text keeps the margin an item's own text keeps inside its rectangle.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, item.widget) + 1;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget)
                               .adjusted(margin, 0, -margin, 0);
    const std::unique_ptr<QTextDocument> document = laidOut(item.text, item.font, textRect.width());
    if (!document) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = item.palette;
    const bool selected = item.state & QStyle::State_Selected;
    context.palette.setColor(QPalette::Text, item.palette.color(selected ? QPalette::HighlightedText
                                                                           : QPalette::Text));
    painter->save();
    // Centred on the row's height, as the item's own text is.
    const int textHeight = int(document->size().height());
    const int top = textRect.top() + std::max(0, (textRect.height() - textHeight) / 2);
    painter->translate(textRect.left(), top);
    painter->setClipRect(QRect(0, textRect.top() - top, textRect.width(), textRect.height()));
    document->documentLayout()->draw(painter, context);
    painter->restore();
}

QSize PictogramTextDelegate::sizeHint(const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QSize usual = QStyledItemDelegate::sizeHint(option, index);
    // A tree asks before it knows the cell; its column says how wide the text may run.
    int width = option.rect.width();
    if (const auto *tree = qobject_cast<const QTreeView *>(option.widget))
        width = tree->columnWidth(index.column());
    QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    width -= 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, &item, option.widget) + 1);
    width = std::max(width, 40);
    const std::unique_ptr<QTextDocument> document = laidOut(item.text, item.font, width);
    // A text of a view that wraps takes the lines it wraps to.
    const int height =
        document ? int(document->size().height())
        : item.features & QStyleOptionViewItem::WrapText
            ? QFontMetrics(item.font).boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, item.text).height()
            : 0;
    return {usual.width(), std::max(usual.height(), height + 4)};
}

std::unique_ptr<QTextDocument> PictogramTextDelegate::laidOut(const QString &text,
                                                              const QFont &font, int width) const
{
    const QList<ShownRun> runs = ShownPictogramRuns(text);
    if (std::none_of(runs.begin(), runs.end(), [](const ShownRun &run) { return run.pictogram; }))
        return nullptr;
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(font);
    document->setDocumentMargin(0);
    document->setTextWidth(width);
    QTextCursor cursor(document.get());
    const int height = QFontMetrics(font).height();
    cursor.beginEditBlock(); // laid out once, not again at each picture
    for (const ShownRun &run : runs) {
        if (run.pictogram)
            cursor.insertImage(pictures.inlinePicture(*document, *run.pictogram, height));
        else
            cursor.insertText(run.text, QTextCharFormat());
    }
    cursor.endEditBlock();
    return document;
}
