// The publish window as a user meets it: opened by the toolbar's FTP button when no FTP program
// is set, it sends the page "HTML保存" writes and its pictures to a real FTPS server, trusting
// the server's certificate only after the user's yes to its fingerprint; the place, the trusted
// key and the password (in the desktop's secret store) are kept, so the next publish asks
// nothing and sends only what changed, from the window and from the command line alike.

#include "settings/program_settings.h"
#include "settings/publish_settings.h"
#include "settings/tool_settings.h"
#include "support/local_servers.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "windows/publish_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// The export's sample project with its pictures, opened in the window from a folder of its own.
QString openCafe(MainWindowFixture &fixture)
{
    const QDir from(qEnvironmentVariable("EXPORT_DATA"));
    for (const QString &name : from.entryList(QDir::Files))
        QFile::copy(from.filePath(name), fixture.folder.filePath(name));
    const QString project = fixture.folder.filePath(QStringLiteral("cafe.mpk"));
    fixture.form->openProjectFile(project);
    return project;
}

// Runs `steps` in the publish window that `open` opens, then closes it.
void inPublishWindow(MainWindowFixture &fixture, const std::function<void()> &open,
                     const std::function<void(PublishWindow &)> &steps)
{
    bool ran = false;
    QTimer::singleShot(0, fixture.form.get(), [&] {
        auto *window = fixture.form->findChild<PublishWindow *>();
        QVERIFY(window && window->isVisible());
        ran = true;
        steps(*window);
        window->closeButton->click();
    });
    open();
    QVERIFY(ran);
}

// Presses "公開する" and waits until the sending ends.
QString publish(PublishWindow &window)
{
    QTest::mouseClick(window.sendButton, Qt::LeftButton);
    if (!QTest::qWaitFor([&window] { return !window.sending(); }, 30000))
        return QStringLiteral("still sending");
    return window.progressLabel->text();
}

} // namespace

class PublishWindowTest : public QObject {
    Q_OBJECT

private slots:
    void ftpButton_data();
    void ftpButton();
    void publishesOverFtps();
};

void PublishWindowTest::ftpButton_data()
{
    QTest::addColumn<QByteArray>("ftpProgram");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("windowOpens");
    QTest::newRow("no FTP program, saved project") << QByteArray() << true << true;
    QTest::newRow("no FTP program, project never saved") << QByteArray() << false << false;
    QTest::newRow("an FTP program set") << QByteArray("/bin/true") << true << false;
}

void PublishWindowTest::ftpButton()
{
    QFETCH(QByteArray, ftpProgram);
    QFETCH(bool, saved);
    QFETCH(bool, windowOpens);
    MainWindowFixture fixture;
    fixture.toolSettings.FtpProgram.bytes = ftpProgram;
    fixture.startShown();
    if (saved)
        openCafe(fixture);
    bool opened = false;
    QTimer::singleShot(0, fixture.form.get(), [&] {
        if (auto *window = fixture.form->findChild<PublishWindow *>(); window && window->isVisible()) {
            opened = true;
            window->closeButton->click();
        }
    });
    fixture.form->SpeedButton8->click();
    QCOMPARE(opened, windowOpens);
    QCOMPARE(fixture.desktop.started.size(), ftpProgram.isEmpty() ? 0 : 1);
    if (!saved)
        QVERIFY(fixture.desktop.messages.constLast().contains(QStringLiteral("データ保存")));
}

