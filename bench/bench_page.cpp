// Benchmarks of the page core: writing a full page, saving and opening a project.
// Run: build/bench/bench_page (Qt Test's benchmark options apply, e.g. -callgrind).

#include "largest_page.h"

#include "page/body_text.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/project_file.h"
#include "text/sjis.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Every slot used with a Japanese text, every option on, every part once.
PageProject fullPage()
{
    const QByteArray word = sjis::fromUnicode(QStringLiteral("いらっしゃいませ"));
    PageProject page;
    page.Title = word;
    page.ColorSupport = ToggleOn;
    page.BodyUsed = ToggleOn;
    page.SeparatorStyle = 2;
    for (ImageSlot &image : page.Images)
        image = {"top.gif", "index.html", ToggleOn, ToggleOn, ToggleOff};
    for (TextSlot &text : page.Texts)
        text = {word, ToggleOn};
    for (LinkSlot &link : page.Links)
        link = {word, "menu.html", ToggleOn, ToggleOff, ToggleOn, ToggleOn};
    for (DirectSlot &direct : page.Directs)
        direct = {"<MARQUEE>" + word + "</MARQUEE>", ToggleOn};
    return page;
}

QByteArray bodyFile(int lineCount)
{
    TextWriter writer;
    for (int k = 0; k < lineCount; ++k)
        writer.writeLine(k % 5 == 0 ? QByteArray()
                                    : sjis::fromUnicode(QStringLiteral("　本文の行です。"))
                                          + QByteArray::number(k));
    return writer.bytes();
}

} // namespace

class PageBenchmark : public QObject {
    Q_OBJECT

private slots:
    void generatePageWithBody()
    {
        QTemporaryDir folder;
        const QString body = folder.filePath("body.txt");
        const QString out = folder.filePath("index.html");
        saveFileBytes(body, bodyFile(150));
        const PageProject page = fullPage();
        const Pattern pattern = everyPart();
        QBENCHMARK {
            const QList<QByteArray> lines = ReadBodyLines(body);
            saveFileBytes(out, GeneratePageBytes(page, pattern, pattern.PartCount, lines));
        }
    }

    void generatePageInMemory()
    {
        const QList<QByteArray> lines = MarkBodyLines(bodyFile(150));
        const PageProject page = fullPage();
        const Pattern pattern = everyPart();
        QBENCHMARK {
            GeneratePageBytes(page, pattern, pattern.PartCount, lines);
        }
    }

    void saveProject()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("page.mpk");
        const PageProject page = fullPage();
        QBENCHMARK {
            saveFileBytes(path, WriteProject(page));
        }
    }

    void openProject()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("page.mpk");
        saveFileBytes(path, WriteProject(fullPage()));
        PageProject page;
        QBENCHMARK {
            page = *ReadProject(readFileBytes(path), page);
        }
    }
};

QTEST_GUILESS_MAIN(PageBenchmark)
#include "bench_page.moc"
