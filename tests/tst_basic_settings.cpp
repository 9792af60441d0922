#include "model/page_project.h"
#include "support/test_files.h"
#include "ui/basic_settings.h"
#include "ui/color_code.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// The colour a swatch shows in its middle, as "#RRGGBB".
QString swatchCode(QWidget *swatch)
{
    const QImage image = swatch->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2).name().toUpper();
}

// The colour mix: the scroll bars' positions, then what Shape1 shows.
QString mixOf(TForm2 &dialog)
{
    const QByteArray code = FormatColorCode(dialog.r->value(), dialog.g->value(), dialog.b->value());
    return QString::fromLatin1(code) + ' ' + swatchCode(dialog.Shape1);
}

void setMix(TForm2 &dialog, int red, int green, int blue)
{
    dialog.r->setValue(red);
    dialog.g->setValue(green);
    dialog.b->setValue(blue);
}

const QString defaultsShown = QStringLiteral("#FFFFFF #0000FF #000000 #FFFFFF #0000FF #000000");
const QByteArray defaultsStored = "#FFFFFF #0000FF #000000 2";

// The page-colour side of the dialog: the three edits, then the three swatches.
QString shownColors(TForm2 &dialog)
{
    return QStringList{dialog.Edit1->text(), dialog.Edit2->text(), dialog.Edit3->text(),
                       swatchCode(dialog.Shape2), swatchCode(dialog.Shape3),
                       swatchCode(dialog.Shape4)}.join(' ');
}

QByteArray pageColors(const PageProject &page)
{
    return page.BackgroundColor + ' ' + page.LinkColor + ' ' + page.TextColor + ' '
        + QByteArray::number(page.ColorSupport);
}

} // namespace

class BasicSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void colorCodes_data()
    {
        QTest::addColumn<QByteArray>("text");
        // "red green blue #RRGGBB", the last being FormatColorCode of the three; or the failure
        QTest::addColumn<QString>("result");
        QTest::newRow("black") << QByteArray("#000000") << "0 0 0 #000000";
        QTest::newRow("white") << QByteArray("#FFFFFF") << "255 255 255 #FFFFFF";
        QTest::newRow("letters") << QByteArray("#ABCDEF") << "171 205 239 #ABCDEF";
        QTest::newRow("digit edges") << QByteArray("#0F1080") << "15 16 128 #0F1080";
        QTest::newRow("plain") << QByteArray("#FF8000") << "255 128 0 #FF8000";
        QTest::newRow("other digits") << QByteArray("#345679") << "52 86 121 #345679";
        QTest::newRow("any first character") << QByteArray("X0A1B2C") << "10 27 44 #0A1B2C";
        QTest::newRow("tail ignored") << QByteArray("#FF8000ff zz") << "255 128 0 #FF8000";
        QTest::newRow("space high") << QByteArray("# F8000") << "0 128 0 #008000";
        QTest::newRow("space low") << QByteArray("#F 8000") << "0 128 0 #008000";
        QTest::newRow("spaces beside junk") << QByteArray("#  z  q") << "0 0 0 #000000";
        QTest::newRow("lower case") << QByteArray("#ff8000") << "'f' は整数ではありません";
        QTest::newRow("blue missing") << QByteArray("#FF80") << "'' は整数ではありません";
        QTest::newRow("last digit missing") << QByteArray("#FF800") << "'' は整数ではありません";
        QTest::newRow("empty") << QByteArray() << "'' は整数ではありません";
        QTest::newRow("first failure wins") << QByteArray("#FFGHZZ") << "'G' は整数ではありません";
        QTest::newRow("two-byte character") << sj("#FF0あ") << "'あ' は整数ではありません";
    }

    void colorCodes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, result);
        QString actual;
        const QString message = messageOf([&] {
            const ColorComponents color = ParseColorCode(text);
            actual = QStringLiteral("%1 %2 %3 ").arg(color.red).arg(color.green).arg(color.blue)
                + QString::fromLatin1(FormatColorCode(color.red, color.green, color.blue));
        });
        QCOMPARE(message.isEmpty() ? actual : message, result);
    }

    // The mix starts black, a named colour sets it and it outlives the openings, while the
    // page colours, their edits and swatches stay as they are.
    void namedColorsSetOnlyTheMix_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("color");
        const QStringList rows{"赤 #FF0000",     "青 #0000FF",   "黄 #FFFF00",   "緑 #008000",
                               "黒 #000000",     "グレー #808080", "ライム #00FF00", "水色 #00FFFF",
                               "オリーブ #808000", "茶色 #800000", "紫 #800080"};
        for (int button = 3; button <= 13; ++button) {
            const QStringList row = rows[button - 3].split(' ');
            QTest::addRow("Button%d", button) << button << row[0] << row[1];
        }
    }

    void namedColorsSetOnlyTheMix()
    {
        QFETCH(int, button);
        QFETCH(QString, caption);
        QFETCH(QString, color);
        PageProject page;
        TForm2 d(page);
        QCOMPARE(mixOf(d), QStringLiteral("#000000 #000000"));
        QCOMPARE(d.Shape1->grab().toImage().pixelColor(0, 0), QColor(Qt::black)); // border
        setMix(d, 1, 2, 3);
        d.configure();
        QPushButton *named = QList{d.Button3, d.Button4,  d.Button5,  d.Button6,
                                   d.Button7, d.Button8,  d.Button9,  d.Button10,
                                   d.Button11, d.Button12, d.Button13}[button - 3];
        QCOMPARE(named->text(), caption);
        QTest::mouseClick(named, Qt::LeftButton);
        QCOMPARE(mixOf(d), color + ' ' + color);
        QCOMPARE(shownColors(d), defaultsShown);
        QCOMPARE(pageColors(page), defaultsStored);
        d.Button2Click();
        page.BackgroundColor = "#ABCDEF";
        d.configure();
        QCOMPARE(mixOf(d), color + ' ' + color);
        QCOMPARE(swatchCode(d.Shape2), QStringLiteral("#ABCDEF"));
    }

    void copyReachesThePageOnlyOnCommit_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QByteArray>("stored"); // the three page colours after "決定"
        QTest::newRow("background") << 0 << QByteArray("#C86432 #0000FF #000000");
        QTest::newRow("link") << 1 << QByteArray("#FFFFFF #C86432 #000000");
        QTest::newRow("text") << 2 << QByteArray("#FFFFFF #0000FF #C86432");
    }

    void copyReachesThePageOnlyOnCommit()
    {
        QFETCH(int, target);
        QFETCH(QByteArray, stored);
        PageProject page;
        TForm2 dialog(page);
        QToolButton *copy =
            QList{dialog.SpeedButton1, dialog.SpeedButton2, dialog.SpeedButton3}[target];
        dialog.configure();
        setMix(dialog, 200, 100, 50);
        QTest::mouseClick(copy, Qt::LeftButton);
        QCOMPARE(shownColors(dialog), QString::fromLatin1(stored + ' ' + stored));
        QCOMPARE(pageColors(page), defaultsStored);
        dialog.Button2Click(); // cancelled: the copy is dropped and the next opening refills
        dialog.configure();
        QCOMPARE(shownColors(dialog), defaultsShown);
        QTest::mouseClick(copy, Qt::LeftButton);
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        QCOMPARE(pageColors(page), stored + " 2");
    }

    void nextSeparator_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("opening"); // Label8 after configure(); "old" when kept
        QTest::addColumn<int>("next");
        QTest::addColumn<QString>("nextCaption");
        const QStringList captions{QStringLiteral("\u2015\u2015\u2015\u2015\u2015（標準）"),
                                   "☆☆☆☆☆☆☆☆", "------------", "■■■■■■■■", "■□■□■□■",
                                   "△▽△▽△▽△", "△△△△△△△△", "▽▽▽▽▽▽▽▽", "○○○○○○○○", "□□□□"};
        for (int start = 1; start <= 10; ++start)
            QTest::addRow("%d", start) << start << captions[start - 1] << start % 10 + 1
                                       << captions[start % 10];
        for (int start : {0, 11, 200})
            QTest::addRow("%d", start) << start << "old" << 1 << captions[0];
    }

    void nextSeparator()
    {
        QFETCH(int, start);
        QFETCH(QString, opening);
        QFETCH(int, next);
        QFETCH(QString, nextCaption);
        PageProject page;
        TForm2 dialog(page);
        page.SeparatorStyle = std::uint8_t(start);
        dialog.Label8->setText(QStringLiteral("old"));
        dialog.configure();
        QCOMPARE(dialog.Label8->text(), opening);
        QTest::mouseClick(dialog.Button14, Qt::LeftButton);
        QCOMPARE(int(page.SeparatorStyle), next);
        QCOMPARE(dialog.Label8->text(), nextCaption);
        dialog.Button2Click(); // the change was made at once; cancelling keeps it
        QCOMPARE(int(page.SeparatorStyle), next);
        if (start >= 1 && start <= 10) {
            for (int press = 1; press < 10; ++press)
                dialog.Button14Click();
            QCOMPARE(int(page.SeparatorStyle), start);
            QCOMPARE(dialog.Label8->text(), opening);
        }
    }

    void commitStoresTheTextsShown_data()
    {
        QTest::addColumn<int>("support");
        QTest::addColumn<bool>("click");
        QTest::addColumn<int>("stored");
        QTest::newRow("on cleared") << 1 << true << 2;
        QTest::newRow("off ticked") << 2 << true << 1;
        QTest::newRow("zero shows off and stores 2") << 0 << false << 2;
    }

    void commitStoresTheTextsShown()
    {
        QFETCH(int, support);
        QFETCH(bool, click);
        QFETCH(int, stored);
        PageProject page;
        TForm2 dialog(page);
        page.ColorSupport = Toggle(support);
        page.BackgroundColor = "#12345678A";
        page.LinkColor = "X00FF00";
        page.TextColor = "#000000\x82"; // a cut two-byte character after the colour
        dialog.configure();
        QCOMPARE(dialog.CheckBox1->isChecked(), support == 1);
        QCOMPARE(swatchCode(dialog.Shape2), QStringLiteral("#123456"));
        if (click)
            QTest::mouseClick(dialog.CheckBox1, Qt::LeftButton);
        QSignalSpy storedSignal(&dialog, &TForm2::stored);
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        QCOMPARE(storedSignal.size(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(pageColors(page), "#12345678A X00FF00 #000000\x82 " + QByteArray::number(stored));
    }

    void unreadablePageColorStopsTheOpening()
    {
        PageProject page;
        TForm2 dialog(page);
        page.LinkColor = "#ff8000";
        page.TextColor = "#FF80";
        QCOMPARE(messageOf([&] { dialog.configure(); }), QStringLiteral("'f' は整数ではありません"));
        const QStringList edits{dialog.Edit1->text(), dialog.Edit2->text(), dialog.Edit3->text()};
        QCOMPARE(edits.join(' '), QStringLiteral("#FFFFFF #ff8000 #FF80")); // filled first
        QCOMPARE(pageColors(page), QByteArray("#FFFFFF #ff8000 #FF80 2"));
        page.LinkColor = "#0000FF";
        QCOMPARE(messageOf([&] { dialog.configure(); }), QStringLiteral("'' は整数ではありません"));
    }

    void tabOrder()
    {
        PageProject page;
        TForm2 d(page);
        QList<QWidget *> order{d.CheckBox1};
        for (QWidget *next = d.CheckBox1->nextInFocusChain(); next != d.CheckBox1;
             next = next->nextInFocusChain())
            if (next->focusPolicy() & Qt::TabFocus)
                order.append(next);
        QCOMPARE(order, (QList<QWidget *>{d.CheckBox1, d.r, d.g, d.b, d.Edit1, d.Edit2, d.Edit3,
                                          d.Button3, d.Button4, d.Button5, d.Button6, d.Button7,
                                          d.Button8, d.Button9, d.Button10, d.Button11, d.Button12,
                                          d.Button13, d.Button14, d.Button1, d.Button2}));
    }

    void isModal()
    {
        PageProject page;
        TForm2 dialog(page);
        QWidget *modal = nullptr;
        QTimer::singleShot(0, [&] {
            modal = QApplication::activeModalWidget();
            dialog.Button2Click();
        });
        dialog.exec();
        QCOMPARE(modal, &dialog);
    }
};

QTEST_MAIN(BasicSettingsTest)
#include "tst_basic_settings.moc"
