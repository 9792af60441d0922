#pragma once

#include <cstdio>
#include <memory>

class QObject;

// Where start-up spends its time, for bench/startup.sh. When the environment variable
// MOPECO_STARTUP_MARKS names a file, each step reached is written to it at once as "step
// nanoseconds", read on the steady clock the benchmark starts its own count on; otherwise a
// mark does nothing.
class StartupMarks {
public:
    StartupMarks();
    ~StartupMarks();
    StartupMarks(const StartupMarks &) = delete;
    StartupMarks &operator=(const StartupMarks &) = delete;

    void mark(const char *step);
    // Marks "painting" when `window` is first painted.
    void markFirstPaintOf(QObject &window);

private:
    std::FILE *out = nullptr;
    std::unique_ptr<QObject> paintWatch;
};