void PublishWindowTest::publishesOverFtps()
{
    QTemporaryDir root;
    LocalFtpServer::Options tls;
    tls.tls = true;
    LocalFtpServer server(root.path(), tls);
    QVERIFY2(server.started(), qPrintable(server.problem));
    MainWindowFixture fixture;
    fixture.startShown();
    const QString project = openCafe(fixture);
    // The page as "HTML保存" writes it, beside its pictures.
    const QString page = fixture.folder.filePath(QStringLiteral("cafe.html"));
    fixture.desktop.answerWith(page);
    fixture.form->SpeedButton3->click();
    QVERIFY(QFile::exists(page));

    fixture.desktop.yesAnswers = {true};
    inPublishWindow(fixture, [&] { fixture.form->publishButton->click(); }, [&](PublishWindow &window) {
        QCOMPARE(window.planList->topLevelItemCount(), 3);
        window.protocolBox->setCurrentIndex(1);
        window.hostEdit->setText(QStringLiteral("127.0.0.1"));
        window.portBox->setValue(server.port);
        window.userEdit->setText(QString::fromLatin1(LocalFtpServer::user));
        window.passwordEdit->setText(QString::fromLatin1(LocalFtpServer::password));
        window.keepPasswordBox->setChecked(true);
        window.folderEdit->setText(QStringLiteral("www"));
        window.webEdit->setText(QStringLiteral("http://example.jp/cafe"));
        const QString said = publish(window);
        QVERIFY2(said.startsWith(QStringLiteral("公開しました")), qPrintable(said + window.planLabel->text() + fixture.desktop.messages.join(QLatin1Char('\n'))));
    });
    // The certificate was trusted by the key an independent tool read from it.
    QString pin = server.publicKeyPin;
    while (pin.endsWith(QLatin1Char('=')))
        pin.chop(1);
    QCOMPARE(fixture.desktop.questions.size(), 1);
    QVERIFY2(fixture.desktop.questions.constFirst().contains(QStringLiteral("SHA256:") + pin),
             qPrintable(fixture.desktop.questions.constFirst()));
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/cafe.html"))), readBytes(page));
    for (const char *picture : {"photo.jpg", "logo.png"})
        QCOMPARE(readBytes(root.filePath(QStringLiteral("www/") + QLatin1String(picture))),
                 readBytes(fixture.folder.filePath(QLatin1String(picture))));
    // The QR code follows the page to where it is seen; no file keeps the password.
    QCOMPARE(SavedQrAddress(fixture.ProgramFolder, project).value, QStringLiteral("http://example.jp/cafe/cafe.html"));
    for (const QString &name : QDir(fixture.ProgramFolder).entryList(QDir::Files))
        QVERIFY2(!readBytes(fixture.ProgramFolder + name).contains(LocalFtpServer::password), qPrintable(name));

    // Next time the window knows the place, the key and the password, and sends what changed.
    writeBytes(fixture.folder.filePath(QStringLiteral("logo.png")), "a logo drawn again");
    inPublishWindow(fixture, [&] { fixture.form->publishButton->click(); }, [&](PublishWindow &window) {
        QCOMPARE(window.hostEdit->text(), QStringLiteral("127.0.0.1"));
        QVERIFY(window.passwordEdit->text().isEmpty());
        QCOMPARE(window.planLabel->text(), QStringLiteral("1 個のファイル（18 バイト）を送ります。"));
        const QString said = publish(window);
        QVERIFY2(said.startsWith(QStringLiteral("公開しました")), qPrintable(said + window.planLabel->text() + fixture.desktop.messages.join(QLatin1Char('\n'))));
    });
    QCOMPARE(fixture.desktop.questions.size(), 1);
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/logo.png"))), QByteArray("a logo drawn again"));

    // The command line publishes to the place the window kept, with the key and the password
    // kept, from the program folder that keeps them.
    const QString program = fixture.ProgramFolder + QStringLiteral("mopeco");
    QVERIFY(QFile::copy(qEnvironmentVariable("MOPECO"), program));
    writeBytes(fixture.folder.filePath(QStringLiteral("photo.jpg")), "a photo taken again");
    qunsetenv("MOPECO_PASSWORD");
    QProcess run;
    run.setWorkingDirectory(fixture.folder.path());
    run.start(program, {QStringLiteral("--publish"), QStringLiteral("cafe.mpk")});
    QVERIFY(run.waitForFinished(60000));
    QVERIFY2(run.exitCode() == 0, run.readAllStandardError().constData());
    QCOMPARE(readBytes(root.filePath(QStringLiteral("www/photo.jpg"))), QByteArray("a photo taken again"));
}

QTEST_MAIN(PublishWindowTest)
#include "tst_publish_window.moc"
