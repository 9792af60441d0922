#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (a shut-down, a logout, the terminal's Ctrl+C) end the program the
// way its close does, instead of at once with its unsaved work: the handler only writes the
// signal to a socket, whose other end the event loop reads and hands to `end`.
class EndingSignals : public QObject {
    Q_OBJECT

public:
    explicit EndingSignals(std::function<void()> end, QObject *parent = nullptr);
    // The signals end the program at once again.
    ~EndingSignals() override;

private:
    std::function<void()> end;
    int sockets[2] = {-1, -1}; // the handler writes to [0], the event loop reads [1]
    QSocketNotifier *notifier = nullptr;
};
