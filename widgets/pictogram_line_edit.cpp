#include "widgets/pictogram_line_edit.h"

#include "imode/pictogram_text.h"
#include "imode/pictograms.h"
#include "text/sjis.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>

namespace {

// What a picture in the text stands for: the pictogram, and the bytes it was written as.
constexpr int pictogramCodeProperty = QTextFormat::UserProperty;
constexpr int writtenBytesProperty = QTextFormat::UserProperty + 1;

// A text copied from one of these boxes carries its bytes, so that pasting it into another
// keeps every pictogram in the form it had.
const QString pageTextMimeType = QStringLiteral("application/x-mopeco-page-text");

// Line edits keep their text this far from the inside of their frame.
constexpr int lineEditTextMargin = 2;

// A piece of the text in the box: plain text, or a pictogram's picture.
struct Piece {
    QString text;
    const Pictogram *pictogram = nullptr;
    QByteArray written;
};

const Pictogram *pictogramOf(const QTextCharFormat &format)
{
    return format.isImageFormat()
               ? PictogramWithCode(std::uint16_t(format.property(pictogramCodeProperty).toUInt()))
               : nullptr;
}

QList<Piece> piecesBetween(const QTextDocument &document, int start, int end)
{
    QList<Piece> pieces;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragments = block.begin(); !fragments.atEnd(); ++fragments) {
            const QTextFragment fragment = fragments.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from >= to)
                continue;
            const QTextCharFormat format = fragment.charFormat();
            if (const Pictogram *pictogram = pictogramOf(format)) {
                // Alike pictures next to each other make one fragment.
                for (int position = from; position < to; ++position)
                    pieces.append({{}, pictogram, format.property(writtenBytesProperty).toByteArray()});
            } else {
                pieces.append({fragment.text().mid(from - fragment.position(), to - from), nullptr, {}});
            }
        }
    }
    return pieces;
}

} // namespace

PictogramLineEdit::PictogramLineEdit(QWidget *parent) : QTextEdit(parent)
{
    // The line edit's own panel is drawn in place of the frame.
    setFrameStyle(QFrame::NoFrame);
    setLineWrapMode(QTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setTabChangesFocus(true);
    setAcceptRichText(false);
    viewport()->setAutoFillBackground(false);
    document()->setDocumentMargin(0);
    placeText();
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!changingItself)
            emit textEdited(text());
    });
}

void PictogramLineEdit::setBytes(const QByteArray &bytes)
{
    changeQuietly([this, &bytes] {
        QTextEdit::clear();
        placeText();
        QTextCursor cursor(document());
        insertBytes(cursor, bytes);
        setTextCursor(cursor);
    });
    document()->clearUndoRedoStacks();
    shownBytes = bytes;
    shownKey = contentsKey();
}

QByteArray PictogramLineEdit::bytes() const
{
    if (contentsKey() == shownKey)
        return shownBytes;
    return bytesBetween(0, document()->characterCount() - 1);
}

QString PictogramLineEdit::text() const
{
    return textBetween(0, document()->characterCount() - 1);
}

void PictogramLineEdit::setText(const QString &text)
{
    changeQuietly([this, &text] {
        QTextEdit::clear();
        placeText();
        QTextCursor cursor(document());
        cursor.insertText(sjis::firstLine(text), QTextCharFormat());
        setTextCursor(cursor);
    });
    document()->clearUndoRedoStacks();
}

void PictogramLineEdit::clear()
{
    setBytes({});
}

void PictogramLineEdit::insertPictogram(const Pictogram &pictogram)
{
    if (isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    insertPicture(cursor, pictogram, PictogramBytes(pictogram));
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void PictogramLineEdit::leaveUndoToWindow()
{
    undoInWindow = true;
    setUndoRedoEnabled(false);
}

bool PictogramLineEdit::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (undoInWindow && (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                             key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y))) {
            event->ignore();
            return true;
        }
        break;
    }
    case QEvent::Paint: {
        QPainter painter(this);
        const QStyleOptionFrame panel = panelOption();
        style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
        return true;
    }
    case QEvent::ToolTip: {
        // A picture's tool tip names its pictogram.
        const auto *help = static_cast<QHelpEvent *>(event);
        const QPointF at = viewport()->mapFrom(this, help->pos())
                           + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
        const int position = document()->documentLayout()->hitTest(at, Qt::ExactHit);
        const QList<Piece> pieces =
            position < 0 ? QList<Piece>() : piecesBetween(*document(), position, position + 1);
        if (!pieces.isEmpty() && pieces.first().pictogram)
            QToolTip::showText(help->globalPos(), pieces.first().pictogram->name, this);
        else
            QToolTip::hideText();
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        update(); // the panel shows the focus
        break;
    default:
        break;
    }
    const bool handled = QTextEdit::event(event);
    if (event->type() == QEvent::Resize || event->type() == QEvent::FontChange
        || event->type() == QEvent::StyleChange)
        placeText();
    return handled;
}

void PictogramLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    const int start = textCursor().selectionStart();
    const int length = document()->characterCount();
    QTextEdit::keyPressEvent(event);
    if (document()->characterCount() != length || textCursor().position() != start)
        pictogramsForEmoji(start, textCursor().position() - start);
}

void PictogramLineEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const int start = textCursor().selectionStart();
    QTextEdit::inputMethodEvent(event);
    if (!event->commitString().isEmpty())
        pictogramsForEmoji(start, textCursor().position() - start);
}

QMimeData *PictogramLineEdit::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
    data->setData(pageTextMimeType, bytesBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

bool PictogramLineEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasFormat(pageTextMimeType) || source->hasText();
}

void PictogramLineEdit::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    const int start = cursor.position();
    const qsizetype room = longestBytes > 0 ? std::max<qsizetype>(0, longestBytes - bytes().size()) : -1;
    if (source->hasFormat(pageTextMimeType)) {
        const QByteArray pasted = source->data(pageTextMimeType);
        insertBytes(cursor, room >= 0 ? sjis::leftBytes(pasted, room) : pasted);
    } else {
        QString line = sjis::firstLine(source->text());
        if (room >= 0) {
            // Each character takes a byte at least: the longest start that fits lies within the first `room`.
            line.truncate(room);
            qsizetype fits = 0;
            for (qsizetype low = 0, high = line.size(); low <= high;) {
                const qsizetype middle = (low + high) / 2;
                if (sjis::fromUnicode(line.left(middle)).size() <= room) {
                    fits = middle;
                    low = middle + 1;
                } else {
                    high = middle - 1;
                }
            }
            if (fits > 0 && line[fits - 1].isHighSurrogate())
                --fits;
            line.truncate(fits);
        }
        cursor.insertText(line, QTextCharFormat());
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
    pictogramsForEmoji(start, cursor.position() - start);
}

QStyleOptionFrame PictogramLineEdit::panelOption() const
{
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = contentsRect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    option.features = QStyleOptionFrame::None;
    return option;
}

// Puts the line where a line edit puts its text: inside the panel, centred on its height, its
// baseline at the font's ascent whatever the line holds, Japanese text or pictures.
void PictogramLineEdit::placeText()
{
    const QStyleOptionFrame panel = panelOption();
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    setViewportMargins(contents.left(), contents.top(), width() - contents.right() - 1,
                       height() - contents.bottom() - 1);
    const QFontMetrics metrics(font());
    // A line of fixed height has its baseline at four fifths of it.
    const qreal lineHeight = metrics.height();
    const qreal baselineInLine = lineHeight * 4 / 5;
    QTextFrameFormat margins = document()->rootFrame()->frameFormat();
    margins.setLeftMargin(lineEditTextMargin);
    margins.setRightMargin(lineEditTextMargin);
    const int lineTop = (contents.height() - metrics.height() + 1) / 2;
    margins.setTopMargin(lineTop + metrics.ascent() - baselineInLine);
    margins.setBottomMargin(0);
    QTextBlockFormat line;
    line.setLineHeight(lineHeight, QTextBlockFormat::FixedHeight);
    // A change of layout is no change of the text, nor a step to undo; most often there is none.
    QTextCursor block(document());
    if (margins == document()->rootFrame()->frameFormat() && line == block.blockFormat())
        return;
    changeQuietly([&] {
        document()->rootFrame()->setFrameFormat(margins);
        block.setBlockFormat(line);
    });
}

