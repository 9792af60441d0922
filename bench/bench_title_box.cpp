// A title of 4,000 pictograms put in the title box, as when such a project is opened, and
// read back; the box builds its text in one pass.
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_title_box (Qt Test's benchmark options apply).

#include "drawings/fonts.h"
#include "widgets/pictogram_line_edit.h"

#include <QTest>

class TitleBoxBenchmark : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void fillTheTitleBox_data()
    {
        QTest::addColumn<QByteArray>("title");
        QTest::newRow("500 pictograms by code") << QByteArray("\xF8\x9F").repeated(500);
        QTest::newRow("4,000 pictograms by code") << QByteArray("\xF8\x9F").repeated(4000);
        QTest::newRow("4,000 pictograms by reference") << QByteArray("&#63647;").repeated(4000);
    }

    void fillTheTitleBox()
    {
        QFETCH(QByteArray, title);
        PictogramLineEdit box;
        box.resize(300, 22);
        QBENCHMARK {
            box.setBytes(title);
            QCOMPARE(box.bytes().size(), title.size());
        }
    }
};

QTEST_MAIN(TitleBoxBenchmark)
#include "bench_title_box.moc"
