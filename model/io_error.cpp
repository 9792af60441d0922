#include "model/io_error.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

QString messageFor(IoError::Kind kind)
{
    switch (kind) {
    case IoError::Kind::NotFound:
        return QStringLiteral("ファイルが見つかりません");
    case IoError::Kind::AccessDenied:
        return QStringLiteral("ファイルへのアクセスが拒否されました");
    case IoError::Kind::NotANumber:
        return QStringLiteral("入力値が数値ではありません");
    case IoError::Kind::DiskFull:
        return QStringLiteral("ディスクがいっぱいです");
    case IoError::Kind::TooLarge:
        return QStringLiteral("ファイルが大きすぎて読み込めません");
    case IoError::Kind::Other:
        break;
    }
    return QStringLiteral("入出力エラーです");
}

UserError::UserError(const QString &message)
    : std::runtime_error(message.toStdString()), text(message)
{
}

IoError::IoError(Kind kind) : UserError(messageFor(kind)), errorKind(kind) {}

IoError &IoError::onLine(int line)
{
    lineNumber = line;
    return *this;
}

IoError &IoError::inFile(const QString &path)
{
    const QString place = QDir::toNativeSeparators(path);
    text = messageFor(errorKind) + QLatin1Char('\n')
           + (lineNumber > 0 ? QStringLiteral("%1 の %2 行目").arg(place).arg(lineNumber) : place);
    return *this;
}

UserError notAnInteger(const QString &character)
{
    return UserError(QStringLiteral("'%1' は整数ではありません").arg(character));
}

IoError IoError::fromErrno(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return IoError(Kind::NotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return IoError(Kind::AccessDenied);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return IoError(Kind::DiskFull);
    default:
        return IoError(Kind::Other);
    }
}

IoError IoError::forOpen(const QString &path, int errorNumber)
{
    const QFileInfo info(path);
    if (info.isDir())
        return IoError(Kind::AccessDenied);
    if (!info.exists() && !QFileInfo(info.absolutePath()).isDir())
        return IoError(Kind::NotFound);
    return fromErrno(errorNumber);
}
