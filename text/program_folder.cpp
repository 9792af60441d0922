#include "text/program_folder.h"

#include "text/sjis.h"

#include <QFileInfo>

QString ProgramFolder(const QString &programFilePath)
{
    QString folder = QFileInfo(programFilePath).absolutePath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString programFilePath(const QString &programFolder, const QByteArray &storedName)
{
    return programFolder + pathFromStored(storedName);
}

QString pathFromStored(const QByteArray &storedPath)
{
    QString path = sjis::toUnicode(storedPath);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}
