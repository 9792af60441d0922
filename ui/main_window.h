#pragma once

#include "model/strip_pictures.h"
#include "ui/file_dialog.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

struct PageProject;
struct WorkingState;
struct PatternCatalogue;
struct Pattern;
struct GeneratorState;
class Desktop;

// The main window: the toolbar, the page title box and the pattern preview.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    TForm1(PageProject &page, WorkingState &state, PatternCatalogue &catalogue, Pattern &pattern,
           GeneratorState &generator, const QString &programFolder, Desktop &desktop,
           QWidget *parent = nullptr);

    // Start-up: the background picture, the pattern catalogue and the page defaults. Each step
    // that fails shows its message and the later steps still run, so the page always ends
    // with its defaults.
    void FormCreate();

    // "新規作成": every field to its default, pattern 1 loaded and shown, the title emptied.
    void ResetPage();

    // Makes pattern `number` current and shows its preview in Image3.
    void loadPatternAndShow(int number);
    void showPatternPreview();

    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();

    QLabel *Image2;
    QFrame *Panel2;
    QToolButton *SpeedButton2;
    QToolButton *SpeedButton3;
    QToolButton *SpeedButton4;
    QToolButton *SpeedButton5;
    QLabel *Label1;
    QLineEdit *Edit1;
    QFrame *Panel3;
    QScrollArea *ScrollBox1;
    QLabel *Image3;

    FileDialog SaveDialog1;
    FileDialog OpenDialog1;
    FileDialog SaveDialog2;
    StripPictures ImageList1;

private:
    void createControls();
    void loadBackgroundPicture();
    QToolButton *addToolButton(int left, int width, const QString &caption, const QString &hint);

    PageProject &page;
    WorkingState &state;
    PatternCatalogue &catalogue;
    Pattern &pattern;
    GeneratorState &generator;
    const QString &programFolder;
    Desktop &desktop;
};
