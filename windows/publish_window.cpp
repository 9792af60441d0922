#include "windows/publish_window.h"

#include "pictures/picture_fitting.h"
#include "publish/password_store.h"
#include "settings/program_settings.h"
#include "settings/publish_settings.h"
#include "text/io_error.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/file_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QSpinBox>
#include <QThreadPool>
#include <QTreeWidget>

namespace {

constexpr int ftpPort = 21;
constexpr int sftpPort = 22;
constexpr int planColumns = 4;

// The order of the protocol box.
const PublishDestination::Protocol protocols[] = {PublishDestination::Protocol::Ftp,
                                                  PublishDestination::Protocol::Ftps,
                                                  PublishDestination::Protocol::Sftp};

QLineEdit *addEdit(QWidget *parent, const QRect &geometry)
{
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    return edit;
}

// Where the page is seen on the web: the folder's address and the page's name.
QString pageAddressIn(const QString &webFolder, const QString &pageName)
{
    const QString folder = webFolder.trimmed();
    if (folder.isEmpty())
        return {};
    return folder + (folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + pageName;
}

} // namespace

PublishWindow::PublishWindow(const PageProject &page, const PageLocation &location, const Pattern &pattern,
                             const QString &programFolder, Desktop &desktop, QWidget *parent)
    : FixedDialog(parent, QStringLiteral("公開"), {560, 540}),
      page(page),
      location(location),
      pattern(pattern),
      programFolder(programFolder),
      desktop(desktop)
{
    addLabel(this, 12, 14, QStringLiteral("方式"));
    protocolBox = new QComboBox(this);
    protocolBox->setGeometry(110, 10, 170, 24);
    protocolBox->addItems({QStringLiteral("FTP"), QStringLiteral("FTPS（明示的 TLS）"), QStringLiteral("SFTP")});
    addLabel(this, 12, 44, QStringLiteral("サーバー"));
    hostEdit = addEdit(this, {110, 40, 260, 22});
    hostEdit->setPlaceholderText(QStringLiteral("ftp.example.jp"));
    addLabel(this, 384, 44, QStringLiteral("ポート"));
    portBox = new QSpinBox(this);
    portBox->setGeometry(440, 40, 108, 22);
    portBox->setRange(1, 65535);
    portBox->setValue(ftpPort);
    addLabel(this, 12, 72, QStringLiteral("ユーザー名"));
    userEdit = addEdit(this, {110, 68, 170, 22});
    addLabel(this, 292, 72, QStringLiteral("パスワード"));
    passwordEdit = addEdit(this, {380, 68, 168, 22});
    passwordEdit->setEchoMode(QLineEdit::Password);
    keepPasswordBox = new QCheckBox(QStringLiteral("パスワードを保存"), this);
    keepPasswordBox->setGeometry(380, 94, 168, 22);
    keepPasswordBox->setToolTip(QStringLiteral("パスワードを、デスクトップのキーリングに保管します（ファイルには書きません）。"));
    addLabel(this, 12, 100, QStringLiteral("フォルダ"));
    folderEdit = addEdit(this, {110, 96, 260, 22});
    folderEdit->setPlaceholderText(QStringLiteral("public_html"));
    addLabel(this, 12, 128, QStringLiteral("鍵ファイル"));
    keyEdit = addEdit(this, {110, 124, 350, 22});
    keyEdit->setPlaceholderText(QStringLiteral("SFTP で秘密鍵を使うとき（なければパスワードか SSH エージェント）"));
    keyButton = addButton(this, {468, 123, 80, 24}, QStringLiteral("参照…"));
    addLabel(this, 12, 156, QStringLiteral("Webのアドレス"));
    webEdit = addEdit(this, {110, 152, 438, 22});
    webEdit->setPlaceholderText(QStringLiteral("http://www.example.jp/~sakura/（このフォルダが見えるアドレス）"));
    pageAddressLabel = addLabel(this, 110, 178, QString());
    pageAddressLabel->setFixedWidth(438);

    addLabel(this, 12, 204, QStringLiteral("公開の準備"));
    planList = new QTreeWidget(this);
    planList->setGeometry(12, 224, 536, 170);
    planList->setRootIsDecorated(false);
    planList->setColumnCount(planColumns);
    planList->setHeaderLabels({QStringLiteral("ファイル"), QStringLiteral("大きさ"), QStringLiteral("状態"),
                               QStringLiteral("注意")});
    planList->header()->resizeSection(0, 160);
    planList->header()->resizeSection(1, 100);
    planList->header()->resizeSection(2, 90);
    planLabel = new QLabel(this);
    planLabel->setGeometry(12, 398, 536, 40);
    planLabel->setWordWrap(true);
    planLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    progressBar = new QProgressBar(this);
    progressBar->setGeometry(12, 444, 536, 18);
    progressBar->setRange(0, 1000);
    progressBar->hide();
    progressLabel = new QLabel(this);
    progressLabel->setGeometry(12, 466, 536, 20);

    sendButton = addButton(this, {280, 500, 88, 25}, QStringLiteral("公開する"));
    stopButton = addButton(this, {376, 500, 80, 25}, QStringLiteral("中止"));
    stopButton->setEnabled(false);
    closeButton = addButton(this, {464, 500, 84, 25}, QStringLiteral("閉じる"));
    setFocusOrder({protocolBox, hostEdit, portBox, userEdit, passwordEdit, keepPasswordBox, folderEdit, keyEdit,
                   keyButton, webEdit, planList, sendButton, stopButton, closeButton});

    connect(protocolBox, &QComboBox::currentIndexChanged, this, &PublishWindow::protocolChosen);
    // The plan is made again for the place once it is typed; "公開する" follows each key.
    for (QLineEdit *edit : {hostEdit, userEdit, folderEdit}) {
        connect(edit, &QLineEdit::editingFinished, this, &PublishWindow::plan);
        connect(edit, &QLineEdit::textChanged, this, &PublishWindow::showPlan);
    }
    connect(portBox, &QSpinBox::editingFinished, this, &PublishWindow::plan);
    connect(webEdit, &QLineEdit::textChanged, this, [this] { showPlace(); });
    connect(keyButton, &QPushButton::clicked, this, &PublishWindow::chooseKey);
    connect(sendButton, &QPushButton::clicked, this, &PublishWindow::send);
    connect(stopButton, &QPushButton::clicked, this, [this] {
        if (stopAsked)
            *stopAsked = true;
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(&watcher, &QFutureWatcher<SendingOutcome>::finished, this, [this] {
        if (watcher.future().resultCount() > 0)
            sent(watcher.result());
    });
}

PublishWindow::~PublishWindow()
{
    if (stopAsked)
        *stopAsked = true;
    watcher.waitForFinished();
}

void PublishWindow::openFor(const QString &file)
{
    if (file.isEmpty()) {
        desktop.showMessage(QStringLiteral("公開するページの名前は、プロジェクトファイルの名前から決まります。"
                                           "先にプロジェクトを「データ保存」してください。"));
        return;
    }
    projectFile = file;
    const SavedSetting<PublishPlace> saved = SavedPublishPlace(programFolder, projectFile);
    desktop.showWarningOnce(saved.problem);
    const PublishPlace &place = saved.value;
    const DestinationReading reading = ReadDestinationAddress(place.address);
    const PublishDestination kept = reading.destination.value_or(PublishDestination{});
    {
        const QSignalBlocker quiet(protocolBox);
        protocolBox->setCurrentIndex(int(std::find(std::begin(protocols), std::end(protocols), kept.protocol)
                                         - std::begin(protocols)));
    }
    hostEdit->setText(kept.host);
    portBox->setValue(kept.port);
    userEdit->setText(kept.user);
    folderEdit->setText(kept.folder);
    keyEdit->setText(place.keyFile);
    webEdit->setText(place.webAddress);
    passwordEdit->clear();
    keepPasswordBox->setChecked(place.passwordKept);
    keyEdit->setEnabled(kept.protocol == PublishDestination::Protocol::Sftp);
    keyButton->setEnabled(keyEdit->isEnabled());
    progressLabel->clear();
    plan();
    exec();
}

// The destination the boxes name; nothing, and why, when they name none.
std::optional<PublishDestination> PublishWindow::destination(QString *problem) const
{
    PublishDestination to;
    to.protocol = protocols[std::clamp(protocolBox->currentIndex(), 0, int(std::size(protocols)) - 1)];
    to.host = hostEdit->text().trimmed();
    to.port = portBox->value();
    to.user = userEdit->text().trimmed();
    to.folder = folderEdit->text().trimmed();
    // Read back through the address, so the window takes what the command line takes.
    const DestinationReading reading = ReadDestinationAddress(DestinationAddress(to));
    if (problem)
        *problem = reading.destination ? QString() : reading.problem;
    if (to.host.isEmpty() || to.user.isEmpty()) {
        if (problem)
            *problem = QStringLiteral("サーバーとユーザー名を入力してください。");
        return std::nullopt;
    }
    return reading.destination;
}

void PublishWindow::showPlace()
{
    const QString address = pageAddressIn(webEdit->text(), PublishedPageName(projectFile));
    pageAddressLabel->setText(address.isEmpty() ? QString() : QStringLiteral("ページのアドレス: %1").arg(address));
}

void PublishWindow::protocolChosen()
{
    const bool sftp = protocols[protocolBox->currentIndex()] == PublishDestination::Protocol::Sftp;
    // The usual port of the protocol, unless another was given.
    if (portBox->value() == ftpPort || portBox->value() == sftpPort)
        portBox->setValue(sftp ? sftpPort : ftpPort);
    keyEdit->setEnabled(sftp);
    keyButton->setEnabled(sftp);
    plan();
}

void PublishWindow::chooseKey()
{
    const FileDialog dialog(FileDialog::Mode::Open, QStringLiteral("秘密鍵を選択"),
                            QStringLiteral("すべてのファイル(*)|*"), QString());
    if (const std::optional<QString> chosen = dialog.ask(desktop))
        keyEdit->setText(*chosen);
}

// The plan against what the last publish to the destination left.
void PublishWindow::plan()
{
    const std::optional<PublishDestination> to = destination();
    const PublishRecord published =
        to ? ReadPublishRecord(programFolder, projectFile, DestinationAddress(*to)) : PublishRecord();
    preparation = PreparePublish(page, location, pattern, PublishedPageName(projectFile), published);
    showPlace();
    showPlan();
}

void PublishWindow::showPlan()
{
    planList->clear();
    for (const PlannedFile &file : preparation.plan.files) {
        const bool there = file.state == PlannedFile::State::Send || file.state == PlannedFile::State::Same;
        auto *row = new QTreeWidgetItem(planList, {file.name, there ? BytesText(file.bytes) : QString(),
                                                   PlannedStateText(file.state), file.problem.isEmpty() ? file.note : file.problem});
        row->setToolTip(3, row->text(3));
        if (!there)
            row->setForeground(2, QColor(Qt::red));
    }
    QString problem;
    const bool placed = destination(&problem).has_value();
    const qint64 bytes = preparation.plan.bytesToSend();
    qsizetype count = 0;
    for (const PlannedFile &file : preparation.plan.files)
        count += file.state == PlannedFile::State::Send;
    if (!preparation.problem.isEmpty())
        planLabel->setText(preparation.problem);
    else if (!preparation.plan.ready())
        planLabel->setText(QStringLiteral("ないファイルや送れない名前があるので、公開できません。"
                                          "「注意」の項目を直してください。"));
    else if (!placed)
        planLabel->setText(problem);
    else if (count == 0)
        planLabel->setText(QStringLiteral("サーバーにあるファイルと同じです。送るものはありません。"));
    else
        planLabel->setText(QStringLiteral("%1 個のファイル（%2）を送ります。").arg(count).arg(BytesText(bytes)));
    sendButton->setEnabled(placed && preparation.problem.isEmpty() && preparation.plan.ready() && !sending());
}

void PublishWindow::keepPlace()
{
    const std::optional<PublishDestination> to = destination();
    PublishPlace place{to ? DestinationAddress(*to) : QString(), webEdit->text().trimmed(), keyEdit->text().trimmed(),
                       keepPasswordBox->isChecked()};
    desktop.showWarningOnce(SavePublishPlace(programFolder, projectFile, place));
    // The QR code shows where the page really is.
    if (const QString address = pageAddressIn(place.webAddress, PublishedPageName(projectFile)); !address.isEmpty())
        desktop.showWarningOnce(SaveQrAddress(programFolder, projectFile, address));
}

void PublishWindow::send()
{
    QString problem;
    const std::optional<PublishDestination> to = destination(&problem);
    if (!to) {
        desktop.showMessage(problem);
        return;
    }
    plan();
    if (!sendButton->isEnabled())
        return;
    const QString address = DestinationAddress(*to);
    const PublishPlace before = SavedPublishPlace(programFolder, projectFile).value;
    keepPlace();
    QString password = passwordEdit->text();
    if (keepPasswordBox->isChecked()) {
        if (password.isEmpty()) {
            const StoredPassword stored = ReadStoredPassword(address);
            desktop.showWarningOnce(stored.problem);
            password = stored.password.value_or(QString());
        } else {
            desktop.showWarningOnce(StorePassword(address, password));
        }
    } else if (before.passwordKept) {
        // The tick taken off: the password kept for the place goes from the store.
        desktop.showWarningOnce(ForgetStoredPassword(before.address));
    }
    if (password.isEmpty() && to->protocol != PublishDestination::Protocol::Sftp) {
        desktop.showMessage(QStringLiteral("パスワードを入力してください。"));
        return;
    }
    sendTo(*to, password, SavedServerKey(programFolder, ServerName(*to)).value);
}

void PublishWindow::sendTo(const PublishDestination &to, const QString &password, const QString &trustedKey)
{
    sendingTo = to;
    sendingPassword = password;
    const QList<FileToSend> files = preparation.filesToSend();
    sendingNames.clear();
    for (const FileToSend &file : files)
        sendingNames << file.name;
    if (files.isEmpty()) {
        progressLabel->setText(QStringLiteral("サーバーにあるファイルと同じなので、何も送りませんでした。"));
        return;
    }
    stopAsked = std::make_shared<std::atomic_bool>(false);
    busy = true;
    sendButton->setEnabled(false);
    stopButton->setEnabled(true);
    progressBar->setValue(0);
    progressBar->show();
    progressLabel->setText(QStringLiteral("サーバーにつないでいます…"));
    auto promise = std::make_shared<QPromise<SendingOutcome>>();
    watcher.setFuture(promise->future());
    promise->start();
    const Login login{password, to.protocol == PublishDestination::Protocol::Sftp ? keyEdit->text().trimmed() : QString()};
    QThreadPool::globalInstance()->start([this, promise, to, login, trustedKey, files, stop = stopAsked] {
        SendingOutcome outcome = SendFiles(to, login, trustedKey, files, [this, stop](const SendingProgress &progress) {
            QMetaObject::invokeMethod(this, [this, progress] { showProgress(progress); }, Qt::QueuedConnection);
            return !*stop;
        });
        promise->addResult(std::move(outcome));
        promise->finish();
    });
}

void PublishWindow::showProgress(const SendingProgress &progress)
{
    if (!sending() || progress.files == 0)
        return;
    const double ofFile = progress.fileBytes > 0 ? double(progress.fileBytesSent) / double(progress.fileBytes) : 0;
    progressBar->setValue(int(1000 * (progress.file + std::clamp(ofFile, 0.0, 1.0)) / progress.files));
    const QString name = sendingNames.value(progress.file);
    progressLabel->setText(QStringLiteral("%1 / %2: %3（%4 / %5）")
                               .arg(progress.file + 1)
                               .arg(progress.files)
                               .arg(name, BytesText(progress.fileBytesSent), BytesText(progress.fileBytes)));
}

void PublishWindow::sent(const SendingOutcome &outcome)
{
    busy = false;
    stopButton->setEnabled(false);
    progressBar->hide();
    const QString address = DestinationAddress(sendingTo);
    if (outcome.serverKey.trust != ServerKeyMet::Trust::Trusted) {
        progressLabel->clear();
        if (trustAnew(outcome.serverKey)) {
            sendTo(sendingTo, sendingPassword, outcome.serverKey.fingerprint);
            return;
        }
        showPlan();
        return;
    }
    try {
        SavePublishRecord(programFolder, projectFile, address, preparation.recordAfter(outcome));
    } catch (const IoError &error) {
        desktop.showWarning(QStringLiteral("送ったファイルの記録を残せません（次は全部送ります）。\n%1")
                                .arg(error.message()));
    }
    QString said;
    if (outcome.allSent()) {
        const QString seen = pageAddressIn(webEdit->text(), PublishedPageName(projectFile));
        said = seen.isEmpty() ? QStringLiteral("公開しました。")
                              : QStringLiteral("公開しました。ページのアドレスは %1 です。").arg(seen);
    } else {
        const SentFile &failed = outcome.files.constLast();
        said = (outcome.stopped ? QStringLiteral("中止しました。")
                                : QStringLiteral("%1 を送れませんでした。%2").arg(failed.name, failed.problem))
               + QStringLiteral("サーバーには、前に公開したページが残っています。");
    }
    sendingPassword.clear();
    plan();
    progressLabel->setText(said);
    emit sendingEnded();
}

// Asks whether to trust the key the server showed; keeps it when the user says yes.
bool PublishWindow::trustAnew(const ServerKeyMet &met)
{
    const QString server = ServerName(sendingTo);
    if (met.trust == ServerKeyMet::Trust::Changed) {
        desktop.showMessage(QStringLiteral("%1 の鍵が、前に信頼したものと違います。何も送っていません。\n"
                                           "別のサーバーになりすまされているおそれがあります。サーバーの管理者に"
                                           "確かめてください。\n\n前の指紋: %2\n今の指紋: %3")
                                .arg(server, SavedServerKey(programFolder, server).value, met.fingerprint));
        return false;
    }
    if (!desktop.askYes(QStringLiteral("%1 に初めてつなぎます。サーバーの鍵の指紋は\n\n%2\n\nです。"
                                       "サーバーの管理者が知らせる指紋と同じなら「はい」を押してください。"
                                       "この鍵を覚えて、次からは確かめずにつなぎます。")
                            .arg(server, met.fingerprint)))
        return false;
    desktop.showWarningOnce(SaveServerKey(programFolder, server, met.fingerprint));
    return true;
}

// The sending stops first; the window closes once the server's files are whole.
void PublishWindow::closeEvent(QCloseEvent *event)
{
    if (stopAsked)
        *stopAsked = true;
    watcher.waitForFinished();
    FixedDialog::closeEvent(event);
}

void PublishWindow::done(int result)
{
    if (stopAsked)
        *stopAsked = true;
    watcher.waitForFinished();
    FixedDialog::done(result);
}
