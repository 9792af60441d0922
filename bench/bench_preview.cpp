// The phone preview of the largest page: made again and drawn, as at every keystroke while
// the preview is open. It must keep up with typing: well under 16 ms.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_preview (Qt Test's benchmark options apply).

#include "largest_page.h"
#include "check/page_check.h"
#include "check/phone_preview.h"
#include "generator/page_generator.h"
#include "model/fonts.h"
#include "model/handsets.h"

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
