#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

inline const QString applicationTitle() { return QStringLiteral("モペコ"); }

// What a file dialog asks the desktop for.
struct FileRequest {
    enum class Mode { Open, Save };

    Mode mode = Mode::Open;
    QString title;
    QString filter; // "説明(*.ext)|*.ext|…"
    QString defaultExtension;
    // The file offered, in its folder; a path that ends in "/" offers the folder alone.
    QString offeredPath;
};

// What the program asks of the desktop: file names, messages and opening files and addresses. The program uses the real
// one; tests put a recording one in its place.
class Desktop {
public:
    virtual ~Desktop() = default;

    // The file the user chose in the dialog, or nothing when it was cancelled.
    virtual std::optional<QString> chooseFile(const FileRequest &request) = 0;

    // A message box with the application title: an error that stopped what the user did.
    virtual void showMessage(const QString &text) = 0;

    // A message box with the application title: something the user should know, that stopped
    // nothing.
    virtual void showWarning(const QString &text) = 0;

    // A question with "はい" and "いいえ", "いいえ" first in focus: true when the user said yes.
    virtual bool askYes(const QString &question) = 0;

    // showWarning for what stays so for the rest of the run: each text is shown the first
    // time only, and an empty one not at all.
    void showWarningOnce(const QString &text);

    // Hands a file path or an address, unchanged, to the program the desktop opens it with.
    // Returns at once: false when no program would take it, or the file is not there.
    virtual bool openWithDefaultHandler(const QString &target) = 0;

    // Starts an outside program with its arguments and forgets it: false when it did not start.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;

    // openWithDefaultHandler for what the user asked to see (a help page, the home page): when
    // it cannot be opened, a message box says what, and where the file lies.
    void openForUser(const QString &target);

    // startProgram for a program of the settings, `what` naming it ("テキストエディタ"): when it is
    // not set, not found or does not start, a message box says so.
    void startForUser(const QString &what, const std::optional<QString> &program,
                      const QStringList &arguments);

private:
    QSet<QString> shownOnce;
};

class QtDesktop : public Desktop {
public:
    std::optional<QString> chooseFile(const FileRequest &request) override;
    void showMessage(const QString &text) override;
    void showWarning(const QString &text) override;
    bool askYes(const QString &question) override;
    bool openWithDefaultHandler(const QString &target) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
};

// "説明(*.ext)|*.ext|…" as Qt's "説明(*.ext);;…": the descriptions carry the patterns.
QString qtNameFilters(const QString &filter);
