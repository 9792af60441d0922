// Any text as a publish destination's address and as a name on the server: a clear message,
// or a destination that writes out and reads back the same, with no password kept.
#include "fuzz_inputs.h"
#include "publish/publish_destination.h"
#include "publish/publish_plan.h"

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
    return 0;
}
