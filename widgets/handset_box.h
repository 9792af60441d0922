#pragma once

#include <QComboBox>

class QLabel;
class HandsetChoice;
class Desktop;

// A box of the handsets by generation, each HTML version under a heading ("HTML 1.0 · 501i")
// with its series first and then its models, that shows the handset in force and chooses it.
// A name may be typed too; one that is no handset is said so beside the box, and the handset
// in force stays. Every box follows the one choice, wherever it was made; a choice that
// cannot be kept in "mopeco.ini" says so once.
class HandsetBox : public QComboBox {
    Q_OBJECT

public:
    HandsetBox(HandsetChoice &choice, Desktop &desktop, QWidget *parent);

    // Shows the handset in force, the names filled in the first time: the list of handsets
    // is read only when a box first shows it.
    void showChoice();

    // Where the box says that a name typed is no handset: a line of its parent beside it.
    void setNotePlace(const QRect &place);

    // What the box says of the name typed; empty while it names a handset.
    QString note() const;

private:
    void fill();
    void chooseTyped();

    HandsetChoice &choice;
    Desktop &desktop;
    QLabel *noteLabel;
};
