#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <functional>

// Lines joined as a data file holds them: each followed by CR LF.
QByteArray crlfLines(const QList<QByteArray> &lines);

// The lines of a data file, without their CR LF; fails the test on a line end of another kind.
QList<QByteArray> splitCrlf(const QByteArray &bytes);

void writeBytes(const QString &path, const QByteArray &bytes);
QByteArray readBytes(const QString &path);

// The file Qt writes of `picture` in `format` ("PNG", "JPG", "BMP").
QByteArray encodedPicture(const QImage &picture, const char *format);

// A camera's photo as far as a converter can tell: smooth shading with grain, and a light
// square in the middle; the same pixels every time.
QImage cameraPhoto(QSize size);

// Whether the pictures show the same pixels, whatever their formats.
bool sameImage(const QImage &a, const QImage &b);

// Text as Shift-JIS bytes, for writing expectations in readable Japanese.
QByteArray sj(const char *utf8);

// The message of the error the action stops with; empty when it throws none.
QString messageOf(const std::function<void()> &action);

// The folder of the shipped data files (catalogue and patterns).
QString dataFolder();

// While it lives, the test process is refused files and folders the way a normal user is,
// even when it runs as root (the permission override is dropped from its effective set).
class WithoutAccessOverride {
public:
    WithoutAccessOverride();
    ~WithoutAccessOverride();
    WithoutAccessOverride(const WithoutAccessOverride &) = delete;
    WithoutAccessOverride &operator=(const WithoutAccessOverride &) = delete;

private:
    bool dropped = false;
};
