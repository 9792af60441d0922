#pragma once

#include <QComboBox>

class HandsetChoice;
class Desktop;

// A box of every series, then every model, that shows the handset in force and chooses it;
// typing the first letters of a name in the open list finds it. Every box follows the one
// choice, wherever it was made; a choice that cannot be kept in "mopeco.ini" says so once.
class HandsetBox : public QComboBox {
public:
    HandsetBox(HandsetChoice &choice, Desktop &desktop, QWidget *parent);

    // Shows the handset in force, the names filled in the first time: the list of handsets
    // is read only when a box first shows it.
    void showChoice();

private:
    HandsetChoice &choice;
};
