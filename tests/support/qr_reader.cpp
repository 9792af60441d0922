#include "support/qr_reader.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

QString reader()
{
    return QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
}

} // namespace

bool qrReaderInstalled()
{
    return !reader().isEmpty();
}

std::optional<QByteArray> readQrCode(const QString &pictureFile)
{
    QProcess zbarimg;
    zbarimg.start(reader(), {QStringLiteral("--quiet"), QStringLiteral("--raw"),
                             QStringLiteral("-Sbinary"), pictureFile});
    if (!zbarimg.waitForFinished(30000) || zbarimg.exitStatus() != QProcess::NormalExit
        || zbarimg.exitCode() != 0)
        return std::nullopt;
    return zbarimg.readAllStandardOutput();
}
