#pragma once

#include "drawings/strip_pictures.h"
#include "page/pattern.h"

#include "widgets/fixed_dialog.h"

#include <cstdint>

class QLabel;
class QPushButton;
class QScrollArea;

struct PageProject;
struct PatternCatalogue;
class Desktop;

// Browsing the catalogue's patterns one at a time: adopt the one shown, or go back to the
// page's pattern. Each pattern browsed becomes the current pattern while the dialog is open.
class TForm4 : public FixedDialog {
    Q_OBJECT

public:
    TForm4(PageProject &page, const PatternCatalogue &catalogue, Pattern &pattern,
           const QString &programFolder, const StripPictures &strips, Desktop &desktop,
           QWidget *parent = nullptr);

    // The opening: shows the page's pattern and remembers it for going back.
    void configure();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label7;
    QPushButton *Button1;
    QPushButton *Button2;
    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    QScrollArea *ScrollBox1;
    QLabel *Image1;
    QPushButton *Button3;
    QPushButton *Button4;

    std::uint8_t BrowseIndex = 1;
    std::int32_t SavedPatternNumber = 1;
    std::uint8_t PatternConfirmed = 2;

signals:
    // The page's pattern was adopted or restored: the main window shows it again.
    void pagePatternChanged();

protected:
    // Runs however the dialog closes: unless a pattern was adopted, the saved one comes back.
    void done(int result) override;

private:
    void browse(int step);
    void loadAndShow(std::int32_t number);
    void loadForThePage(std::int32_t number);
    void restorePagePattern();

    PageProject &page;
    const PatternCatalogue &catalogue;
    Pattern &pattern;
    const QString &programFolder;
    const StripPictures &strips;
    Desktop &desktop;
    // The page's parts when the dialog opened, for going back to them.
    Pattern savedPattern;
};
