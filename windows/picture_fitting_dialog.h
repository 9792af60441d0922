#pragma once

#include "check/page_files.h"
#include "page/page_generator.h"
#include "pictures/picture_fitting.h"
#include "widgets/file_dialog.h"
#include "widgets/fixed_dialog.h"

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class HandsetBox;
class HandsetChoice;
class Desktop;
struct PageProject;
struct Pattern;
struct PageLocation;

// A picture "決定" wrote: the name it is named by in the item, its file, and what that file
// held before (nothing when there was none).
struct WrittenPicture {
    QString name;
    QString path;
    std::optional<QByteArray> before;
};

// "携帯向けに変換": a picture of the page made for the handset chosen, within what the page
// leaves of its limit. It shows the source and the result side by side at the phone's size,
// with their bytes, and the name the result is written under in the page's folder; "決定"
// writes it (a file that is there only with the user's yes) and puts it into the item.
class PictureFittingDialog : public FixedDialog {
    Q_OBJECT

public:
    PictureFittingDialog(PageProject &page, const PageLocation &location, const Pattern &pattern,
                         HandsetChoice &handsetChoice, Desktop &desktop, QWidget *parent = nullptr);

    // Where the name of the picture "決定" wrote goes: into the page at once, or back to the
    // item editor the dialog was opened from, whose own "決定" stores it.
    enum class Into { Page, Editor };

    // Opens for the picture the item at `origin` names as `source`; a file dialog chooses one
    // first when the item names no picture that is there. What was written, or nothing.
    std::optional<WrittenPicture> fitFor(const LineOrigin &origin, const QString &source,
                                         Into into = Into::Page);

    // Undoes the writing of a picture whose name was not stored after all: the file as it was
    // before, or, when there was none, no file, unless the page names it.
    void takeBack(const WrittenPicture &picture);

    QLineEdit *sourceEdit;
    QPushButton *chooseButton;
    HandsetBox *handsetBox;
    QLabel *budgetLabel;
    QLabel *beforeView;
    QLabel *afterView;
    QLabel *beforeFacts;
    QLabel *afterFacts;
    QLabel *problemLabel;
    QLineEdit *nameEdit;
    QLabel *folderLabel;
    QPushButton *okButton;
    QPushButton *cancelButton;

    FileDialog OpenDialog1;
    FileDialog SaveDialog1;

signals:
    // The page was changed by "決定".
    void stored(const QString &step);

private:
    void chooseSource();
    bool useSource(const QString &path);
    void refit();
    void showViews();
    void store();

    PageProject &page;
    const PageLocation &location;
    const Pattern &pattern;
    HandsetChoice &handsetChoice;
    Desktop &desktop;
    PageFiles files;

    LineOrigin origin;
    QString source;        // as the item names it
    QString sourcePath;    // the file the picture is made from
    QByteArray sourceBytes;
    QString folder;        // the page's picture folder; empty before it is known
    qint64 budget = -1;
    QString fittedFor;     // the handset the picture was made for
    FittedPicture fitted;
    Into into = Into::Page;
    std::optional<WrittenPicture> written;
};
