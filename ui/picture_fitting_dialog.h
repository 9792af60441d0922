#pragma once

#include "check/page_files.h"
#include "generator/page_generator.h"
#include "model/picture_fitting.h"
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
struct WorkingState;

// "携帯向けに変換": a picture of the page made for the handset chosen, within what the page
// leaves of its limit. It shows the source and the result side by side at the phone's size,
// with their bytes, and the name the result is written under in the page's folder; "決定"
// writes it (a file that is there only with the user's yes) and puts it into the item.
class PictureFittingDialog : public FixedDialog {
    Q_OBJECT

public:
    PictureFittingDialog(PageProject &page, WorkingState &state, const Pattern &pattern,
                         HandsetChoice &handsetChoice, Desktop &desktop, QWidget *parent = nullptr);

    // Opens for the picture the item at `origin` names as `source`; a file dialog chooses one
    // first when the item names no picture that is there. The name put into the item, or
    // nothing when nothing was written.
    std::optional<QString> fitFor(const LineOrigin &origin, const QString &source);

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
    void stored();

private:
    void chooseSource();
    bool useSource(const QString &path);
    void refit();
    void showViews();
    void store();

    PageProject &page;
    WorkingState &state;
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
    std::optional<QString> written;
};
