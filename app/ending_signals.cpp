#include "app/ending_signals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <utility>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array endingSignals{SIGTERM, SIGHUP, SIGINT};

// A signal handler is given nothing but the signal's number: the socket it writes to can only
// be found here.
volatile sig_atomic_t signalSocket = -1;

void onEndingSignal(int signal)
{
    const int savedErrno = errno;
    const char number = static_cast<char>(signal);
    // Async-signal-safe; a full socket already holds a signal that ends the program.
    [[maybe_unused]] const ssize_t written = ::write(signalSocket, &number, 1);
    errno = savedErrno;
}

// A signal the program was started to ignore (nohup's SIGHUP) stays ignored.
void handleWith(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : endingSignals) {
        struct sigaction before {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
    }
}

} // namespace

EndingSignals::EndingSignals(std::function<void()> end, QObject *parent)
    : QObject(parent), end(std::move(end))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, sockets) != 0)
        return;
    signalSocket = sockets[0];
    notifier = new QSocketNotifier(sockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char number = 0;
        while (::read(sockets[1], &number, 1) == 1) {
        }
        this->end();
    });
    handleWith(onEndingSignal);
}

EndingSignals::~EndingSignals()
{
    if (!notifier)
        return;
    handleWith(SIG_DFL);
    signalSocket = -1;
    delete notifier;
    ::close(sockets[0]);
    ::close(sockets[1]);
}
