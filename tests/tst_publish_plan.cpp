// The plan of a publish: which files go to the server, which it holds already, and which
// cannot go (missing, or named as a server or phone does not take), the pictures before the
// page that names them.

#include "publish/publish_plan.h"
#include "support/test_files.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

namespace {

using State = PlannedFile::State;
using Published = QHash<QString, PublishedFile>;

PublishedFile publishedAs(const QByteArray &bytes)
{
    return {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

const QByteArray page = "<HTML><IMG SRC=\"logo.gif\"></HTML>";
const QByteArray logo = "GIF89a logo";
const QByteArray photo = "JPEG photo";

QList<PublishSource> site(const QString &logoName = QStringLiteral("logo.gif"))
{
    return {{QStringLiteral("index.html"), {}, page, {}},
            {logoName, {{LineOrigin::Item::Image, 1}}, logo, {}},
            {QStringLiteral("img/photo.jpg"), {{LineOrigin::Item::Direct, 2}}, photo, {}}};
}

QString said(const PublishPlan &plan)
{
    QStringList files;
    for (const PlannedFile &file : plan.files)
        files << QStringLiteral("%1 %2").arg(file.name).arg(
            file.state == State::Send ? "send" : file.state == State::Same ? "same"
                                             : file.state == State::Missing ? "missing" : "refused");
    return files.join(QStringLiteral(", "));
}

} // namespace

class PublishPlanTest : public QObject {
    Q_OBJECT

private slots:
    void plan_data();
    void plan();
    void publishableNames_data();
    void publishableNames();
    void nameOfAnotherCaseIsSaid();
};

void PublishPlanTest::plan_data()
{
    QTest::addColumn<QList<PublishSource>>("sources");
    QTest::addColumn<Published>("published");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("problem");
    const Published all{{QStringLiteral("index.html"), publishedAs(page)},
                                            {QStringLiteral("logo.gif"), publishedAs(logo)},
                                            {QStringLiteral("img/photo.jpg"), publishedAs(photo)}};
    QTest::newRow("first publish") << site() << Published()
                                   << "logo.gif send, img/photo.jpg send, index.html send" << "";
    QTest::newRow("nothing changed") << site() << all
                                     << "logo.gif same, img/photo.jpg same, index.html same" << "";
    Published oldPage = all;
    oldPage[QStringLiteral("index.html")] = publishedAs("<HTML>older</HTML>");
    QTest::newRow("the page changed") << site() << oldPage
                                      << "logo.gif same, img/photo.jpg same, index.html send" << "";
    // Of the same size, other bytes.
    Published sameSize = all;
    sameSize[QStringLiteral("logo.gif")] = publishedAs("GIF89a LOGO");
    QTest::newRow("a picture changed, same size") << site() << sameSize
                                                  << "logo.gif send, img/photo.jpg same, index.html same" << "";
    QTest::newRow("a picture renamed") << site(QStringLiteral("logo2.gif")) << all
                                       << "logo2.gif send, img/photo.jpg same, index.html same" << "";
    QTest::newRow("a Japanese name") << site(QStringLiteral("ロゴ.gif")) << all
                                     << "ロゴ.gif refused, img/photo.jpg same, index.html same"
                                     << "画像1の「ロゴ.gif」は、サーバーに置けない名前です。";
    QTest::newRow("capitals") << site(QStringLiteral("Logo.GIF")) << all
                              << "Logo.GIF refused, img/photo.jpg same, index.html same"
                              << "画像1の「Logo.GIF」は";
    QList<PublishSource> missing = site();
    missing[2].bytes.reset();
    QTest::newRow("a picture missing") << missing << all
                                       << "logo.gif same, img/photo.jpg missing, index.html same"
                                       << "直接入力2の「img/photo.jpg」のファイルがありません。";
}

void PublishPlanTest::plan()
{
    QFETCH(QList<PublishSource>, sources);
    QFETCH(Published, published);
    QFETCH(QString, expected);
    QFETCH(QString, problem);
    const PublishPlan plan = PlanPublish(sources, published);
    QCOMPARE(said(plan), expected);
    QCOMPARE(plan.ready(), problem.isEmpty());
    qint64 toSend = 0;
    for (const PlannedFile &file : plan.files) {
        if (file.state == State::Send)
            toSend += file.bytes;
        if (!problem.isEmpty() && !file.problem.isEmpty())
            QVERIFY2(file.problem.startsWith(problem), qPrintable(file.problem));
    }
    QCOMPARE(plan.bytesToSend(), toSend);
}

void PublishPlanTest::publishableNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("publishable");
    QTest::newRow("page") << "index.html" << true;
    QTest::newRow("in a folder") << "img/a-1_b.gif" << true;
    QTest::newRow("capital") << "A.gif" << false;
    QTest::newRow("from the top") << "/a.gif" << false;
    QTest::newRow("up a folder") << "../a.gif" << false;
    QTest::newRow("empty part") << "img//a.gif" << false;
    QTest::newRow("blank") << "a b.gif" << false;
    QTest::newRow("full-width") << "ａ.gif" << false;
    QTest::newRow("empty") << "" << false;
}

void PublishPlanTest::publishableNames()
{
    QFETCH(QString, name);
    QFETCH(bool, publishable);
    QCOMPARE(IsPublishableName(name), publishable);
}

// The page names "logo.gif" and the folder holds "Logo.gif": missing on the server, and said.
void PublishPlanTest::nameOfAnotherCaseIsSaid()
{
    QTemporaryDir folder;
    writeBytes(folder.filePath(QStringLiteral("Logo.gif")), logo);
    const QList<PageLine> lines{{"<IMG SRC=\"logo.gif\">", {LineOrigin::Item::Image, 1}}};
    const PublishPlan plan =
        PlanPublish(GatherPublishSources(QStringLiteral("index.html"), page, lines, folder.path()), {});
    QCOMPARE(said(plan), QStringLiteral("logo.gif missing, index.html send"));
    QVERIFY2(plan.files[0].note.contains(QStringLiteral("「Logo.gif」")), qPrintable(plan.files[0].note));
}

QTEST_MAIN(PublishPlanTest)
#include "tst_publish_plan.moc"
