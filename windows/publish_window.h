#pragma once

#include "publish/publish_destination.h"
#include "publish/publish_preparation.h"
#include "publish/publish_transfer.h"
#include "widgets/fixed_dialog.h"

#include <QFutureWatcher>

#include <atomic>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class Desktop;
struct PageLocation;
struct PageProject;
struct Pattern;

// "公開": where the project's page goes (kept for the project in mopeco.ini, the password in
// the desktop's secret store when the user ticks it) and, before anything is sent, the plan:
// the page as "HTML保存" writes it and every picture it names, each to send, the same as on the
// server, missing or refused, with its bytes. "公開する" sends what changed over one
// connection, off the window's thread, with the progress of each file and of all, and "中止"
// leaves the server's earlier page whole. A server's key not yet trusted is shown with its
// fingerprint and trusted only with the user's yes.
class PublishWindow : public FixedDialog {
    Q_OBJECT

public:
    PublishWindow(const PageProject &page, const PageLocation &location, const Pattern &pattern,
                  const QString &programFolder, Desktop &desktop, QWidget *parent = nullptr);
    ~PublishWindow() override;

    // Opens on the project saved as `projectFile`; a project not saved yet is said so instead.
    void openFor(const QString &projectFile);

    // Whether files are being sent now: until the outcome is shown.
    bool sending() const { return busy; }

    QComboBox *protocolBox;
    QLineEdit *hostEdit;
    QSpinBox *portBox;
    QLineEdit *userEdit;
    QLineEdit *passwordEdit;
    QCheckBox *keepPasswordBox;
    QLineEdit *folderEdit;
    QLineEdit *keyEdit;
    QPushButton *keyButton;
    QLineEdit *webEdit;
    QLabel *pageAddressLabel;
    QTreeWidget *planList;
    QLabel *planLabel;
    QProgressBar *progressBar;
    QLabel *progressLabel;
    QPushButton *sendButton;
    QPushButton *stopButton;
    QPushButton *closeButton;

signals:
    // The sending ended, whatever its outcome.
    void sendingEnded();

private:
    std::optional<PublishDestination> destination(QString *problem = nullptr) const;
    void showPlace();
    void plan();
    void showPlan();
    void send();
    void sendTo(const PublishDestination &to, const QString &password, const QString &trustedKey);
    void showProgress(const SendingProgress &progress);
    void sent(const SendingOutcome &outcome);
    bool trustAnew(const ServerKeyMet &met);
    void keepPlace();
    void chooseKey();
    void protocolChosen();
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

    const PageProject &page;
    const PageLocation &location;
    const Pattern &pattern;
    const QString &programFolder;
    Desktop &desktop;
    QString projectFile;
    PublishPreparation preparation;
    // Of the sending under way.
    PublishDestination sendingTo;
    QString sendingPassword;
    QStringList sendingNames; // of the files, in the order they go
    QFutureWatcher<SendingOutcome> watcher;
    std::shared_ptr<std::atomic_bool> stopAsked;
    bool busy = false;
};
