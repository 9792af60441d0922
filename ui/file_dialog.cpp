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
    // "*.*" means every file; to Qt it means only names with a dot.
    for (qsizetype index = 0; index < pieces.size(); index += 2)
        descriptions.append(QString(pieces[index]).replace(QStringLiteral("(*.*)"),
                                                           QStringLiteral("(*)")));
    return descriptions.join(QStringLiteral(";;"));
}
