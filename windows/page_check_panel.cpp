#include "windows/page_check_panel.h"

#include "page/page_project.h"
#include "page/pattern.h"
#include "settings/handset_choice.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"
#include "widgets/handset_box.h"
#include "widgets/size_meter.h"
#include "windows/page_check_window.h"
#include "windows/phone_preview_window.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace {

using Item = LineOrigin::Item;

// The count of what the check found, worst kind first, as the page check's list holds it:
// "エラー 1・警告 2・お知らせ 1". "問題なし" only when the list is empty.
QString countText(const QList<Finding> &findings, const QFontMetrics &metrics, int width)
{
    QStringList counts;
    for (const Severity severity : {Severity::Error, Severity::Warning, Severity::Notice}) {
        const auto count = std::count_if(findings.begin(), findings.end(),
                                         [severity](const Finding &f) { return f.severity == severity; });
        if (count > 0)
            counts << QStringLiteral("%1 %2").arg(SeverityText(severity)).arg(count);
    }
    if (counts.isEmpty())
        return QStringLiteral("問題なし");
    const QString said = counts.join(QStringLiteral("・"));
    // All three kinds fit the band only closer together.
    return metrics.horizontalAdvance(said) <= width ? said : QString(said).remove(QLatin1Char(' '));
}

// Red for errors, the window's blue for warnings, and a quiet grey for notices alone.
QColor countColour(const QList<Finding> &findings)
{
    const auto worst = std::min_element(findings.begin(), findings.end(),
                                        [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
    if (worst == findings.end() || worst->severity == Severity::Warning)
        return QColor(0, 0, 160);
    return worst->severity == Severity::Error ? QColor(200, 0, 0) : QColor(110, 110, 110);
}

// "3.2 / 10 KB"; with the pictures that could not be counted, "1.0 KB＋画像2枚未確認".
QString meterText(const PageCheckResult &result)
{
    const SizeTexts said = SizeAgainstLimit(result.totalBytes(), result.limitBytes);
    if (result.imagesNotCounted > 0)
        return QStringLiteral("%1 %2＋画像%3枚未確認").arg(said.size, said.unit).arg(result.imagesNotCounted);
    return QStringLiteral("%1 / %2 %3").arg(said.size, said.limit, said.unit);
}

} // namespace

PageCheckPanel::PageCheckPanel(QWidget &window, const QRect &band, const PageProject &page,
                               const PageLocation &location, WorkingState &state,
                               const Pattern &pattern,
                               HandsetChoice &handsetChoice, const QString &programFolder,
                               Desktop &desktop, Openers openers)
    : QWidget(&window),
      window(window),
      page(page),
      location(location),
      state(state),
      pattern(pattern),
      handsetChoice(handsetChoice),
      programFolder(programFolder),
      desktop(desktop),
      openers(std::move(openers))
{
    setGeometry(band);
    handsetLabel = addLabel(this, 0, 5, QStringLiteral("機種"));
    handsetBox = new HandsetBox(handsetChoice, desktop, this);
    handsetBox->setGeometry(32, 1, 104, 22);
    // A name typed that is no handset is said over the meter and the count, until mended.
    handsetBox->setNotePlace({144, 1, 288, 22});
    meter = new SizeMeter(this);
    meter->setGeometry(144, 1, 132, 22);
    findingCount = addToolButton(this, {282, 0, 150, 24}, {},
                                 QStringLiteral("クリックすると、ページの確認を開きます。"));
    meter->setToolTip(findingCount->toolTip());
    // The box of the handsets stands for the band in the window's order of focus.
    setFocusProxy(handsetBox);
    connect(meter, &SizeMeter::clicked, this, &PageCheckPanel::showFindings);
    connect(findingCount, &QToolButton::clicked, this, &PageCheckPanel::showFindings);
    // The meter, the count and the preview follow the handset, wherever it was chosen.
    connect(&handsetChoice, &HandsetChoice::changed, this, &PageCheckPanel::checkAgain);
    window.installEventFilter(this);
}

// The tables of handset facts are read, and the page first checked, only after the main
// window has painted itself: the window comes up that much sooner.
bool PageCheckPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window && event->type() == QEvent::Paint) {
        window.removeEventFilter(this);
        QTimer::singleShot(0, this, &PageCheckPanel::checkAgain);
    }
    return false;
}

void PageCheckPanel::checkAgain()
{
    if (!checked) {
        checked = true;
        handsetBox->showChoice();
        desktop.showWarningOnce(handsetChoice.readProblem());
    }
    const Handset &handset = handsetChoice.handset();
    const PageNow now = PageAsWrittenNow(page, location, pattern, pattern.PartCount, files);
    pictureFolder = now.pictureFolder;
    lastResult = CheckPage({now.lines, page, pattern, pattern.PartCount, now.body,
                            pictureFolder.isEmpty() ? ImageLookup()
                                                    : ImagesInFolder(pictureFolder, files),
                            handset});
    lastLines = now.lines;
    if (previewWindow && previewWindow->isVisible())
        previewWindow->showPage(lastLines, handset, pictureFolder);
    meter->setMeasure(lastResult.totalBytes(), lastResult.limitBytes, meterText(lastResult));
    findingCount->setText(countText(lastResult.findings, findingCount->fontMetrics(), findingCount->width() - 8));
    setTextColour(findingCount, countColour(lastResult.findings));
}

void PageCheckPanel::showPreview()
{
    if (!checked)
        checkAgain();
    if (!previewWindow)
        previewWindow =
            new PhonePreviewWindow(handsetChoice, programFolder, desktop, openers.qrSubject, &window);
    previewWindow->showPage(lastLines, handsetChoice.handset(), pictureFolder);
    previewWindow->show();
    previewWindow->raise();
    previewWindow->activateWindow();
}

void PageCheckPanel::showFindings()
{
    if (!checked)
        checkAgain();
    if (!findingsWindow)
        findingsWindow = new PageCheckWindow(
            [this](const Finding &finding) { guarded(desktop, [&] { open(finding); }); },
            [this] { showPreview(); },
            [this](const Finding &finding) {
                if (openers.fitPicture)
                    guarded(desktop, [&] { openers.fitPicture(finding.origin, finding.subject); });
            },
            programFolder, desktop, &window);
    findingsWindow->showResult(lastResult, handsetChoice.handset());
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
    checkAgain();
}
