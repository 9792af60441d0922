// Any text as a publish destination's address and as a name on the server: a clear message,
// or a destination that writes out and reads back the same, with no password kept. Any bytes
// as the certificate a server shows and as a fingerprint typed: a key within the bytes, or none.
#include "fuzz_inputs.h"
#include "publish/publish_destination.h"
#include "publish/publish_plan.h"
#include "publish/server_key.h"

#include <QString>
#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(fileBytes(data, size));
    const DestinationReading reading = ReadDestinationAddress(text);
    require(reading.destination.has_value() == reading.problem.isEmpty());
    if (reading.destination) {
        const DestinationReading again = ReadDestinationAddress(DestinationAddress(*reading.destination));
        require(again.destination && *again.destination == *reading.destination);
    }
    if (IsPublishableName(text)) {
        const QStringList parts = text.split(QLatin1Char('/'));
        require(!parts.contains(QStringLiteral("..")) && !parts.contains(QString()) && text == text.toLower());
    }
    const QByteArray bytes = fileBytes(data, size);
    if (const auto key = CertificatePublicKey(bytes))
        require(!key->isEmpty() && (bytes.contains(*key) || bytes.contains("CERTIFICATE")));
    if (const auto fingerprint = ReadKeyFingerprint(text))
        require(ReadKeyFingerprint(*fingerprint) == fingerprint && PinnedKeyOption(*fingerprint).size() == 52);
    return 0;
}
