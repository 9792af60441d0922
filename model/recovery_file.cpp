#include "model/recovery_file.h"

#include "model/ini_text.h"
#include "model/io_error.h"
#include "model/text_reader.h"
#include "model/text_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

namespace {

QString workPath(const QString &programFolder, qint64 process, const QString &extension)
{
    return QDir(programFolder).filePath(QStringLiteral("recovery-%1.%2").arg(process).arg(extension));
}

QString aboutPath(const QString &work)
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

// The work and its notes moved out of the way under a name with the date, which no look for
// left work takes up again; what the user is told of it.
QString setAside(const QString &work, const QString &why)
{
    const QFileInfo info(work);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString aside = info.dir().filePath(
        QStringLiteral("unusable-%1-%2.%3").arg(info.completeBaseName(), stamp, info.suffix()));
    QFile::remove(aboutPath(work));
    const bool moved = QFile::rename(work, aside);
    return QStringLiteral("前回保存していない作業の控え「%1」は%2ので、開けません。%3")
        .arg(QDir::toNativeSeparators(work), why,
             moved ? QStringLiteral("「%1」として残しました。").arg(QDir::toNativeSeparators(aside))
                   : QString());
}

} // namespace

RecoveryFile::RecoveryFile(const QString &programFolder, const QString &extension)
    : programFolder(programFolder), extension(extension)
{
}

// The kept work stays for the next start: it is the point of keeping it.
RecoveryFile::~RecoveryFile() = default;

QString RecoveryFile::path() const
{
    return workPath(programFolder, QCoreApplication::applicationPid(), extension);
}

void RecoveryFile::keep(const QByteArray &work, const QString &origin)
{
    if (!lock) {
        lock = std::make_unique<QLockFile>(lockPath(path()));
        // However long the program runs, its lock stays; one a program of old left under this
        // process number is taken over, as its program is not running.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            lock.reset();
    }
    QByteArray about = withIniValue({}, "recovery", "version", programVersion());
    about = withIniValue(about, "recovery", "origin", origin.toUtf8());
    saveFileBytes(aboutPath(path()), about);
    saveFileBytes(path(), work);
    kept = true;
}

void RecoveryFile::remove()
{
    if (!kept && !QFileInfo::exists(path()))
        return;
    QFile::remove(path());
    QFile::remove(aboutPath(path()));
    kept = false;
}

LeftWorkFound FindLeftWork(const QString &programFolder, const QString &extension,
                           bool (*readable)(const QByteArray &))
{
    static const QRegularExpression name(QStringLiteral("^recovery-(\\d+)\\.(\\w+)$"));
    const QDir folder(programFolder);
    QList<QFileInfo> left;
    for (const QFileInfo &file : folder.entryInfoList({QStringLiteral("recovery-*.") + extension},
                                                      QDir::Files, QDir::Time)) {
        const QRegularExpressionMatch match = name.match(file.fileName());
        if (!match.hasMatch() || match.captured(2) != extension
            || match.captured(1).toLongLong() == QCoreApplication::applicationPid())
            continue;
        // A program that runs holds its lock; one that ended cannot.
        QLockFile lock(lockPath(file.filePath()));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        left.append(file);
    }
    LeftWorkFound found;
    QStringList setAsides;
    for (const QFileInfo &file : left) {
        const QString path = file.filePath();
        try {
            const QByteArray work = readFileBytes(path);
            const QByteArray about =
                QFileInfo::exists(aboutPath(path)) ? readFileBytes(aboutPath(path)) : QByteArray();
            if (iniValue(about, "recovery", "version").value_or(QByteArray()) != programVersion()) {
                setAsides << setAside(path, QStringLiteral("ほかの版のモペコが書いたものな"));
                continue;
            }
            bool ok = false;
            try {
                ok = readable(work);
            } catch (const UserError &) {
            }
            if (!ok) {
                setAsides << setAside(path, QStringLiteral("壊れている"));
                continue;
            }
            if (!found.work)
                found.work = LeftWork{path, work,
                                      iniString(iniValue(about, "recovery", "origin").value_or(QByteArray())),
                                      file.lastModified()};
        } catch (const IoError &error) {
            setAsides << setAside(path, QStringLiteral("読めない（%1）")
                                            .arg(error.message().section(QLatin1Char('\n'), 0, 0)));
        }
    }
    found.setAside = setAsides.join(QLatin1Char('\n'));
    return found;
}

void ForgetLeftWork(const LeftWork &work)
{
    QFile::remove(work.path);
    QFile::remove(aboutPath(work.path));
}
