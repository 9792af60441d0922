#include "check/handset_reading.h"

#include "text/sjis.h"

#include <QByteArray>

QString ShownForReference(quint32 value)
{
    if (value < 0x80)
        return QString(QChar(char16_t(value)));
    QByteArray bytes;
    if (value <= 0xFF)
        bytes.append(char(value));
    else if (value <= 0xFFFF && sjis::isLeadByte(uchar(value >> 8)))
        bytes.append(char(value >> 8)).append(char(value & 0xFF));
    const QString shown = sjis::toUnicode(bytes);
    if (shown.isEmpty() || shown.contains(QChar(0xFFFD)) || value < 0xA1)
        return {};
    return shown;
}
