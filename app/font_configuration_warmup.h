#pragma once

#include <thread>

// Qt reads the desktop's font configuration when the first text is measured: some
// milliseconds of start-up in which the window waits. The configuration is read here on a
// second thread while the application connects to the display; wait() comes before the first
// font. Where the program is built without fontconfig, nothing is read ahead.
class FontConfigurationWarmup {
public:
    FontConfigurationWarmup();
    ~FontConfigurationWarmup();
    FontConfigurationWarmup(const FontConfigurationWarmup &) = delete;
    FontConfigurationWarmup &operator=(const FontConfigurationWarmup &) = delete;

    void wait();

private:
    std::thread reading;
};
