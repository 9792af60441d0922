#pragma once

#include <QChar>
#include <QList>
#include <QSize>
#include <QString>

// Where rich text shows a picture in its line. Qt's text engine reads pictures from HTML in
// time that grows with the square of a line's length, but takes them put in one by one in
// one edit at linear cost: the rich text holds this mark where a picture goes, and the
// pictures in order beside it. It is the character Unicode keeps for an object in text; the
// page's own text never brings one in.
inline constexpr QChar InlinePictureMark = QChar(QChar::ObjectReplacementCharacter);

// A picture in rich text: its name, and the size it shows at where that is not its own.
struct InlinePicture {
    QString name;
    QSize size;
};

struct RichText {
    QString text;                  // HTML, with InlinePictureMark for each picture
    QList<InlinePicture> pictures; // the pictures of the marks, in order
    bool newBlock = false;         // it starts a line where the page closed a block before it

    void add(const InlinePicture &picture);
    bool isEmpty() const { return text.isEmpty(); }
    // The rich text with each picture as an HTML image, for reading.
    QString html() const;
};
