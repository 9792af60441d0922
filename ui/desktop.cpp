#include "ui/desktop.h"

#include "ui/file_dialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

std::optional<QString> QtDesktop::chooseFile(const FileDialog &dialog)
{
    QFileDialog fileDialog(QApplication::activeWindow());
    fileDialog.setWindowTitle(applicationTitle());
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
    if (!dialog.FileName.isEmpty())
        fileDialog.selectFile(dialog.FileName);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return std::nullopt;
    return fileDialog.selectedFiles().constFirst();
}

void QtDesktop::openWithDefaultHandler(const QString &target)
{
    // An address with a scheme opens as it is; anything else names a file.
    const QUrl address(target, QUrl::StrictMode);
    const bool hasScheme = address.isValid() && address.scheme().size() > 1;
    QDesktopServices::openUrl(hasScheme ? address : QUrl::fromLocalFile(target));
}

void QtDesktop::showMessage(const QString &text)
{
    QMessageBox::critical(QApplication::activeWindow(), applicationTitle(), text);
}
