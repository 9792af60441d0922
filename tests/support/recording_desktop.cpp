#include "support/recording_desktop.h"

std::optional<QString> RecordingDesktop::chooseFile(const FileRequest &request)
{
    dialogs.append(request);
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}

bool RecordingDesktop::openWithDefaultHandler(const QString &target)
{
    opened.append(target);
    return handlerOpens;
}

bool RecordingDesktop::startProgram(const QString &program, const QStringList &arguments)
{
    started.append(QStringList{program} + arguments);
    return programsStart;
}

void RecordingDesktop::showMessage(const QString &text)
{
    messages.append(text);
}

void RecordingDesktop::showWarning(const QString &text)
{
    warnings.append(text);
}

bool RecordingDesktop::askYes(const QString &question)
{
    questions.append(question);
    return !yesAnswers.isEmpty() && yesAnswers.takeFirst();
}
