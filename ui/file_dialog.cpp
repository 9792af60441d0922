#include "ui/file_dialog.h"

#include "ui/desktop.h"

#include <QStringList>

FileDialog::FileDialog(Mode mode, QString filter, QString defaultExtension)
    : mode(mode), Filter(std::move(filter)), DefaultExt(std::move(defaultExtension))
{
}

bool FileDialog::execute(Desktop &desktop)
{
    const std::optional<QString> chosen = desktop.chooseFile(*this);
    if (!chosen || chosen->isEmpty())
        return false;
    FileName = *chosen;
    return true;
}

QString qtNameFilters(const QString &filter)
{
    const QStringList pieces = filter.split(QLatin1Char('|'));
    QStringList descriptions;
    for (qsizetype index = 0; index < pieces.size(); index += 2)
        descriptions.append(pieces[index]);
    return descriptions.join(QStringLiteral(";;"));
}
