// Any bytes as a page's title and address, made into a QR code: a symbol of version 10 at most,
// drawn within its bounds, or a message; a bookmark's title loses its markup, never its form;
// an address with a scheme is never one without a server.
#include "fuzz_inputs.h"
#include "pictures/qr_code.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fileBytes(data, size);
    const qsizetype half = bytes.size() / 2;
    const QByteArray bookmark = BookmarkText(bytes.left(half), bytes.mid(half));
    require(bookmark.startsWith("MEBKM:") && bookmark.endsWith(";;"));
    PageAddress(bytes.left(half), QString::fromUtf8(bytes.mid(half)));
    const QString address = QString::fromUtf8(bytes);
    if (address.trimmed().startsWith(QLatin1String("http://")))
        require(!AddressWithoutHost(address));
    for (const QByteArray &text : {bytes, bookmark}) {
        const QrSymbol symbol = MakeQrCode(text);
        if (!symbol.problem.isEmpty())
            continue;
        require(symbol.version >= 1 && symbol.version <= 10);
        require(symbol.modules.size() == symbol.modulesAcross * symbol.modulesAcross);
        const QImage drawn = DrawQrCode(symbol, 3);
        require(drawn.width() == (symbol.modulesAcross + 8) * 3);
    }
    return 0;
}
