#include "widgets/file_dialog.h"

#include "text/text_writer.h"

#include <QByteArray>
#include <QFileInfo>

FileDialog::FileDialog(Mode mode, QString title, QString filter, QString defaultExtension)
    : mode(mode), Title(std::move(title)), Filter(std::move(filter)),
      DefaultExt(std::move(defaultExtension))
{
}

std::optional<QString> FileDialog::ask(Desktop &desktop) const
{
    std::optional<QString> chosen =
        desktop.chooseFile({mode, Title, Filter, DefaultExt, offeredPath()});
    if (chosen && chosen->isEmpty())
        return std::nullopt;
    return chosen;
}

void FileDialog::remember(const QString &path)
{
    FileName = path;
    *folder = QFileInfo(path).absolutePath();
}

bool FileDialog::execute(Desktop &desktop)
{
    const std::optional<QString> chosen = ask(desktop);
    if (chosen)
        remember(*chosen);
    return chosen.has_value();
}

bool FileDialog::save(Desktop &desktop, const std::function<QByteArray()> &bytes)
{
    const std::optional<QString> chosen = ask(desktop);
    if (!chosen)
        return false;
    saveFileBytes(*chosen, bytes());
    remember(*chosen);
    return true;
}

bool FileDialog::open(Desktop &desktop, const std::function<void(const QString &)> &read)
{
    const std::optional<QString> chosen = ask(desktop);
    if (!chosen)
        return false;
    read(*chosen);
    remember(*chosen);
    return true;
}

void FileDialog::shareFolderWith(FileDialog &other)
{
    folder = other.folder;
}

QString FileDialog::offeredPath() const
{
    if (folder->isEmpty())
        return FileName;
    QString lastFolder = *folder;
    if (!lastFolder.endsWith(QLatin1Char('/')))
        lastFolder += QLatin1Char('/');
    return FileName.isEmpty() ? lastFolder : lastFolder + QFileInfo(FileName).fileName();
}
