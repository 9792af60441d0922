#pragma once

#include "check/page_check.h"
#include "widgets/fixed_dialog.h"

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class Desktop;

// The findings of the page check, a line each (a long one wrapped), worst first, in a window
// the user may make larger; a click on one closes the window
// and opens the item it belongs to. "ケータイ表示" closes it and opens the phone preview; a
// picture the phone does not show as it is has "携帯向けに変換…" beside its finding.
class PageCheckWindow : public FixedDialog {
    Q_OBJECT

public:
    // `fitPicture` makes the picture of a finding fit the phone ("携帯向けに変換…" on the
    // findings of a picture the phone does not show as it is).
    // Its size is the one the user gave it last, kept in "mopeco.ini" in `programFolder`.
    PageCheckWindow(std::function<void(const Finding &)> open, std::function<void()> openPreview,
                    std::function<void(const Finding &)> fitPicture, const QString &programFolder,
                    Desktop &desktop, QWidget *parent = nullptr);

    void showResult(const PageCheckResult &result, const Handset &handset);

    QLabel *summary;
    QTreeWidget *list;
    QPushButton *previewButton;
    QPushButton *closeButton;

    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::function<void(const Finding &)> open;
    std::function<void(const Finding &)> fitPicture;
    QList<Finding> shown;
    const QString &programFolder;
    Desktop &desktop;
};
