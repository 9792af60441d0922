#include "settings/recovery_file.h"

#include "text/ini_text.h"
#include "text/io_error.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The notes hold a version, a path and two numbers: anything longer is no notes of ours.
constexpr qint64 MaxNotesBytes = 64 * 1024;

QString notesPath(const QString &work)
{
    return work + QStringLiteral(".ini");
}

QString lockPath(const QString &work)
{
    return work + QStringLiteral(".lock");
}

const QByteArray &programVersion()
{
    static const QByteArray version(MOPECO_VERSION);
    return version;
}

QByteArray checksumOf(const QByteArray &work)
{
    return QCryptographicHash::hash(work, QCryptographicHash::Sha256).toHex();
}

QByteArray notesOf(const QByteArray &work, const QString &origin)
{
    QByteArray notes = withIniValue({}, "recovery", "version", programVersion());
    notes = withIniValue(notes, "recovery", "origin", origin.toUtf8());
    notes = withIniValue(notes, "recovery", "size", QByteArray::number(work.size()));
    return withIniValue(notes, "recovery", "sha256", checksumOf(work));
}

// Whether the work is whole: as long as its notes say, with the checksum they give.
bool matchesNotes(const QByteArray &work, const QByteArray &notes)
{
    return iniValue(notes, "recovery", "size") == QByteArray::number(work.size())
        && iniValue(notes, "recovery", "sha256") == checksumOf(work);
}

// Whether a program holds the lock at `path`: Qt keeps it locked with flock() for as long as it
// holds it, and the kernel lets go of that when the program ends, however it ends.
bool heldOpen(const QString &path)
{
    const int file = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const bool held = ::flock(file, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(file);
    return held;
}

// Whether the program that kept the work at `work` has ended. A running program holds its
// lock; what stands in its place and no program can hold (a folder, a symbolic link, an
// unreadable lock), and a lock of another computer whose program cannot be asked, are left
// over. So is a lock naming a running program that no program holds: in a sandbox every run
// has the same process number, and the number of an ended run is that of a running one.
bool leftBehind(const QString &work)
{
    const QFileInfo lockInfo(lockPath(work));
    if (!lockInfo.exists() && !lockInfo.isSymLink())
        return true;
    if (lockInfo.isSymLink() || !lockInfo.isFile())
        return true;
    QLockFile lock(lockInfo.filePath());
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return true;
    qint64 process = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&process, &host, &application))
        return true;
    return host != QSysInfo::machineHostName() || !heldOpen(lockInfo.filePath());
}

// The work, its notes and its lock, once the work is taken back, given up or set aside. A lock
// that is a folder stays: it holds no work, and no look for work takes it up.
void removeWithNotes(const QString &work)
{
    QFile::remove(work);
    QFile::remove(notesPath(work));
    QFile::remove(lockPath(work));
}

// The work moved out of the way under a name with the date, which no look for left work takes
// up again, its notes and lock gone with it; what the user is told of it.
QString setAside(const QString &work, const QString &why)
{
    const QFileInfo info(work);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString aside = info.dir().filePath(
        QStringLiteral("unusable-%1-%2.%3").arg(info.completeBaseName(), stamp, info.suffix()));
    const bool moved = QFile::rename(work, aside);
    if (moved)
        removeWithNotes(work);
    return QStringLiteral("前回保存していない作業の控え「%1」は%2ので、開けません。%3")
        .arg(QDir::toNativeSeparators(work), why,
             moved ? QStringLiteral("「%1」として残しました。").arg(QDir::toNativeSeparators(aside))
                   : QString());
}

