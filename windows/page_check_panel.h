#pragma once

#include "check/page_check.h"
#include "check/page_files.h"
#include "windows/qr_code_window.h"

#include <QWidget>

#include <cstdint>
#include <functional>

class QLabel;
class QToolButton;
class HandsetBox;
class HandsetChoice;
class PageCheckWindow;
class PhonePreviewWindow;
class SizeMeter;
class Desktop;

struct PageProject;
struct Pattern;
struct WorkingState;
struct PageLocation;
enum class ItemKind : std::uint8_t;

// The page check, in its band of the main window between the item buttons and the summary:
// the handset the page is meant for, the size meter, and how many things the check found. A
// click on the meter or the count opens the window of findings; a click on a finding there
// makes its slot current and opens its item. It also keeps the phone preview, which follows
// the page as the meter does.
class PageCheckPanel : public QWidget {
    Q_OBJECT

public:
    struct Openers {
        std::function<void(ItemKind)> item;      // the item editor on the current slot
        std::function<void()> pageSettings;      // the basic settings
        std::function<void()> title;             // the title box
        // "携帯向けに変換" for the picture an item names
        std::function<void(const LineOrigin &, const QString &)> fitPicture;
        // What the page's QR code is made of, for the preview's "QRコード"
        std::function<QrSubject()> qrSubject;
    };

    // The band's place in `window`, whose first paint it waits for.
    PageCheckPanel(QWidget &window, const QRect &band, const PageProject &page,
                   const PageLocation &location, WorkingState &state, const Pattern &pattern, HandsetChoice &handsetChoice,
                   const QString &programFolder, Desktop &desktop, Openers openers);

    // Checks the page again, as "HTML保存" would write it now, and shows the result. The
    // first check comes by itself once the main window has painted itself.
    void checkAgain();

    void showFindings();
    void showPreview();

    const PageCheckResult &result() const { return lastResult; }

    QLabel *handsetLabel;
    HandsetBox *handsetBox;
    SizeMeter *meter;
    QToolButton *findingCount;
    PhonePreviewWindow *previewWindow = nullptr; // made on first use

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void open(const Finding &finding);

    QWidget &window;
    const PageProject &page;
    const PageLocation &location;
    WorkingState &state;
    const Pattern &pattern;
    HandsetChoice &handsetChoice;
    const QString &programFolder;
    Desktop &desktop;
    bool checked = false; // the page was checked once
    QString pictureFolder; // where the last check looked for the pictures
    Openers openers;
    PageFiles files; // the body and the pictures, opened again only when they change
    PageCheckResult lastResult;
    QList<PageLine> lastLines;
    PageCheckWindow *findingsWindow = nullptr;
};
