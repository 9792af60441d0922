#pragma once

#include "check/page_files.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "pictures/page_pictures.h"
#include "pictures/picture_fitting.h"
#include "widgets/file_dialog.h"
#include "widgets/fixed_dialog.h"

#include <QFutureWatcher>
#include <QHash>
#include <QImage>

#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class HandsetBox;
class HandsetChoice;
class Desktop;
struct Pattern;
struct PageLocation;

// A picture "決定" wrote: the name it is named by in the item, its file, and what that file
// held before (nothing when there was none).
struct WrittenPicture {
    QString name;
    QString path;
    std::optional<QByteArray> before;
};

// The pictures of the page made on the dialog's thread, and their sources at the phone's size.
struct PicturesMade {
    PicturesFitted together;
    QList<QImage> before;
    quint64 generation = 0;
    bool pending = false;
    bool storeWhenMade = false; // of the ticks and handset they were made for
};

// "携帯向けに変換": the page's pictures made for the handset chosen, together, the room the
// page leaves of its limit shared between them. Each is listed with a tick to convert it or
// leave it as it is, the room it takes, and its source and result side by side at the phone's
// size. The pictures are made on a thread of their own; "決定" writes them into the page's
// folder (a file that is there only with the user's yes) and puts their names into the items.
// A picture the dialog made is made again from the picture it was made from, never from
// itself.
class PictureFittingDialog : public FixedDialog {
    Q_OBJECT

public:
    PictureFittingDialog(PageProject &page, const PageLocation &location, const Pattern &pattern,
                         HandsetChoice &handsetChoice, Desktop &desktop, QWidget *parent = nullptr);
    ~PictureFittingDialog() override;

    // Where the name of the picture of `origin` goes: into the page at once, or back to the
    // item editor the dialog was opened from, whose own "決定" stores it. The other pictures
    // go into the page either way.
    enum class Into { Page, Editor };

    // Opens on the page's pictures, the one the item at `origin` names as `source` chosen; a
    // file dialog chooses its source first when the item names no picture that is there. What
    // was written for `origin`, or nothing.
    std::optional<WrittenPicture> fitFor(const LineOrigin &origin, const QString &source,
                                         Into into = Into::Page);

    // Undoes the writing of a picture whose name was not stored after all: the file as it was
    // before, or, when there was none, no file, unless the page names it.
    void takeBack(const WrittenPicture &picture);

    // Whether the pictures are being made now: from a change until their results show.
    bool working() const { return pending; }

    QTreeWidget *pictureList;
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
    QProgressBar *progressBar;
    QPushButton *stopButton;
    QPushButton *okButton;
    QPushButton *cancelButton;

    FileDialog OpenDialog1;
    FileDialog SaveDialog1;

signals:
    // The page was changed by "決定".
    void stored(const QString &step);
    // The pictures were made for the ticks and the handset now chosen.
    void pictureMade();

private:
    // A picture of the page as the dialog lists it.
    struct Row {
        PagePicture picture;
        QString original; // the file it is made from
        QByteArray originalBytes;
        QString readProblem; // why the original could not be read
        qint64 bytesNow = -1; // of the file the page names; -1 when there is none
        bool convert = true;
        QString name; // the name the result is written under
        bool typed = false; // the user typed it
        qint64 budget = 0;
        FittedPicture fitted;
        QImage before;
    };
    struct Made {
        QString original;
        QByteArray hash; // of the bytes written
    };
    bool listPictures(const LineOrigin &origin, const QString &source);
    enum class Naming { Room, Made };
    void nameRows(Naming naming);
    void chooseSource();
    bool useSource(Row &row, const QString &path);
    void refit();
    void showResult(const PicturesMade &result);
    void stop();
    void showList();
    void showCurrent();
    void showBudget();
    QString inTheWay(const Row &row) const;
    void tick(int index, bool convert);
    void nameTyped();
    void store();
    qint64 pageBytes() const;
    PageProject withNames() const;
    bool isOurs(const QString &path) const;
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

    PageProject &page;
    const PageLocation &location;
    const Pattern &pattern;
    HandsetChoice &handsetChoice;
    Desktop &desktop;
    PageFiles files;

    PageProject planned; // the page with the editor's picture in its item
    LineOrigin origin;
    QString folder; // the page's picture folder; empty before it is known
    Into into = Into::Page;
    QList<Row> rows;
    int current = 0;
    qint64 limitBytes = 0;
    qint64 textBytes = 0;
    QFutureWatcher<PicturesMade> watcher;
    quint64 generation = 0;
    bool pending = false;
    bool storeWhenMade = false;
    QHash<QString, Made> made; // by the file written
    std::optional<WrittenPicture> written;
};
