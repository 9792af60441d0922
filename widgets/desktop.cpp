#include "widgets/desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
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

bool QtDesktop::openWithDefaultHandler(const QString &target)
{
    // A file that exists opens as a file; a path of a file that is not there opens nothing;
    // anything else is read as an address, the way a browser's address bar reads it.
    if (QFileInfo::exists(target))
        return QDesktopServices::openUrl(QUrl::fromLocalFile(target));
    if (QFileInfo(target).isAbsolute())
        return false;
    return !target.isEmpty() && QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

bool QtDesktop::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

void Desktop::openForUser(const QString &target)
{
    if (target.trimmed().isEmpty()) {
        showMessage(QStringLiteral("開くアドレスが設定されていません。「設定」で入力してください。"));
        return;
    }
    if (openWithDefaultHandler(target))
        return;
    const QFileInfo file(target);
    if (!file.isAbsolute() || target.contains(QStringLiteral("://")))
        showMessage(QStringLiteral("「%1」を開くブラウザが見つからないので、開けませんでした。").arg(target));
    else if (!file.exists())
        showMessage(QStringLiteral("「%1」が見つかりません。\n%2")
                        .arg(file.fileName(), QDir::toNativeSeparators(target)));
    else
        showMessage(QStringLiteral("「%1」を開くプログラム（ブラウザなど）が見つからないので、"
                                   "開けませんでした。ファイルは次の場所にあります。\n%2")
                        .arg(file.fileName(), QDir::toNativeSeparators(target)));
}

void Desktop::startForUser(const QString &what, const std::optional<QString> &program,
                           const QStringList &arguments)
{
    if (!program)
        showMessage(QStringLiteral("%1が設定されていないか、見つかりません。「設定」で指定して"
                                   "ください。")
                        .arg(what));
    else if (!startProgram(*program, arguments))
        showMessage(QStringLiteral("%1「%2」を起動できませんでした。「設定」で確かめてください。")
                        .arg(what, QDir::toNativeSeparators(*program)));
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
