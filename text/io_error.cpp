#include "text/io_error.h"

#include <QDir>
#include <QFileInfo>

#include <QFile>

#include <cerrno>

#include <sys/stat.h>

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

IoError &IoError::about(const QString &path)
{
    filePath = path;
    return *this;
}

QString IoError::reason() const
{
    return cause.isEmpty() ? messageFor(errorKind) : cause;
}

QString IoError::explained() const
{
    if (filePath.isEmpty())
        return reason();
    return QStringLiteral("「%1」: %2").arg(QDir::toNativeSeparators(filePath), reason());
}

IoError &IoError::inFile(const QString &path)
{
    filePath = path;
    const QString place = QDir::toNativeSeparators(path);
    text = messageFor(errorKind) + QLatin1Char('\n')
           + (lineNumber > 0 ? QStringLiteral("%1 の %2 行目").arg(place).arg(lineNumber) : place);
    return *this;
}

UserError notAnInteger(const QString &character)
{
    return UserError(QStringLiteral("'%1' は整数ではありません").arg(character));
}

namespace {

// What a thing of this mode is, said as "…です"; empty for a regular file.
QString whatTheModeIs(unsigned mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("ファイルではなくフォルダです");
    if (S_ISFIFO(mode))
        return QStringLiteral("ファイルではなく名前付きパイプ（FIFO）です");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("ファイルではなくデバイスです");
    if (S_ISSOCK(mode))
        return QStringLiteral("ファイルではなくソケットです");
    return {};
}

// What the system said, where the message for its kind would hide it.
QString causeOf(int errorNumber)
{
    switch (errorNumber) {
    case ENAMETOOLONG:
        return QStringLiteral("名前が長すぎます");
    case ELOOP:
        return QStringLiteral("シンボリックリンクがたどれません（輪になっているか多すぎます）");
    case ENXIO:
        return QStringLiteral("読む側のいない名前付きパイプ（FIFO）かデバイスです");
    case EROFS:
        return QStringLiteral("読み込み専用の場所です");
    default:
        return {};
    }
}

} // namespace

IoError IoError::forNotAFile(const QString &path, unsigned mode)
{
    IoError error(Kind::AccessDenied);
    error.cause = whatTheModeIs(mode);
    error.filePath = path;
    return error;
}

IoError IoError::fromErrno(int errorNumber)
{
    IoError error = kindOf(errorNumber);
    error.cause = causeOf(errorNumber);
    return error;
}

IoError IoError::kindOf(int errorNumber)
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
    const QByteArray name = QFile::encodeName(path);
    struct stat link {};
    struct stat target {};
    const bool linked = ::lstat(name.constData(), &link) == 0;
    const bool reached = ::stat(name.constData(), &target) == 0;
    if (reached && S_ISDIR(target.st_mode))
        return forNotAFile(path, target.st_mode);
    IoError error = fromErrno(errorNumber);
    if (reached && S_ISFIFO(target.st_mode) && errorNumber == ENXIO)
        error.cause = QStringLiteral("読む側のいない名前付きパイプ（FIFO）です");
    else if (reached && !S_ISREG(target.st_mode) && error.cause.isEmpty())
        error.cause = whatTheModeIs(target.st_mode);
    if (linked && S_ISLNK(link.st_mode) && !reached) {
        error = IoError(Kind::NotFound);
        error.cause = errorNumber == ELOOP ? causeOf(ELOOP)
                                           : QStringLiteral("リンク先のないシンボリックリンクです");
    } else if (!linked && errorNumber != ENAMETOOLONG
               && !QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
        error = IoError(Kind::NotFound);
        error.cause = QStringLiteral("フォルダ「%1」がありません")
                          .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    }
    error.filePath = path;
    return error;
}
