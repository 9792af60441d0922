#include "pictures/picture_decoding.h"

#include "pictures/jpeg_decoding.h"
#include "pictures/picture_structure.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QImageReader>

namespace {

// Encoders write a dozen scans or so; each scan, even an empty one, is a pass over the whole
// picture, so a file of thousands would keep the decoder busy for minutes.
constexpr int mostScans = 50;
// What Qt's readers may allocate for one picture, in megabytes.
constexpr int mostReaderMemory = 256;

QString endsEarlyText()
{
    return QStringLiteral("画像ファイルが途中で終わっています。");
}

QString tooSlowText()
{
    return QStringLiteral("画像を読むのに時間がかかりすぎるので、読むのをやめました。");
}

// The file as Qt's readers see it, which stops giving them data past the deadline: they read
// as they decode, so none of them decodes much further.
class DeadlineBuffer : public QBuffer {
public:
    explicit DeadlineBuffer(QDeadlineTimer deadline) : deadline(deadline) {}
    bool expired() const { return pastDeadline; }

protected:
    qint64 readData(char *data, qint64 most) override
    {
        if (deadline.hasExpired()) {
            pastDeadline = true;
            return -1;
        }
        return QBuffer::readData(data, most);
    }

private:
    QDeadlineTimer deadline;
    bool pastDeadline = false;
};

QString brokenText(const QByteArray &format)
{
    return QStringLiteral("%1 画像の中身が壊れていて読めません。").arg(QString::fromLatin1(format));
}

QString tooLargeText(QSize size)
{
    return QStringLiteral("画像が大きすぎて読めません（%1 × %2 ピクセル）。")
        .arg(size.width())
        .arg(size.height());
}

// Refusals from the file's structure alone, before a pixel is decoded.
QString refusal(const PictureStructure &structure, qint64 mostPixels)
{
    if (structure.format.isEmpty() || structure.size.isEmpty())
        return QStringLiteral("画像として読めないファイルです。");
    if (structure.largestArea > mostPixels)
        return structure.largestArea > qint64(structure.size.width()) * structure.size.height()
                   ? QStringLiteral("GIF の中のコマが大きすぎて読めません。")
                   : tooLargeText(structure.size);
    if (structure.scans > mostScans)
        return QStringLiteral("JPEG のスキャンが %1 回もあり、読めません（写真でも十数回です）。")
            .arg(structure.scans);
    if (structure.endsEarly)
        return endsEarlyText();
    return {};
}

QString jpegProblem(JpegDecoding::Outcome outcome, QSize size)
{
    switch (outcome) {
    case JpegDecoding::Outcome::Decoded:
        return {};
    case JpegDecoding::Outcome::EndsEarly:
        return endsEarlyText();
    case JpegDecoding::Outcome::TooSlow:
        return tooSlowText();
    case JpegDecoding::Outcome::TooLarge:
        return tooLargeText(size);
    case JpegDecoding::Outcome::Broken:
        break;
    }
    return brokenText("JPEG");
}

QImage readWithQt(const QByteArray &bytes, const QByteArray &format, QSize scaledSize,
                  QDeadlineTimer deadline, QString *problem)
{
    DeadlineBuffer buffer(deadline);
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(mostReaderMemory);
    if (scaledSize.isValid())
        reader.setScaledSize(scaledSize);
    QImage picture;
    if (!reader.read(&picture) || buffer.expired()) {
        *problem = buffer.expired() ? tooSlowText() : brokenText(format);
        return {};
    }
    return picture;
}

} // namespace

DecodedPicture DecodePicture(const QByteArray &bytes, const PictureDecoding &decoding)
{
    const QDeadlineTimer deadline(decoding.time);
    const PictureStructure structure = ReadPictureStructure(bytes);
    DecodedPicture decoded;
    decoded.format = structure.format;
    decoded.size = structure.size;
    decoded.frames = structure.frames;
    decoded.problem = refusal(structure, decoding.mostPixels);
    if (!decoded.problem.isEmpty())
        return decoded;
    QSize scaledSize = decoding.sizeFor ? decoding.sizeFor(structure.format, structure.size)
                                        : structure.size;
    if (scaledSize == structure.size)
        scaledSize = QSize();
    if (structure.format == "JPEG") {
        JpegDecoding jpeg = DecodeJpeg(bytes, scaledSize, decoding.corner, deadline);
        decoded.problem = jpegProblem(jpeg.outcome, structure.size);
        decoded.picture = std::move(jpeg.picture);
        return decoded;
    }
    decoded.picture = readWithQt(bytes, structure.format, scaledSize, deadline, &decoded.problem);
    if (decoding.corner.isValid() && !decoded.picture.isNull())
        decoded.picture = decoded.picture.copy(QRect(QPoint(), decoding.corner)
                                                   .intersected(decoded.picture.rect()));
    return decoded;
}