void PictogramLineEdit::changeQuietly(const std::function<void()> &change)
{
    const bool quietAlready = changingItself;
    changingItself = true;
    change();
    changingItself = quietAlready;
}

// In one edit block: the document is laid out once, not again at each picture.
void PictogramLineEdit::insertBytes(QTextCursor &cursor, const QByteArray &bytes)
{
    cursor.beginEditBlock();
    const auto endBlock = qScopeGuard([&cursor] { cursor.endEditBlock(); });
    for (const TextRun &run : PictogramRuns(bytes)) {
        if (run.pictogram)
            insertPicture(cursor, *run.pictogram, run.bytes);
        else // a stored line break cannot show in one line, nor come back from it
            cursor.insertText(sjis::toUnicode(run.bytes).replace(u'\r', u' ').replace(u'\n', u' '),
                              QTextCharFormat());
    }
}

void PictogramLineEdit::insertPicture(QTextCursor &cursor, const Pictogram &pictogram,
                                      const QByteArray &written)
{
    QTextImageFormat format =
        pictures.inlinePicture(*document(), pictogram, QFontMetrics(font()).height());
    format.setProperty(pictogramCodeProperty, uint(pictogram.code));
    format.setProperty(writtenBytesProperty, written);
    cursor.insertImage(format);
}

// Turns each emoji the user just put in, from `position` on, into its pictogram's picture.
void PictogramLineEdit::pictogramsForEmoji(int position, int added)
{
    if (added <= 0)
        return;
    // An emoji may finish one begun before: a presentation selector or a keycap enclosure.
    const int from = std::max(0, position - 2);
    QTextCursor range(document());
    range.setPosition(from);
    range.setPosition(position + added, QTextCursor::KeepAnchor);
    const QString typed = range.selectedText();
    struct Found {
        int at;
        int length;
        const Pictogram *pictogram;
    };
    QList<Found> found;
    for (qsizetype at = 0; at < typed.size(); ++at) {
        qsizetype length = 0;
        const Pictogram *pictogram = EmojiPictogramAt(typed, at, length);
        if (pictogram && from + at + length > position) {
            found.append({int(from + at), int(length), pictogram});
            at += length - 1;
        }
    }
    if (found.isEmpty())
        return;
    changeQuietly([&] {
        QTextCursor change(document());
        change.joinPreviousEditBlock();
        // From the end, so that the positions before stay true.
        for (auto emoji = found.crbegin(); emoji != found.crend(); ++emoji) {
            change.setPosition(emoji->at);
            change.setPosition(emoji->at + emoji->length, QTextCursor::KeepAnchor);
            change.removeSelectedText();
            insertPicture(change, *emoji->pictogram, PictogramBytes(*emoji->pictogram));
        }
        change.endEditBlock();
    });
    // The cursor stays at the end of what was put in, now shorter by each emoji's extra length.
    int end = position + added;
    for (const Found &emoji : found)
        end -= emoji.length - 1;
    QTextCursor cursor = textCursor();
    cursor.setPosition(end);
    setTextCursor(cursor);
}

QByteArray PictogramLineEdit::bytesBetween(int start, int end) const
{
    QByteArray bytes;
    QString plain;
    for (const Piece &piece : piecesBetween(*document(), start, end)) {
        if (!piece.pictogram) {
            plain += piece.text;
            continue;
        }
        bytes += TypedTextBytes(plain) + piece.written;
        plain.clear();
    }
    return bytes + TypedTextBytes(plain);
}

QString PictogramLineEdit::textBetween(int start, int end) const
{
    QString text;
    for (const Piece &piece : piecesBetween(*document(), start, end)) {
        if (!piece.pictogram)
            text += piece.text;
        else
            text += piece.pictogram->unicode.isEmpty() ? piece.pictogram->fallback
                                                       : piece.pictogram->unicode;
    }
    return text;
}

// The text with each picture as what it stands for, to tell whether the user changed it.
QString PictogramLineEdit::contentsKey() const
{
    QString key;
    for (const Piece &piece : piecesBetween(*document(), 0, document()->characterCount() - 1))
        key += piece.pictogram ? QChar(QChar::ObjectReplacementCharacter)
                                     + QString::fromLatin1(piece.written.toHex())
                               : piece.text;
    return key;
}
