#include "support/recording_desktop.h"

#include "ui/file_dialog.h"

std::optional<QString> RecordingDesktop::chooseFile(const FileDialog &dialog)
{
    dialogs.append({dialog.Filter, dialog.DefaultExt, dialog.FileName});
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}

void RecordingDesktop::openWithDefaultHandler(const QString &target)
{
    opened.append(target);
}

void RecordingDesktop::startProgram(const QString &commandLine)
{
    started.append(commandLine);
}

void RecordingDesktop::showMessage(const QString &text)
{
    messages.append(text);
}
