#include "widgets/desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

std::optional<QString> QtDesktop::chooseFile(const FileRequest &request)
{
    QFileDialog fileDialog(QApplication::activeWindow());
    fileDialog.setWindowTitle(request.title);
    fileDialog.setNameFilter(qtNameFilters(request.filter));
    fileDialog.setDefaultSuffix(request.defaultExtension);
    // The program replaces files without asking, as every save of it does.
    fileDialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (request.mode == FileRequest::Mode::Save) {
        fileDialog.setAcceptMode(QFileDialog::AcceptSave);
        fileDialog.setFileMode(QFileDialog::AnyFile);
    } else {
        fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
        fileDialog.setFileMode(QFileDialog::ExistingFile);
    }
    const QString &offered = request.offeredPath;
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

bool QtDesktop::askYes(const QString &question)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), question, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton *yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    box.setDefaultButton(box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole));
    box.exec();
    return box.clickedButton() == yes;
}

void Desktop::showWarningOnce(const QString &text)
{
    if (!text.isEmpty() && !shownOnce.contains(text)) {
        shownOnce.insert(text);
        showWarning(text);
    }
}

QString qtNameFilters(const QString &filter)
{
    const QStringList pieces = filter.split(QLatin1Char('|'));
    QStringList descriptions;
    // "*.*" means every file; to Qt it means only names with a dot.
    for (qsizetype index = 0; index < pieces.size(); index += 2)
        descriptions.append(QString(pieces[index]).replace(QStringLiteral("(*.*)"),
                                                           QStringLiteral("(*)")));
    return descriptions.join(QStringLiteral(";;"));
}
