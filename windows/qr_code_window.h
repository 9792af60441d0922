#pragma once

#include "widgets/file_dialog.h"
#include "widgets/fixed_dialog.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Desktop;

// What the code of a page is made from: its title, where the site lives, the page's file as
// last saved, and the project it belongs to.
struct QrSubject {
    QByteArray title;
    QByteArray homePage;
    QString pageFile;
    QString projectFile;
};

// "QRコード": the page's address as a QR code a phone's camera reads, the address alone or in
// the bookmark form with the page's title, drawn large enough to be read from the screen, to
// be saved as a picture or copied. The address may be changed, on one line; it is kept in
// "mopeco.ini" for the project.
class QrCodeWindow : public FixedDialog {
    Q_OBJECT

public:
    QrCodeWindow(const QString &programFolder, Desktop &desktop, QWidget *parent = nullptr);

    // Opens for the page; returns when the window is closed.
    void showFor(const QrSubject &subject);

    QLineEdit *addressEdit;
    QRadioButton *addressOnly;
    QRadioButton *bookmark;
    QLabel *codeView;
    QLabel *codeFacts;
    QPushButton *saveButton;
    QPushButton *copyButton;
    QPushButton *closeButton;

    FileDialog SaveDialog1;

    // The code as it shows now; null when the text does not fit.
    QImage code() const { return shownCode; }
    // The bytes the code holds now.
    QByteArray text() const;

private:
    void keepOneLine(const QString &address);
    void redraw();
    void saveCode();
    void copyCode();

    const QString &programFolder;
    Desktop &desktop;
    QrSubject subject;
    QImage shownCode;
    bool linesLeftOut = false; // the address was pasted with more lines, now left out
};
