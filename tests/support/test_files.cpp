#include "support/test_files.h"

#include "text/io_error.h"
#include "text/sjis.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

QByteArray crlfLines(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

QList<QByteArray> splitCrlf(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines) {
        if (!line.endsWith('\r'))
            qWarning("line without CR LF: %s", line.constData());
        line.chop(1);
    }
    return lines;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

QByteArray sj(const char *utf8)
{
    return sjis::fromUnicode(QString::fromUtf8(utf8));
}

QString messageOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const UserError &error) {
        return error.message();
    }
    return {};
}

QString dataFolder()
{
    return qEnvironmentVariable("DATA_FOLDER") + QLatin1Char('/');
}

namespace {

constexpr unsigned overrideCapabilities =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool setEffective(bool keepOverride)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    if (keepOverride)
        data[0].effective |= overrideCapabilities & data[0].permitted;
    else
        data[0].effective &= ~overrideCapabilities;
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

WithoutAccessOverride::WithoutAccessOverride() : dropped(setEffective(false)) {}

WithoutAccessOverride::~WithoutAccessOverride()
{
    if (dropped)
        setEffective(true);
}

QByteArray encodedPicture(const QImage &picture, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

bool sameImage(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

QImage cameraPhoto(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator grain(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(grain.bounded(24)) - 12;
            picture.setPixel(x, y, qRgb(std::clamp(60 + 180 * x / size.width() + noise, 0, 255),
                                        std::clamp(200 - 120 * y / size.height() + noise, 0, 255),
                                        std::clamp(90 + noise, 0, 255)));
        }
    QPainter(&picture).fillRect(size.width() / 3, size.height() / 3, size.width() / 3,
                                size.height() / 3, QColor(250, 240, 200));
    return picture;
}