// The left work at `file`, checked; what the user is told when it is set aside instead.
std::optional<LeftWork> takenBack(const QFileInfo &file, bool (*readable)(const QByteArray &),
                                  QStringList &setAsides)
{
    const QString path = file.filePath();
    try {
        // Read no further: a file this large would fill the memory before it is refused.
        if (file.size() > MaxRecoveryBytes) {
            setAsides << setAside(path, QStringLiteral("大きすぎる"));
            return std::nullopt;
        }
        const QByteArray notes = QFileInfo::exists(notesPath(path))
                                     ? readFileBytes(notesPath(path), MaxNotesBytes)
                                     : QByteArray();
        const std::optional<QByteArray> version = iniValue(notes, "recovery", "version");
        // Work without its notes was cut off before they were written.
        if (!version) {
            setAsides << setAside(path, QStringLiteral("壊れている"));
            return std::nullopt;
        }
        if (*version != programVersion()) {
            setAsides << setAside(path, QStringLiteral("ほかの版のモペコが書いたものな"));
            return std::nullopt;
        }
        const QByteArray work = readFileBytes(path, MaxRecoveryBytes);
        bool ok = matchesNotes(work, notes);
        try {
            ok = ok && readable(work);
        } catch (const UserError &) {
            ok = false;
        }
        if (!ok) {
            setAsides << setAside(path, QStringLiteral("壊れている"));
            return std::nullopt;
        }
        return LeftWork{path, work,
                        QString::fromUtf8(iniValue(notes, "recovery", "origin").value_or(QByteArray())),
                        file.lastModified()};
    } catch (const IoError &error) {
        setAsides << setAside(path, QStringLiteral("読めない（%1）")
                                        .arg(error.message().section(QLatin1Char('\n'), 0, 0)));
        return std::nullopt;
    }
}

} // namespace

RecoveryFile::RecoveryFile(const QString &programFolder, const QString &extension,
                           const QString &userFolder)
    : programFolder(programFolder),
      userFolder(userFolder),
      kind(extension),
      name(QStringLiteral("recovery-%1.%2")
               .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'))
               .arg(extension)),
      folder(programFolder)
{
}

// The kept work stays for the next start: it is the point of keeping it.
RecoveryFile::~RecoveryFile() = default;

QString RecoveryFile::path() const
{
    return QDir(folder).filePath(name);
}

bool RecoveryFile::inUserFolder() const
{
    return folder != programFolder;
}

QStringList RecoveryFile::folders() const
{
    QStringList both{programFolder};
    if (!userFolder.isEmpty() && QDir(userFolder) != QDir(programFolder))
        both << userFolder;
    return both;
}

void RecoveryFile::keepHere(const QByteArray &work, const QString &origin)
{
    if (!lock) {
        lock = std::make_unique<QLockFile>(lockPath(path()));
        // However long the program runs, its lock stays.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            lock.reset();
    }
    // The work first: notes that name it are written only once it is whole.
    saveFileBytes(path(), work);
    saveFileBytes(notesPath(path()), notesOf(work, origin));
    kept = true;
}

void RecoveryFile::keep(const QByteArray &work, const QString &origin)
{
    try {
        keepHere(work, origin);
    } catch (const IoError &) {
        if (inUserFolder() || folders().size() < 2)
            throw;
        const QString before = path();
        lock.reset();
        folder = userFolder;
        try {
            QDir().mkpath(userFolder);
            keepHere(work, origin);
        } catch (const IoError &) {
            lock.reset();
            folder = programFolder;
            throw;
        }
        // An older copy in the program folder would be offered beside this one.
        removeWithNotes(before);
    }
}

void RecoveryFile::remove()
{
    if (!kept && !QFileInfo::exists(path()))
        return;
    QFile::remove(path());
    QFile::remove(notesPath(path()));
    kept = false;
}

LeftWorkFound FindLeftWork(const RecoveryFile &own, bool (*readable)(const QByteArray &))
{
    // Programs of old named the file by their process number, which the pattern takes too.
    static const QRegularExpression name(QStringLiteral("^recovery-[0-9a-f]+\\.(\\w+)$"));
    const QString ownName = QFileInfo(own.path()).fileName();
    QList<QFileInfo> left;
    for (const QString &folder : own.folders())
        for (const QFileInfo &file :
             QDir(folder).entryInfoList({QStringLiteral("recovery-*.") + own.extension()},
                                        QDir::Files)) {
            const QRegularExpressionMatch match = name.match(file.fileName());
            if (match.hasMatch() && match.captured(1) == own.extension()
                && file.fileName() != ownName && leftBehind(file.filePath()))
                left.append(file);
        }
    std::sort(left.begin(), left.end(), [](const QFileInfo &one, const QFileInfo &other) {
        return one.lastModified() > other.lastModified();
    });
    LeftWorkFound found;
    QStringList setAsides;
    for (const QFileInfo &file : left) {
        std::optional<LeftWork> work = takenBack(file, readable, setAsides);
        if (!found.work)
            found.work = std::move(work);
    }
    found.setAside = setAsides.join(QLatin1Char('\n'));
    return found;
}

void ForgetLeftWork(const LeftWork &work)
{
    removeWithNotes(work.path);
}
