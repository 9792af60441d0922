// Each kind of picture a page shows (a photo, a screenshot with text, a flat logo with
// transparency, a line drawing, a gradient) made for each kind of screen: the format chosen, a
// file that the picture tools' lossless optimisers (gifsicle -O3, jpegtran -optimize) shrink by
// less than 5 %, and a likeness to the source at least that of ImageMagick's file of the same
// target within as many bytes, as measured into the reference table.

#include "imode/handsets.h"
#include "pictures/picture_fitting.h"
#include "pictures/picture_quality.h"
#include "support/test_files.h"

#include <QProcess>
#include <QTest>

namespace {

QString samples()
{
    return qEnvironmentVariable("SAMPLE_PICTURES");
}

// What the tool makes of `bytes` without loss; empty when it cannot be run.
QByteArray optimised(const QByteArray &bytes, const QByteArray &format)
{
    QProcess tool;
    if (format == "gif")
        tool.start(QStringLiteral("gifsicle"), {QStringLiteral("-O3")});
    else
        tool.start(QStringLiteral("jpegtran"), {QStringLiteral("-copy"), QStringLiteral("none"),
                                               QStringLiteral("-optimize")});
    if (!tool.waitForStarted())
        return {};
    tool.write(bytes);
    tool.closeWriteChannel();
    tool.waitForFinished();
    return tool.exitCode() == 0 ? tool.readAllStandardOutput() : QByteArray();
}

} // namespace

class PictureKindsTest : public QObject {
    Q_OBJECT

private slots:
    void asGoodAsThePictureTools_data();
    void asGoodAsThePictureTools();
};

void PictureKindsTest::asGoodAsThePictureTools_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("handset");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<double>("referenceScore");
    QTest::addColumn<qint64>("referenceBytes");
    const QList<QByteArray> lines = readBytes(samples() + QStringLiteral("/reference.tsv")).split('\n');
    int rows = 0;
    for (const QByteArray &line : lines) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split('\t');
        QVERIFY2(fields.size() == 9, line.constData());
        QTest::addRow("%s %s", fields[0].constData(), fields[1].constData())
            << QString::fromLatin1(fields[0]) << QString::fromLatin1(fields[1]) << fields[2].toLongLong()
            << fields[3] << fields[6].toDouble() << fields[7].toLongLong();
        ++rows;
    }
    QCOMPARE(rows, 25); // five kinds of picture on five kinds of screen
}

void PictureKindsTest::asGoodAsThePictureTools()
{
    QFETCH(QString, picture);
    QFETCH(QString, handset);
    QFETCH(qint64, budget);
    QFETCH(QByteArray, format);
    QFETCH(double, referenceScore);
    QFETCH(qint64, referenceBytes);
    const QByteArray source = readBytes(samples() + QLatin1Char('/') + picture);
    QVERIFY(!source.isEmpty());
    const Handset phone = *FindHandset(handset);
    const FittedPicture fitted = FitPicture(source, phone, budget);
    QCOMPARE(fitted.format, format);
    QVERIFY(fitted.bytes.size() <= budget);

    const QByteArray lossless = optimised(fitted.bytes, fitted.format);
    QVERIFY2(!lossless.isEmpty(), "gifsicle and jpegtran are needed (Debian gifsicle, libjpeg-turbo-progs)");
    QVERIFY2(fitted.bytes.size() * 100 <= lossless.size() * 105,
             qPrintable(QStringLiteral("%1 bytes, %2 after the tool").arg(fitted.bytes.size()).arg(lossless.size())));

    const QImage made = QImage::fromData(fitted.bytes);
    QImage before = PictureBeforeFitting(source, phone);
    if (before.size() != made.size())
        before = before.scaled(made.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double score = LumaSimilarity(made, before, phone.colourDepth <= 256 ? Seen::Blurred : Seen::Sharp);
    if (referenceBytes <= fitted.bytes.size()) {
        // The table keeps four decimals.
        QVERIFY2(score >= referenceScore - 0.00005,
                 qPrintable(QStringLiteral("SSIM %1, ImageMagick %2").arg(score).arg(referenceScore)));
    } else {
        // ImageMagick made no file this small; the program's is smaller than its smallest.
        QVERIFY(fitted.bytes.size() < referenceBytes);
    }
}

QTEST_MAIN(PictureKindsTest)
#include "tst_picture_kinds.moc"
