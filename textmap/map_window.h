#pragma once

#include "widgets/file_dialog.h"

#include <QColor>
#include "widgets/fixed_dialog.h"
#include <QImage>

#include <array>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

struct PageProject;
struct PageLocation;
struct TextMap;
struct MapData;
struct MapExport;
class Desktop;
class ByteLineEdit;
class NoticeBar;
class UnsavedWork;

// The text map maker: an 8 × 8 map of full-width characters with its title, legend,
// description and link, kept as map data files and exported as text and as an i-mode page.
class TForm7 : public FixedDialog {
    Q_OBJECT

public:
    TForm7(TextMap &map, const PageProject &page, const PageLocation &pageLocation,
           const QString &programFolder, Desktop &desktop, QWidget *parent = nullptr);

    // The opening: a fresh, empty map with its texts reset. A map left unsaved when the window
    // closed, or when a program ended, is offered back.
    void configure();

    // Paints `text` into the current cell with the frame in the present pen colour.
    void DrawMapCell(const QByteArray &text);
    // Every cell with a white frame; the current cell ends at the last one.
    void RepaintMap();

    void Image1MouseDown(Qt::MouseButton button, const QPoint &position);
    // The popup menu's commands: the character into the current cell.
    void putCharacter(const QByteArray &character);

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();

    QFrame *Panel3;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;
    QPushButton *Button6;
    QPushButton *Button8;
    QPushButton *Button7;
    QLabel *Label6;
    ByteLineEdit *Edit6;
    QFrame *Panel1;
    QLabel *Label1;
    QLabel *Image1;
    QLabel *Label2;
    QFrame *Panel2;
    QLabel *Label3;
    QPushButton *Button5;
    QPushButton *Button4;
    QLabel *Label4;
    QCheckBox *CheckBox1;
    QCheckBox *CheckBox2;
    QCheckBox *CheckBox3;
    QCheckBox *CheckBox4;
    QCheckBox *CheckBox5;
    ByteLineEdit *Edit1;
    ByteLineEdit *Edit2;
    ByteLineEdit *Edit3;
    ByteLineEdit *Edit4;
    ByteLineEdit *Edit5;
    QLabel *Label7;
    QLabel *Label8;
    ByteLineEdit *Edit7;
    QLabel *Label9;
    ByteLineEdit *Edit8;
    QLabel *Label5;
    QFrame *Panel4;
    QPlainTextEdit *Memo1;
    QMenu *PopupMenu1;
    QAction *Delete1;

    FileDialog SaveDialog1;
    FileDialog OpenDialog1;
    FileDialog SaveDialog2;

    // The picture the map image shows, kept between repaints.
    QImage mapPicture;

    // Unsaved maps offered back, in the free band between the map and its buttons.
    NoticeBar *notice;
    UnsavedWork *unsaved;

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createPopupMenu();
    void showMapPicture();
    // Reads the map file at `path`, as the file `origin` of the user's (empty for a sample).
    void readMap(const QString &path, const QString &origin);
    void showMap(const MapData &read);
    void resetMap();
    void keepUnsavedMaps();
    MapData mapData() const;
    std::array<QCheckBox *, 5> legendBoxes() const;
    std::array<ByteLineEdit *, 5> legendEdits() const;
    MapExport mapExport() const;

    TextMap &map;
    const PageProject &page;
    const QString &programFolder;
    const PageLocation &pageLocation;
    // The map's page is a file of its own, never the page's: it starts where the page lies.
    FileDialog pageSaveDialog;
    Desktop &desktop;
    QColor penColour = Qt::black;
};
