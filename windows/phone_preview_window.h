#pragma once

#include "preview/phone_preview.h"
#include "windows/qr_code_window.h"

#include <QDialog>
#include <QTimer>

#include <functional>

class HandsetBox;
class HandsetChoice;
class Desktop;
class PhoneScreen;
class QPushButton;

// "ケータイ表示": the page as the chosen handset shows it, kept current while the user works.
// It stays open beside the main window; the wheel and the arrow and page keys scroll the
// screen, and its handset box is the main window's choice too. "QRコード" below the screen
// shows the page's address as a code a phone reads.
class PhonePreviewWindow : public QDialog {
    Q_OBJECT

public:
    // `qrSubject` says what the page's QR code is made of.
    PhonePreviewWindow(HandsetChoice &handsetChoice, const QString &programFolder,
                       Desktop &desktop, std::function<QrSubject()> qrSubject, QWidget *parent);

    // Shows the page's lines for the handset; pictures come from `pictureFolder`.
    void showPage(const QList<PageLine> &lines, const Handset &handset, const QString &pictureFolder);

    // Scrolls the screen by `step` pixels, within the page.
    void scrollBy(int step);

    HandsetBox *handsetBox;
    PhoneScreen *screen;
    QPushButton *qrButton;
    QrCodeWindow *qrWindow = nullptr; // made on first use
    PhonePreview phone;
    int scroll = 0;
    int phase = 0;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void fitToPhone();

    QTimer animation;
    const QString &programFolder;
    Desktop &desktop;
    std::function<QrSubject()> qrSubject;
};
