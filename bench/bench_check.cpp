// Benchmarks of the page check on the largest page: every slot used, a body of 150 lines and
// 100 KB of hand-written markup in the direct inputs. The size meter runs the check at every
// keystroke, so it must stay well under a millisecond.
// Run: build/bench/bench_check (Qt Test's benchmark options apply, e.g. -callgrind).

#include "largest_page.h"
#include "check/page_check.h"
#include "imode/handsets.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"

#include <QTest>

namespace {

// The body as the check meets it: read from its file, in Shift-JIS.
BodyFileReading bodyRead()
{
    return {BodyFileReading::State::Read, {}, sjis::TextEncoding::ShiftJis, 0};
}

} // namespace

class CheckBenchmark : public QObject {
    Q_OBJECT

private slots:
    void checkTheLargestPage()
    {
        const PageProject page = largestPage();
        const Pattern pattern = everyPart();
        const QList<PageLine> lines = GeneratePageLines(page, pattern, pattern.PartCount, body());
        const Handset handset = *FindHandset(QStringLiteral("505i"));
        PageCheckResult result;
        QBENCHMARK {
            result = CheckPage({lines, page, pattern, pattern.PartCount, bodyRead(), {}, handset});
        }
        QVERIFY(result.pageBytes > 100 * 1024);
    }

    // What the meter does at a keystroke: the page made again, then checked.
    void makeAndCheckTheLargestPage()
    {
        const PageProject page = largestPage();
        const Pattern pattern = everyPart();
        const QList<QByteArray> bodyLines = body();
        const Handset handset = *FindHandset(QStringLiteral("505i"));
        QBENCHMARK {
            CheckPage({GeneratePageLines(page, pattern, pattern.PartCount, bodyLines), page,
                       pattern, pattern.PartCount, bodyRead(), {}, handset});
        }
    }
};

QTEST_GUILESS_MAIN(CheckBenchmark)
#include "bench_check.moc"
