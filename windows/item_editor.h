#pragma once

#include "windows/picture_fitting_dialog.h"

#include "page/page_generator.h"
#include "text/stored_path.h"
#include "widgets/file_dialog.h"

#include "widgets/fixed_dialog.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class ByteLineEdit;
class PictogramLineEdit;
class PictogramPaletteButton;
class QPushButton;
class QToolButton;

struct PageProject;
struct WorkingState;
class Desktop;
enum class ItemKind : std::uint8_t;

// The one editor of every item: the body text, an image, a text, a link or a direct input,
// relabelled for the kind it is opened for.
class TForm3 : public FixedDialog {
    Q_OBJECT

public:
    TForm3(PageProject &page, WorkingState &state, const QString &programFolder,
           Desktop &desktop, QWidget *parent = nullptr);

    // Sets EditKind and fills the dialog from the current slot of that kind. A used field that
    // holds neither 1 nor 2 becomes 1, an option that is not 1 becomes 2, at once.
    void configureFor(ItemKind kind);

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void SpeedButton1Click();

    QLabel *Label1;
    QCheckBox *CheckBox1;
    QToolButton *SpeedButton1;
    QLabel *Label2;
    PictogramLineEdit *Edit1;
    QPushButton *Button1;
    QLabel *Label3;
    ByteLineEdit *Edit2;
    QCheckBox *CheckBox2;
    QCheckBox *CheckBox3;
    QCheckBox *CheckBox4;
    QPushButton *Button2;
    QPushButton *Button3;
    QLabel *Label4;
    PictogramPaletteButton *paletteButton;
    QPushButton *fitButton; // of an image: "携帯向けに変換…"

    // Makes the picture an item names, as `source`, fit the phone: what was written, or
    // nothing; its name goes into the item at "決定".
    std::function<std::optional<WrittenPicture>(const LineOrigin &, const QString &)> fitPicture;
    // Undoes a picture written for the item when the editor closes without "決定".
    std::function<void(const WrittenPicture &)> takeBackPicture;

    // Without "決定", the pictures written while the editor was open are taken back.
    void done(int result) override;

    FileDialog OpenDialog1;

private:
    std::vector<WrittenPicture> writtenPictures; // since the editor opened

signals:
    // The page was changed by "決定".
    // What the user entered went into the page, as `step` says ("画像1の変更").
    void stored(const QString &step);

private:
    void createControls();
    void fitButtonClick();

    PageProject &page;
    WorkingState &state;
    const QString &programFolder;
    Desktop &desktop;
    // The body text's path as the dialog shows it; stored by "決定".
    StoredPath bodyFile;
};
