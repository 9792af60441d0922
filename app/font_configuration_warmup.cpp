#include "app/font_configuration_warmup.h"

#ifdef MOPECO_HAS_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontConfigurationWarmup::FontConfigurationWarmup()
{
#ifdef MOPECO_HAS_FONTCONFIG
    // The configuration read becomes the one in force; fontconfig is safe across threads.
    reading = std::thread([] { FcInit(); });
#endif
}

FontConfigurationWarmup::~FontConfigurationWarmup()
{
    wait();
}

void FontConfigurationWarmup::wait()
{
    if (reading.joinable())
        reading.join();
}
