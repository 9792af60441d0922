#pragma once

#include <QString>

#include <stdexcept>

// A failure that stops a user action; its message is shown to the user as it is.
class UserError : public std::runtime_error {
public:
    explicit UserError(const QString &message);

    QString message() const { return text; }

protected:
    QString text;
};

// A failed file operation, carrying the platform's message for it. Every user action that
// touches a file throws this and its handler's guard shows the message.
class IoError : public UserError {
public:
    enum class Kind { NotFound, AccessDenied, NotANumber, DiskFull, TooLarge, Other };

    explicit IoError(Kind kind);

    Kind kind() const { return errorKind; }

    // The line of the file that went wrong; shown once the file is named.
    IoError &onLine(int line);

    // Names the file (and the line, when known) on a second line below the message, so the
    // user can find and mend it.
    IoError &inFile(const QString &path);

    // Records the file the error is about, leaving the message as the window shows it.
    IoError &about(const QString &path);

    // The error for a failed system call, from its errno value.
    static IoError fromErrno(int errorNumber);

    // The error for a file that could not be opened at `path`, judged from errno and from what
    // lies at the path.
    static IoError forOpen(const QString &path, int errorNumber);

    // The error for `path`, opened as `mode` says it is, when that is no regular file.
    static IoError forNotAFile(const QString &path, unsigned mode);

    // Why, in words that say what the program knows: what lies at the path when it is no file
    // ("フォルダです", "リンク先のないシンボリックリンクです"), what the system said beyond
    // the message ("名前が長すぎます"), or else the message.
    QString reason() const;

    // The file and why, on one line: "「/home/user/page.html」: ディスクがいっぱいです"; the
    // reason alone when no file is known.
    QString explained() const;

private:
    // The kind of a failed system call's errno value.
    static IoError kindOf(int errorNumber);

    Kind errorKind;
    int lineNumber = 0;
    QString filePath;
    QString cause; // beyond the message; empty when the message says it all
};

// The platform's message for each kind, shown exactly so.
QString messageFor(IoError::Kind kind);

// A text that should convert to a number and does not, at `character` (empty when the text
// ends too early).
UserError notAnInteger(const QString &character);
