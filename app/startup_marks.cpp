#include "app/startup_marks.h"

#include <QEvent>
#include <QObject>

#include <chrono>
#include <cstdlib>

namespace {

class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(StartupMarks &marks) : marks(marks) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            marks.mark("painting");
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    StartupMarks &marks;
};

} // namespace

StartupMarks::StartupMarks()
{
    const char *file = std::getenv("MOPECO_STARTUP_MARKS");
    if (file && *file)
        out = std::fopen(file, "w");
    mark("main");
}

StartupMarks::~StartupMarks()
{
    if (out)
        std::fclose(out);
}

void StartupMarks::mark(const char *step)
{
    if (!out)
        return;
    // Written through at once: the benchmark stops the program without letting it end.
    std::fprintf(out, "%s %lld\n", step,
                 static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                            std::chrono::steady_clock::now().time_since_epoch())
                                            .count()));
    std::fflush(out);
}

void StartupMarks::markFirstPaintOf(QObject &window)
{
    if (!out)
        return;
    paintWatch = std::make_unique<FirstPaintWatch>(*this);
    window.installEventFilter(paintWatch.get());
}
