#include "ui/desktop.h"

#include "ui/file_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QMessageBox>
#include <QUrl>

std::optional<QString> QtDesktop::chooseFile(const FileDialog &dialog)
{
    QFileDialog fileDialog(QApplication::activeWindow());
    fileDialog.setWindowTitle(dialog.Title);
    fileDialog.setNameFilter(qtNameFilters(dialog.Filter));
    fileDialog.setDefaultSuffix(dialog.DefaultExt);
    // The program replaces files without asking, as every save of it does.
    fileDialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.mode == FileDialog::Mode::Save) {
        fileDialog.setAcceptMode(QFileDialog::AcceptSave);
        fileDialog.setFileMode(QFileDialog::AnyFile);
    } else {
        fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
        fileDialog.setFileMode(QFileDialog::ExistingFile);
    }
    const QString offered = dialog.offeredPath();
    if (offered.endsWith(QLatin1Char('/')))
        fileDialog.setDirectory(offered);
    else if (!offered.isEmpty())
        fileDialog.selectFile(offered);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return std::nullopt;
    return fileDialog.selectedFiles().constFirst();
}

void QtDesktop::openWithDefaultHandler(const QString &target)
{
    // A file that exists opens as a file; anything else is read as an address, the way a
    // browser's address bar reads it.
    if (QFileInfo::exists(target))
        QDesktopServices::openUrl(QUrl::fromLocalFile(target));
    else if (!target.isEmpty())
        QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

void QtDesktop::startProgram(const QString &program, const QStringList &arguments)
{
    QProcess::startDetached(program, arguments);
}

void QtDesktop::showMessage(const QString &text)
{
    QMessageBox::critical(QApplication::activeWindow(), applicationTitle(), text);
}

void QtDesktop::showWarning(const QString &text)
{
    QMessageBox::warning(QApplication::activeWindow(), applicationTitle(), text);
}
