// Any bytes as a picture to fit to a phone: a picture within the budget and the screen, or a
// message and nothing, in bounded time and memory whatever size the file claims.
#include "fuzz_inputs.h"
#include "imode/handsets.h"
#include "pictures/picture_fitting.h"

#include <QGuiApplication>

// Qt's image readers and the JPEG writer want an application.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

// The first byte chooses the handset and the budget; the rest is the picture file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const QStringList handsets{"D501i", "N502i", "D502i", "D503i", "N503i", "SH505i", "N2002"};
    const Handset handset = *FindHandset(handsets[data[0] % handsets.size()]);
    const qint64 budget = 200 + qint64(data[0] >> 3) * 400;
    const FittedPicture fitted = FitPicture(fileBytes(data + 1, size - 1), handset, budget);
    require(fitted.bytes.isEmpty() != fitted.problem.isEmpty());
    require(fitted.bytes.size() <= budget);
    require(fitted.bytes.isEmpty()
            || (fitted.size.width() <= handset.screenWidth
                && fitted.size.height() <= 8 * handset.screenWidth));
    return 0;
}
