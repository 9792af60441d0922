// The phone preview of the largest page: made again and drawn, as at every keystroke while
// the preview is open. It must keep up with typing: well under 16 ms. Long pages made to be
// hard cost in proportion to their bytes.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_preview (Qt Test's benchmark options apply).

#include "largest_page.h"
#include "check/page_check.h"
#include "drawings/fonts.h"
#include "imode/handsets.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "preview/phone_preview.h"

#include <QTest>

class PreviewBenchmark : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void previewTheLargestPage_data()
    {
        QTest::addColumn<QString>("handset");
        QTest::newRow("505i, 20 KB: the page is cut at its limit") << "505i";
        QTest::newRow("FOMA 900i, 100 KB: nearly all of it") << "900i";
    }

    void previewTheLargestPage()
    {
        QFETCH(QString, handset);
        const PageProject page = largestPage();
        const Pattern pattern = everyPart();
        const QList<PageLine> lines = GeneratePageLines(page, pattern, pattern.PartCount, body());
        const Handset phone = *FindHandset(handset);
        PhonePreview preview;
        preview.setPage(lines, phone, {}); // pictograms drawn once, as after the first update
        // Every update lays the page out afresh, as when a dialog changed an item.
        QList<PageLine> changed = lines;
        int round = 0;
        QBENCHMARK {
            changed.last().text = "</BODY></HTML>" + QByteArray(round++ % 2, ' ');
            preview.setPage(changed, phone, {});
            preview.draw(0, 0);
        }
    }

    // Pages made to be hard: one line of pictograms, thousands of marquees, a paragraph
    // for every four bytes; made and drawn once, then as the whole page.
    void previewALongPage_data()
    {
        QTest::addColumn<QByteArray>("markup");
        QTest::addColumn<QString>("handset");
        QTest::addColumn<bool>("wholePage");
        const QList<std::tuple<const char *, QByteArray, QString>> pages{
            {"9,000 pictograms in a direct input, 505i", QByteArray("\xF8\x9F").repeated(9000), "505i"},
            {"4,500 MARQUEEs, SH2101V", QByteArray("<MARQUEE>ab</MARQUEE>").repeated(4500), "SH2101V"},
            {"23,000 paragraphs, 900i", QByteArray("<P>a").repeated(23000), "900i"}};
        for (const auto &[name, markup, handset] : pages) {
            QTest::addRow("%s: the screen", name) << markup << handset << false;
            QTest::addRow("%s: the whole page", name) << markup << handset << true;
        }
    }

    void previewALongPage()
    {
        QFETCH(QByteArray, markup);
        QFETCH(QString, handset);
        QFETCH(bool, wholePage);
        PageProject page;
        page.Directs[0] = {markup, ToggleOn};
        Pattern pattern;
        pattern.Parts[0] = {DirectPart, 1};
        pattern.PartCount = 1;
        const QList<PageLine> lines = GeneratePageLines(page, pattern, 1, {});
        const Handset phone = *FindHandset(handset);
        QBENCHMARK {
            PhonePreview preview;
            preview.setPage(lines, phone, {});
            preview.draw(0, 0, wholePage ? PhonePreview::Extent::WholePage : PhonePreview::Extent::Screen);
        }
    }

    // A keystroke in the title box: only the title is made again.
    void typeTheTitleOfTheLargestPage()
    {
        const PageProject page = largestPage();
        const Pattern pattern = everyPart();
        QList<PageLine> lines = GeneratePageLines(page, pattern, pattern.PartCount, body());
        const Handset phone = *FindHandset(QStringLiteral("900i"));
        PhonePreview preview;
        preview.setPage(lines, phone, {});
        QByteArray title = "<HTML><HEAD><TITLE>";
        QBENCHMARK {
            title += 'a';
            lines.first().text = title + "</TITLE></HEAD>";
            preview.setPage(lines, phone, {});
            preview.draw(0, 0);
        }
    }
};

QTEST_MAIN(PreviewBenchmark)
#include "bench_preview.moc"
