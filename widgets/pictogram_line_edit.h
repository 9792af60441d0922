#pragma once

#include "drawings/pictogram_pictures.h"

#include <QByteArray>
#include <QTextEdit>

#include <functional>

class QStyleOptionFrame;
struct Pictogram;

// A single-line edit of a page text that shows the text's pictograms as pictures, in either
// form the text holds them (a raw code or a decimal reference), and turns an emoji typed or
// pasted into the pictogram it stands for. A text the user leaves as it was shown comes back
// byte for byte, even bytes that are not Shift-JIS; a changed one comes back with each
// pictogram in the form it had, or, for one put in, in the form handsets read. It looks and
// behaves as a line edit: one line, no line breaks, Tab moves on, Enter is the dialog's.
class PictogramLineEdit : public QTextEdit {
    Q_OBJECT

public:
    explicit PictogramLineEdit(QWidget *parent = nullptr);

    void setBytes(const QByteArray &bytes);
    QByteArray bytes() const;

    // The text with each pictogram as its Unicode equivalent, or its label where it has none.
    QString text() const;
    // Shows the text as it is, up to its first line break; bytes() then converts it as typed.
    void setText(const QString &text);

    // Empties the box, as setBytes("") does.
    void clear();

    // Puts the pictogram in at the cursor, in the form handsets read.
    void insertPictogram(const Pictogram &pictogram);

    // The box keeps no undo of its own: its window's undo keys (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z)
    // reach the window, whose undo takes its typing back with the rest.
    void leaveUndoToWindow();

    // What is pasted is cut to leave the box at most this many bytes; no bound when 0.
    void setLongestBytes(qsizetype longest) { longestBytes = longest; }

signals:
    // The user changed the text.
    void textEdited(const QString &text);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    QStyleOptionFrame panelOption() const;
    void placeText();
    // Replaces what the user put in, running silent so that it is not taken for an edit.
    void changeQuietly(const std::function<void()> &change);
    void insertBytes(QTextCursor &cursor, const QByteArray &bytes);
    void insertPicture(QTextCursor &cursor, const Pictogram &pictogram, const QByteArray &written);
    void pictogramsForEmoji(int position, int added);
    QByteArray bytesBetween(int start, int end) const;
    QString textBetween(int start, int end) const;
    QString contentsKey() const;

    PictogramPictures pictures;
    QByteArray shownBytes;
    QString shownKey; // contentsKey() as the stored bytes were shown
    bool changingItself = false;
    bool undoInWindow = false;
    qsizetype longestBytes = 0;
};
