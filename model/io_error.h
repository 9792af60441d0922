#pragma once

#include <QString>

#include <stdexcept>

// A failed file operation, carrying the platform's message for it. Every user action that
// touches a file throws this and its handler's guard shows the message.
class IoError : public std::runtime_error {
public:
    enum class Kind { NotFound, AccessDenied, NotANumber, DiskFull, Other };

    explicit IoError(Kind kind);

    QString message() const;

    // The error for a failed system call, from its errno value.
    static IoError fromErrno(int errorNumber);

    // The error for a file that could not be opened at `path`, judged from errno and from what
    // lies at the path.
    static IoError forOpen(const QString &path, int errorNumber);

private:
    Kind errorKind;
};

// The platform's message for each kind, shown exactly so.
QString messageFor(IoError::Kind kind);
