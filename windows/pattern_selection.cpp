#include "windows/pattern_selection.h"

#include "drawings/fonts.h"
#include "drawings/pattern_preview.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "text/sjis.h"
#include "widgets/controls.h"
#include "widgets/error_guard.h"
#include "windows/preview_box.h"

#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>

TForm4::TForm4(PageProject &page, const PatternCatalogue &catalogue, Pattern &pattern,
               const QString &programFolder, const StripPictures &strips, Desktop &desktop,
               QWidget *parent)
    : FixedDialog(parent, QStringLiteral("型選択"), {390, 435}),
      page(page),
      catalogue(catalogue),
      pattern(pattern),
      programFolder(programFolder),
      strips(strips),
      desktop(desktop)
{

    const auto button = [this](int top, const QString &caption) {
        return addButton(this, {8, top, 75, 25}, caption);
    };
    Label1 = addLabel(this, 8, 8, QStringLiteral("現在"), Qt::blue, 15);
    Label2 = addLabel(this, 56, 8, {}, Qt::blue, 15);
    Label3 = addLabel(this, 64, 32, QStringLiteral("のパターンがあります"), Qt::blue, 15);
    Label7 = addLabel(this, 112, 88, {}, Qt::blue, 16);
    Button1 = button(64, QStringLiteral("次へ"));
    Button2 = button(96, QStringLiteral("戻る"));
    Label4 = addLabel(this, 16, 152, QStringLiteral("ID"), {}, 15);
    Label5 = addLabel(this, 48, 152, {}, {}, 15);
    Label6 = addLabel(this, 16, 184, QStringLiteral("コメント"));
    // The comment wraps in the room left of the preview.
    Label6->setWordWrap(true);
    Label6->setGeometry(16, 184, 184, 160);
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1 = addPreviewBox(this, {208, 0, 177, 433}, 400, Image1);
    Button3 = button(352, QStringLiteral("決定"));
    Button4 = button(392, QStringLiteral("キャンセル"));

    connectGuarded<TForm4>(this, desktop,
                           {{Button1, &TForm4::Button1Click},
                            {Button2, &TForm4::Button2Click},
                            {Button3, &TForm4::Button3Click},
                            {Button4, &TForm4::Button4Click}});
}

void TForm4::configure()
{
    savedPattern = pattern;
    const int count = catalogue.PatternCount;
    Label2->setNum(count);
    Label2->adjustSize();
    // Browsing stays within the catalogue: a pattern number outside it (from a project file)
    // starts at pattern 1, shown as such, and going back restores the number all the same.
    const bool inCatalogue = page.PatternNumber >= 1 && page.PatternNumber <= count;
    BrowseIndex = inCatalogue ? static_cast<std::uint8_t>(page.PatternNumber) : 1;
    SavedPatternNumber = page.PatternNumber;
    Label7->setText(QStringLiteral("%1/%2").arg(inCatalogue || count == 0 ? page.PatternNumber
                                                                           : BrowseIndex)
                        .arg(count));
    Label7->adjustSize();
    Label5->setNum(BrowseIndex);
    Label5->adjustSize();
    Button1->setEnabled(count > 0);
    Button2->setEnabled(count > 0);
    loadAndShow(inCatalogue || count == 0 ? page.PatternNumber : BrowseIndex);
    Label6->setText(sjis::toUnicode(pattern.Comment));
    PatternConfirmed = 2;
}

void TForm4::loadAndShow(std::int32_t number)
{
    LoadPattern(number, catalogue, programFolder, pattern, page.PatternNumber);
    showPreview(Image1, DrawPatternPreview(pattern, strips));
}

void TForm4::browse(int step)
{
    const int count = catalogue.PatternCount;
    if (count < 1)
        return;
    BrowseIndex = static_cast<std::uint8_t>((BrowseIndex - 1 + step + count) % count + 1);
    Label7->setText(QStringLiteral("%1/%2").arg(BrowseIndex).arg(count));
    Label7->adjustSize();
    loadAndShow(BrowseIndex);
    Label5->setNum(BrowseIndex);
    Label5->adjustSize();
    Label6->setText(sjis::toUnicode(pattern.Comment));
}

void TForm4::Button1Click()
{
    browse(1);
}

void TForm4::Button2Click()
{
    browse(-1);
}

void TForm4::loadForThePage(std::int32_t number)
{
    page.PatternNumber = number;
    guarded(desktop, [this, number] {
        LoadPattern(number, catalogue, programFolder, pattern, page.PatternNumber);
    });
    emit pagePatternChanged();
}

// Going back loads the page's pattern again; when it has no file (a number from a project that
// the catalogue does not list), the parts the page had when the dialog opened come back.
void TForm4::restorePagePattern()
{
    page.PatternNumber = SavedPatternNumber;
    bool loaded = false;
    guarded(desktop, [this, &loaded] {
        const auto restoreOnFailure = qScopeGuard([this, &loaded] {
            if (!loaded)
                pattern = savedPattern;
        });
        loaded = LoadPattern(SavedPatternNumber, catalogue, programFolder, pattern,
                             page.PatternNumber);
    });
    emit pagePatternChanged();
}

void TForm4::Button3Click()
{
    loadForThePage(BrowseIndex);
    PatternConfirmed = 1;
    accept();
}

void TForm4::Button4Click()
{
    reject();
}

void TForm4::done(int result)
{
    if (PatternConfirmed != 1)
        restorePagePattern();
    QDialog::done(result);
}
