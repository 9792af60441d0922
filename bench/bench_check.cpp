// Benchmarks of the page check on the largest page: every slot used, a body of 150 lines and
// 100 KB of hand-written markup in the direct inputs. The size meter runs the check at every
// keystroke, so it must stay well under a millisecond.
// Run: build/bench/bench_check (Qt Test's benchmark options apply, e.g. -callgrind).

#include "check/page_check.h"
#include "generator/page_generator.h"
#include "model/handsets.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "model/sjis.h"

#include <QTest>

namespace {

PageProject largestPage()
{
    const QByteArray word = sjis::fromUnicode(QStringLiteral("いらっしゃいませ"));
    PageProject page;
    page.Title = word;
    page.ColorSupport = ToggleOn;
    page.BodyUsed = ToggleOn;
    page.SeparatorStyle = 2;
    for (ImageSlot &image : page.Images)
        image = {"http://example.jp/top.gif", "index.html", ToggleOn, ToggleOn, ToggleOff};
    for (TextSlot &text : page.Texts)
        text = {"<FONT COLOR=\"red\">" + word + "</FONT>", ToggleOn};
    for (LinkSlot &link : page.Links)
        link = {word, "menu.html", ToggleOn, ToggleOff, ToggleOn, ToggleOn};
    // About 33 KB of everyday markup in each direct input.
    QByteArray markup;
    while (markup.size() < 100 * 1024 / DirectSlotCount)
        markup += "<CENTER><BLINK>" + word + "</BLINK></CENTER><BR><A HREF=\"a.html\">" + word
                  + "&#63647;</A><BR>";
    for (DirectSlot &direct : page.Directs)
        direct = {markup, ToggleOn};
    return page;
}

Pattern everyPart()
{
    Pattern pattern;
    const auto add = [&](int code, int slot) {
        pattern.Parts[static_cast<std::size_t>(pattern.PartCount++)] = {code, slot};
    };
    add(BodyPart, 0);
    for (int n = 1; n <= ImageSlotCount; ++n)
        add(ImagePart, n);
    for (int n = 1; n <= TextSlotCount; ++n)
        add(TextPart, n);
    add(SeparatorPart, 0);
    for (int n = 1; n <= LinkSlotCount; ++n)
        add(LinkPart, n);
    for (int n = 1; n <= DirectSlotCount; ++n)
        add(DirectPart, n);
    return pattern;
}

QList<QByteArray> body()
{
    QList<QByteArray> lines;
    for (int k = 0; k < 150; ++k)
        lines << sjis::fromUnicode(QStringLiteral("本日のおすすめは %1 番です。").arg(k));
    return lines;
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
            result = CheckPage({lines, page, pattern, pattern.PartCount, true, {}, handset});
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
                       pattern, pattern.PartCount, true, {}, handset});
        }
    }
};

QTEST_GUILESS_MAIN(CheckBenchmark)
#include "bench_check.moc"
