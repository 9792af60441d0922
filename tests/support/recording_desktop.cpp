#include "support/recording_desktop.h"

#include "ui/file_dialog.h"

std::optional<QString> RecordingDesktop::chooseFile(const FileDialog &dialog)
{
    dialogs.append({dialog.Title, dialog.Filter, dialog.DefaultExt, dialog.offeredPath()});
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}

void RecordingDesktop::openWithDefaultHandler(const QString &target)
{
    opened.append(target);
}

void RecordingDesktop::startProgram(const QString &program, const QStringList &arguments)
{
    started.append(QStringList{program} + arguments);
}

void RecordingDesktop::showMessage(const QString &text)
{
    messages.append(text);
}

void RecordingDesktop::showWarning(const QString &text)
{
    warnings.append(text);
}
