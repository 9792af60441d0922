#pragma once

#include "check/page_check.h"
#include "widgets/fixed_dialog.h"

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

// The findings of the page check, a line each, worst first; a click on one closes the window
// and opens the item it belongs to. "ケータイ表示" closes it and opens the phone preview; a
// picture the phone does not show as it is has "携帯向けに変換…" beside its finding.
class PageCheckWindow : public FixedDialog {
    Q_OBJECT

public:
    // `fitPicture` makes the picture of a finding fit the phone ("携帯向けに変換…" on the
    // findings of a picture the phone does not show as it is).
    PageCheckWindow(std::function<void(const Finding &)> open, std::function<void()> openPreview,
                    std::function<void(const Finding &)> fitPicture, QWidget *parent = nullptr);

    void showResult(const PageCheckResult &result, const Handset &handset);

    QLabel *summary;
    QTreeWidget *list;
    QPushButton *previewButton;
    QPushButton *closeButton;

private:
    std::function<void(const Finding &)> open;
    std::function<void(const Finding &)> fitPicture;
    QList<Finding> shown;
};
