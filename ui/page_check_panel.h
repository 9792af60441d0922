#pragma once

#include "check/page_check.h"

#include <QObject>

#include <cstdint>
#include <functional>

class QComboBox;
class QLabel;
class QToolButton;
class QWidget;
class PageCheckWindow;
class PhonePreviewWindow;
class QPushButton;
class SizeMeter;
class Desktop;

struct PageProject;
struct Pattern;
struct WorkingState;
enum class ItemKind : std::uint8_t;

// The page check in the main window, in the free band between the item buttons and the
// summary: the handset the page is meant for, the size meter, and how many things the check
// found. A click on the meter or the count opens the window of findings; a click on a finding
// there makes its slot current and opens its item. Beside the title box, "ケータイ表示" opens
// the phone preview, which follows the page as the meter does.
class PageCheckPanel : public QObject {
    Q_OBJECT

public:
    struct Openers {
        std::function<void(ItemKind)> item;      // the item editor on the current slot
        std::function<void()> pageSettings;      // the basic settings
        std::function<void()> title;             // the title box
    };

    PageCheckPanel(QWidget &window, const PageProject &page, WorkingState &state,
                   const Pattern &pattern, const QString &programFolder, Desktop &desktop,
                   Openers openers);

    // Checks the page again, as "HTML保存" would write it now, and shows the result. The
    // first check comes by itself once the main window has painted itself.
    void update();

    void showFindings();
    void showPreview();

    const PageCheckResult &result() const { return lastResult; }
    const Handset &handset() const { return chosenHandset; }

    QLabel *handsetLabel;
    QComboBox *handsetBox;
    SizeMeter *meter;
    QToolButton *findingCount;
    QPushButton *previewButton;
    PhonePreviewWindow *previewWindow = nullptr; // made on first use

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void chooseHandset(const QString &name);
    void showHandsetIn(QComboBox *box) const;
    void open(const Finding &finding);

    QWidget &window;
    const PageProject &page;
    WorkingState &state;
    const Pattern &pattern;
    const QString &programFolder;
    Desktop &desktop;
    QString pictureFolder; // where the last check looked for the pictures
    Openers openers;
    Handset chosenHandset;
    PageFiles files; // the body and the pictures, opened again only when they change
    PageCheckResult lastResult;
    QList<PageLine> lastLines;
    PageCheckWindow *findingsWindow = nullptr;
};
