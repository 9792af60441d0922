#include "ui/page_check_panel.h"

#include "model/page_project.h"
#include "model/pattern.h"
#include "model/program_settings.h"
#include "ui/page_check_window.h"
#include "ui/phone_preview_window.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"
#include "widgets/size_meter.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

using Item = LineOrigin::Item;

// The count of what the check found, worst kind first: "エラー 1・警告 2".
QString countText(const QList<Finding> &findings)
{
    QStringList counts;
    for (const Severity severity : {Severity::Error, Severity::Warning}) {
        const auto count = std::count_if(findings.begin(), findings.end(),
                                         [severity](const Finding &f) { return f.severity == severity; });
        if (count > 0)
            counts << QStringLiteral("%1 %2").arg(SeverityText(severity)).arg(count);
    }
    return counts.isEmpty() ? QStringLiteral("問題なし") : counts.join(QStringLiteral("・"));
}

} // namespace

PageCheckPanel::PageCheckPanel(QWidget &window, const PageProject &page, WorkingState &state,
                               const Pattern &pattern, const QString &programFolder,
                               Desktop &desktop, Openers openers)
    : QObject(&window),
      window(window),
      page(page),
      state(state),
      pattern(pattern),
      programFolder(programFolder),
      desktop(desktop),
      openers(std::move(openers))
{
    handsetLabel = addLabel(&window, 40, 206, QStringLiteral("機種"));
    handsetBox = new QComboBox(&window);
    handsetBox->setGeometry(72, 202, 104, 22);
    meter = new SizeMeter(&window);
    meter->setGeometry(184, 202, 132, 22);
    findingCount = addToolButton(&window, {322, 201, 150, 24}, {},
                                 QStringLiteral("クリックすると、ページの確認を開きます。"));
    meter->setToolTip(findingCount->toolTip());
    previewButton = addButton(&window, {356, 93, 100, 25}, QStringLiteral("ケータイ表示"));
    previewButton->setToolTip(QStringLiteral("ページを、選んだ機種で見たように表示します。"));
    connect(previewButton, &QPushButton::clicked, this, &PageCheckPanel::showPreview);
    connect(handsetBox, &QComboBox::activated, this,
            [this](int index) { chooseHandset(handsetBox->itemText(index)); });
    connect(meter, &SizeMeter::clicked, this, &PageCheckPanel::showFindings);
    connect(findingCount, &QToolButton::clicked, this, &PageCheckPanel::showFindings);
    window.installEventFilter(this);
}

// A box of every series, then every model, showing the handset in force; typing the first
// letters of a name in the open list finds it.
void PageCheckPanel::showHandsetIn(QComboBox *box) const
{
    box->setToolTip(QStringLiteral("ページを表示する携帯の機種かシリーズ（503i、SH505i など）"));
    QStringList names;
    for (const Handset &handset : Handsets())
        names << handset.name;
    box->addItems(names);
    box->setCurrentText(chosenHandset.name);
}

// The meter and the preview share the one choice.
void PageCheckPanel::chooseHandset(const QString &name)
{
    const std::optional<Handset> handset = FindHandset(name);
    if (handset && handset->name != chosenHandset.name) {
        chosenHandset = *handset;
        desktop.showWarningOnce(SaveHandsetName(programFolder, handset->name));
        update();
    }
    handsetBox->setCurrentText(chosenHandset.name);
    if (previewWindow)
        previewWindow->handsetBox->setCurrentText(chosenHandset.name);
}

// The tables of handset facts are read, and the page first checked, only after the main
// window has painted itself: the window comes up that much sooner.
bool PageCheckPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window && event->type() == QEvent::Paint) {
        window.removeEventFilter(this);
        QTimer::singleShot(0, this, &PageCheckPanel::update);
    }
    return false;
}

void PageCheckPanel::update()
{
    if (chosenHandset.name.isEmpty()) {
        const SavedSetting<QString> saved = SavedHandsetName(programFolder);
        chosenHandset = *FindHandset(saved.value);
        showHandsetIn(handsetBox);
        desktop.showWarningOnce(saved.problem);
    }
    const PageNow now = PageAsWrittenNow(page, state, pattern, pattern.PartCount, files);
    pictureFolder = now.pictureFolder;
    lastResult = CheckPage({now.lines, page, pattern, pattern.PartCount, now.body,
                            pictureFolder.isEmpty() ? ImageLookup()
                                                    : ImagesInFolder(pictureFolder, files),
                            chosenHandset});
    lastLines = now.lines;
    if (previewWindow && previewWindow->isVisible())
        previewWindow->showPage(lastLines, chosenHandset, pictureFolder);
    meter->setMeasure(lastResult.totalBytes(), lastResult.limitBytes,
                      QStringLiteral("%1 / %2 KB")
                          .arg(double(lastResult.totalBytes()) / 1000.0, 0, 'f', 1)
                          .arg(chosenHandset.pageLimitKb));
    findingCount->setText(countText(lastResult.findings));
    setTextColour(findingCount, lastResult.hasErrors() ? QColor(200, 0, 0) : QColor(0, 0, 160));
}

void PageCheckPanel::showPreview()
{
    if (chosenHandset.name.isEmpty())
        update();
    if (!previewWindow) {
        previewWindow = new PhonePreviewWindow([this](const QString &name) { chooseHandset(name); },
                                               &window);
        showHandsetIn(previewWindow->handsetBox);
    }
    previewWindow->showPage(lastLines, chosenHandset, pictureFolder);
    previewWindow->show();
    previewWindow->raise();
    previewWindow->activateWindow();
}

void PageCheckPanel::showFindings()
{
    if (chosenHandset.name.isEmpty())
        update();
    if (!findingsWindow)
        findingsWindow = new PageCheckWindow(
            [this](const Finding &finding) { guarded(desktop, [&] { open(finding); }); },
            [this] { showPreview(); }, &window);
    findingsWindow->showResult(lastResult, chosenHandset);
    findingsWindow->exec();
}

// The slot a finding names becomes current, so the item buttons show it and the editor opens
// on it.
void PageCheckPanel::open(const Finding &finding)
{
    if (finding.wholePage)
        return;
    const int n = finding.origin.number;
    switch (finding.origin.item) {
    case Item::Title:
        openers.title();
        return;
    case Item::Colours:
    case Item::Separator:
        openers.pageSettings();
        break;
    case Item::Body:
        openers.item(ItemKind::Body);
        break;
    case Item::Image:
        state.CurrentImage = std::uint8_t(n);
        openers.item(ItemKind::Image);
        break;
    case Item::Text:
        state.CurrentText = std::uint8_t(n);
        openers.item(ItemKind::Text);
        break;
    case Item::Link:
        state.CurrentLink = std::uint8_t(n);
        openers.item(ItemKind::Link);
        break;
    case Item::Direct:
        state.CurrentDirect = std::uint8_t(n);
        openers.item(ItemKind::Direct);
        break;
    case Item::Comment:
    case Item::End:
        return;
    }
    update();
}
