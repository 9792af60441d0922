#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Whether zbarimg, the QR code reader the tests read codes back with, is installed.
bool qrReaderInstalled();

// The bytes of the QR code in a picture file as zbarimg reads them, without converting them
// from any character set: "-Sbinary" hands out the code's bytes as they are, Shift-JIS
// included. Nothing when it finds no code.
std::optional<QByteArray> readQrCode(const QString &pictureFile);
