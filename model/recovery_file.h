#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

// Unsaved work kept safe in the program folder while the program runs: for each running
// program and each kind of work one file in that work's own format ("recovery-1234.mpk" for the
// page's project, "recovery-1234.map" for a text map, 1234 the program's process), and beside
// it what the work came from ("recovery-1234.mpk.ini": the program's version and the file the
// work was opened from or saved to). A lock ("recovery-1234.lock") held while the program runs
// tells a running program's files from those a closed or ended one left.
class RecoveryFile {
public:
    // The work of kind `extension` ("mpk", "map") of this program, in `programFolder`.
    RecoveryFile(const QString &programFolder, const QString &extension);
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile &) = delete;
    RecoveryFile &operator=(const RecoveryFile &) = delete;

    // Writes the work, and the file it came from (empty for none), through the one atomic write
    // path. Throws IoError when it cannot be kept.
    void keep(const QByteArray &work, const QString &origin);

    // Removes the kept work; nothing when there is none.
    void remove();

    QString path() const;

private:
    QString programFolder;
    QString extension;
    bool kept = false;
    std::unique_ptr<QLockFile> lock; // held from the first keeping to the end of the run
};

// Work a program left behind: one that was closed, or ended by a fault or a kill, before its
// work was saved.
struct LeftWork {
    QString path;     // the recovery file
    QByteArray work;  // its bytes
    QString origin;   // the file the work came from; empty for none
    QDateTime when;   // when it was kept
};

// What a look for left work found.
struct LeftWorkFound {
    std::optional<LeftWork> work;
    // Recovery files that could not be used, each set aside under a name with the date
    // ("recovery-1234-20261207-215000.mpk"): what the user is told of them; empty for none.
    QString setAside;
};

// The newest work of kind `extension` that no running program keeps, read and checked with
// `readable` (which says whether the bytes hold such work); the kept files of programs that
// run are never touched. A file that cannot be read, is not such work, or comes from another
// version of the program, is set aside. The work found stays until ForgetLeftWork.
LeftWorkFound FindLeftWork(const QString &programFolder, const QString &extension,
                           bool (*readable)(const QByteArray &));

// Removes the left work's files, once it was taken back or given up.
void ForgetLeftWork(const LeftWork &work);
