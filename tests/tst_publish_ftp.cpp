// Sending a page's files to a real FTP server on 127.0.0.1: each file whole under its own name,
// folders made, a file replaced, a wrong password, and a sending stopped part way that leaves
// the server's earlier file whole.

#include "publish/publish_transfer.h"
#include "support/local_servers.h"
#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

PublishDestination toServer(int port, const QString &folder = QStringLiteral("www"))
{
    return {PublishDestination::Protocol::Ftp, QStringLiteral("127.0.0.1"), port,
            QString::fromLatin1(LocalFtpServer::user), folder};
}

QByteArray bigPicture()
{
    QByteArray bytes(2'000'000, '\0');
    for (qsizetype at = 0; at < bytes.size(); ++at)
        bytes[at] = char(at * 7 % 251);
    return bytes;
}

} // namespace

class PublishFtpTest : public QObject {
    Q_OBJECT

private slots:
    void filesArriveWhole();
    void wrongPassword();
    void stoppedPartWayLeavesTheEarlierFile();
    void brokenOffThenSentOn_data();
    void brokenOffThenSentOn();
};

void PublishFtpTest::filesArriveWhole()
{
    QTemporaryDir root;
    LocalFtpServer server(root.path());
    QVERIFY2(server.started(), qPrintable(server.problem));
    const QList<FileToSend> files{{QStringLiteral("img/logo.gif"), "GIF89a logo"},
                                  {QStringLiteral("index.html"), "<HTML>one</HTML>"}};
    const SendingOutcome first = SendFiles(toServer(server.port), {QString::fromLatin1(LocalFtpServer::password), {}}, {}, files);
    QVERIFY2(first.allSent(), qPrintable(first.files.value(first.files.size() - 1).problem));
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/img/logo.gif"))), QByteArray("GIF89a logo"));
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/index.html"))), QByteArray("<HTML>one</HTML>"));
    // The page again, changed: it replaces the one there; no part file is left.
    const SendingOutcome again = SendFiles(toServer(server.port), {QString::fromLatin1(LocalFtpServer::password), {}}, {},
                                           {{QStringLiteral("index.html"), "<HTML>two, longer</HTML>"}});
    QVERIFY(again.allSent());
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/index.html"))), QByteArray("<HTML>two, longer</HTML>"));
    QCOMPARE(QDir(root.filePath(QStringLiteral("www"))).entryList(QDir::Files), QStringList{QStringLiteral("index.html")});
}

void PublishFtpTest::wrongPassword()
{
    QTemporaryDir root;
    LocalFtpServer server(root.path());
    QVERIFY2(server.started(), qPrintable(server.problem));
    const SendingOutcome outcome = SendFiles(toServer(server.port), {QStringLiteral("wrong"), {}}, {},
                                             {{QStringLiteral("index.html"), "<HTML></HTML>"}});
    QVERIFY(!outcome.allSent());
    QCOMPARE(outcome.files.size(), 1);
    QVERIFY2(outcome.files[0].problem.contains(QStringLiteral("パスワード")), qPrintable(outcome.files[0].problem));
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("www/index.html"))));
}

// Stopped while a picture goes up: the server keeps its earlier picture, and the page, which
// would have followed, is not sent.
void PublishFtpTest::stoppedPartWayLeavesTheEarlierFile()
{
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("www")));
    writeBytes(root.filePath(QStringLiteral("www/photo.jpg")), "the earlier photo");
    writeBytes(root.filePath(QStringLiteral("www/index.html")), "the earlier page");
    LocalFtpServer server(root.path());
    QVERIFY2(server.started(), qPrintable(server.problem));
    const SendingOutcome outcome = SendFiles(
        toServer(server.port), {QString::fromLatin1(LocalFtpServer::password), {}}, {},
        {{QStringLiteral("photo.jpg"), bigPicture()}, {QStringLiteral("index.html"), "<HTML>new</HTML>"}},
        [](const SendingProgress &progress) { return progress.fileBytesSent < 100'000; });
    QVERIFY(outcome.stopped);
    QCOMPARE(outcome.files.size(), 1);
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/photo.jpg"))), QByteArray("the earlier photo"));
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/index.html"))), QByteArray("the earlier page"));
}

// A picture broken off part way goes on from where its part ends, or, on a server that does
// not allow that, is sent whole; either way the server's file is the picture, byte for byte.
void PublishFtpTest::brokenOffThenSentOn_data()
{
    QTest::addColumn<bool>("resumeAllowed");
    QTest::newRow("resumed") << true;
    QTest::newRow("refused, sent whole") << false;
}

void PublishFtpTest::brokenOffThenSentOn()
{
    QFETCH(bool, resumeAllowed);
    QTemporaryDir root;
    const LocalFtpServer::Resume resume = resumeAllowed ? LocalFtpServer::Resume::Allowed : LocalFtpServer::Resume::Refused;
    const QByteArray picture = bigPicture();
    // Broken off, on a slow line, once the server holds some of it: bytes still on their way
    // are lost with the connection.
    const QString part = root.filePath(QStringLiteral("www/photo.jpg.part"));
    {
        LocalFtpServer slow(root.path(), resume, LocalFtpServer::Speed::Slow);
        QVERIFY2(slow.started(), qPrintable(slow.problem));
        const SendingOutcome broken = SendFiles(
            toServer(slow.port), {QString::fromLatin1(LocalFtpServer::password), {}}, {},
            {{QStringLiteral("photo.jpg"), picture}}, [&part](const SendingProgress &) { return QFileInfo(part).size() < 200'000; });
        QVERIFY(broken.stopped);
        QVERIFY(broken.files[0].partLeft);
    }
    const qint64 partBytes = QFileInfo(part).size();
    QVERIFY(partBytes >= 200'000 && partBytes < picture.size());
    LocalFtpServer server(root.path(), resume);
    QVERIFY2(server.started(), qPrintable(server.problem));

    qint64 mostSent = 0;
    const SendingOutcome again = SendFiles(
        toServer(server.port), {QString::fromLatin1(LocalFtpServer::password), {}}, {},
        {{QStringLiteral("photo.jpg"), picture, true}}, [&mostSent](const SendingProgress &progress) {
            mostSent = std::max(mostSent, progress.fileBytesSent);
            return true;
        });
    QVERIFY2(again.allSent(), qPrintable(again.files.value(0).problem));
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/photo.jpg"))), picture);
    QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("www/photo.jpg.part"))));
    // Resumed, only the rest went (the server may have written more of the part after it was
    // measured); refused, all of it.
    if (resumeAllowed)
        QVERIFY2(mostSent <= picture.size() - partBytes, qPrintable(QString::number(mostSent)));
    else
        QCOMPARE(mostSent, picture.size());
}

QTEST_MAIN(PublishFtpTest)
#include "tst_publish_ftp.moc"
