#pragma once

#include "widgets/desktop.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A desktop that answers file dialogs from a queue and records every message, dialog and
// opened file or address and started program.
class RecordingDesktop : public Desktop {
public:
    std::optional<QString> chooseFile(const FileRequest &request) override;
    void showMessage(const QString &text) override;
    void showWarning(const QString &text) override;
    bool askYes(const QString &question) override;
    bool openWithDefaultHandler(const QString &target) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;

    // The next file dialog chooses `path`; without answers queued a dialog is cancelled.
    void answerWith(const QString &path) { answers.append(path); }
    void answerCancel() { answers.append(std::nullopt); }

    QList<std::optional<QString>> answers;
    QList<FileRequest> dialogs;
    QStringList messages;
    QStringList warnings;
    QStringList questions;
    QList<bool> yesAnswers; // the answers to the next questions; "いいえ" when none is left
    QStringList opened;
    QList<QStringList> started; // each program followed by its arguments
    bool handlerOpens = true;   // whether the default handler takes what it is handed
    bool programsStart = true;
};
