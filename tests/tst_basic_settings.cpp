#include "page/color_code.h"
#include "page/page_project.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "windows/basic_settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
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
    // Failures met while a dialog opens are in unreadablePageColorStopsTheOpening, a colour
    // text longer than a code in commitStoresTheTextsShown.
    void colorCodes_data()
    {
        QTest::addColumn<QByteArray>("text");
        // "red green blue #RRGGBB", the last being FormatColorCode of the three; or the failure
        QTest::addColumn<QString>("result");
        QTest::newRow("black") << QByteArray("#000000") << "0 0 0 #000000";
        QTest::newRow("white") << QByteArray("#FFFFFF") << "255 255 255 #FFFFFF";
        QTest::newRow("letters") << QByteArray("#ABCDEF") << "171 205 239 #ABCDEF";
        QTest::newRow("digit edges") << QByteArray("#0F1080") << "15 16 128 #0F1080";
        QTest::newRow("any first character") << QByteArray("X0A1B2C") << "10 27 44 #0A1B2C";
        QTest::newRow("space high") << QByteArray("# F8000") << "0 128 0 #008000";
        QTest::newRow("space low") << QByteArray("#F 8000") << "0 128 0 #008000";
        QTest::newRow("spaces beside junk") << QByteArray("#  z  q") << "0 0 0 #000000";
        QTest::newRow("last digit missing") << QByteArray("#FF800") << "'' は整数ではありません";
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
    void namedColorsSetOnlyTheMix()
    {
        PageProject page;
        TForm2 d(page, desktop);
        QCOMPARE(mixOf(d), QStringLiteral("#000000 #000000"));
        QCOMPARE(d.Shape1->grab().toImage().pixelColor(0, 0), QColor(Qt::black)); // border
        d.configure();
        const QList<QPair<QPushButton *, QString>> named{
            {d.Button3, "赤 #FF0000"},     {d.Button4, "青 #0000FF"},   {d.Button5, "黄 #FFFF00"},
            {d.Button6, "緑 #008000"},     {d.Button7, "黒 #000000"},   {d.Button8, "グレー #808080"},
            {d.Button9, "ライム #00FF00"}, {d.Button10, "水色 #00FFFF"},
            {d.Button11, "オリーブ #808000"}, {d.Button12, "茶色 #800000"}, {d.Button13, "紫 #800080"}};
        for (const auto &[button, captionAndColor] : named) {
            const QString color = captionAndColor.section(' ', 1);
            setMix(d, 1, 2, 3);
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(button->text() + ' ' + mixOf(d), captionAndColor + ' ' + color);
        }
        QCOMPARE(shownColors(d), defaultsShown);
        QCOMPARE(pageColors(page), defaultsStored);
        d.Button2Click();
        page.BackgroundColor = "#ABCDEF";
        d.configure();
        QCOMPARE(mixOf(d), QStringLiteral("#800080 #800080"));
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
        TForm2 dialog(page, desktop);
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

    // "次へ" steps through the ten separators and round, changing the page at once. A number
    // outside them, which only a hand-edited project holds, keeps the caption and starts at 1.
    void nextSeparator()
    {
        const QStringList captions{QStringLiteral("\u2015\u2015\u2015\u2015\u2015（標準）"),
                                   "☆☆☆☆☆☆☆☆", "------------", "■■■■■■■■", "■□■□■□■",
                                   "△▽△▽△▽△", "△△△△△△△△", "▽▽▽▽▽▽▽▽", "○○○○○○○○", "□□□□"};
        PageProject page;
        TForm2 dialog(page, desktop);
        page.SeparatorStyle = 5;
        dialog.configure();
        QCOMPARE(dialog.Label8->text(), captions[4]);
        for (int next : {6, 7, 8, 9, 10, 1, 2, 3, 4, 5}) {
            QTest::mouseClick(dialog.Button14, Qt::LeftButton);
            QCOMPARE(int(page.SeparatorStyle), next);
            QCOMPARE(dialog.Label8->text(), captions[next - 1]);
        }
        dialog.Button2Click(); // cancelling keeps the change
        QCOMPARE(int(page.SeparatorStyle), 5);
        for (int outside : {0, 11, 200}) {
            const QString before = dialog.Label8->text();
            page.SeparatorStyle = std::uint8_t(outside);
            dialog.configure();
            QCOMPARE(dialog.Label8->text(), before);
            QTest::mouseClick(dialog.Button14, Qt::LeftButton);
            QCOMPARE(int(page.SeparatorStyle), 1);
            QCOMPARE(dialog.Label8->text(), captions[0]);
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
        TForm2 dialog(page, desktop);
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
        TForm2 dialog(page, desktop);
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
        TForm2 d(page, desktop);
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

    // The arrow keys move the mix the usual way: → and ↓ raise it, ← and ↑ lower it.
    void mixArrowKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("value");
        QTest::newRow("→") << int(Qt::Key_Right) << 101;
        QTest::newRow("↓") << int(Qt::Key_Down) << 101;
        QTest::newRow("←") << int(Qt::Key_Left) << 99;
        QTest::newRow("↑") << int(Qt::Key_Up) << 99;
        QTest::newRow("End") << int(Qt::Key_End) << 255;
    }

    void mixArrowKeys()
    {
        QFETCH(int, key);
        QFETCH(int, value);
        PageProject page;
        TForm2 dialog(page, desktop);
        for (QScrollBar *bar : {dialog.r, dialog.g, dialog.b}) {
            bar->setValue(100);
            QTest::keyClick(bar, Qt::Key(key));
            QCOMPARE(bar->value(), value);
        }
        QCOMPARE(swatchCode(dialog.Shape1), QString::fromLatin1(FormatColorCode(value, value, value)));
    }

    // Centred on the screen, not on the window that opened it, at every opening.
    void centredOnTheScreenEachTime()
    {
        QWidget mainWindow;
        mainWindow.setGeometry(0, 0, 200, 100);
        mainWindow.show();
        PageProject page;
        TForm2 dialog(page, desktop, &mainWindow);
        const QPoint centre = mainWindow.screen()->availableGeometry().center();
        for (int opening = 0; opening < 2; ++opening) {
            dialog.show();
            QVERIFY((dialog.geometry().center() - centre).manhattanLength() <= 2);
            dialog.move(10, 10);
            dialog.hide();
        }
    }

private:
    RecordingDesktop desktop;
};

QTEST_MAIN(BasicSettingsTest)
#include "tst_basic_settings.moc"
