// Work kept for recovery by programs of one folder: what an ended program left is found, what a
// running one keeps is never touched, and a file that cannot be used is set aside, never
// opened half.

#include "page/project_file.h"
#include "settings/recovery_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The project of a page whose title was typed.
QByteArray work()
{
    PageProject page;
    page.Title = "Kept";
    return WriteProject(page);
}

bool isProject(const QByteArray &bytes)
{
    return ReadProjectFile(bytes, PageProject()).has_value();
}

// The program's own recovery file in `folder`, its user's folder beside it.
struct Own {
    explicit Own(const QString &folder) : file(folder, QStringLiteral("mpk"), folder + "/user") {}
    LeftWorkFound find() const { return FindLeftWork(file, isProject); }
    RecoveryFile file;
};

// A program of its own that keeps `bytes` as its unsaved work, and then ends at once, or
// runs until it is killed. Its process.
pid_t programKeeping(const QString &folder, bool keepsRunning)
{
    const pid_t child = fork();
    if (child == 0) {
        RecoveryFile recovery(folder, QStringLiteral("mpk"));
        recovery.keep(work(), QStringLiteral("/home/user/café.mpk"));
        while (keepsRunning)
            pause();
        _exit(0); // as a kill would: nothing is tidied
    }
    return child;
}

// The exit code of the program.
int waitFor(pid_t child)
{
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The one recovery file of kind mpk in `folder`; empty when there is none or more.
QString keptIn(const QString &folder)
{
    const QStringList kept = QDir(folder).entryList({QStringLiteral("recovery-*.mpk")}, QDir::Files);
    return kept.size() == 1 ? QDir(folder).filePath(kept.constFirst()) : QString();
}

// Starts `run` as process 1 of a process namespace of its own, with its own /proc, as every
// program in a sandbox runs. Its process: exit code 254 when no namespace can be made here.
pid_t inOwnProcessNamespace(const std::function<int()> &run)
{
    const pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWPID | CLONE_NEWNS) != 0
            || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            _exit(254);
        const pid_t first = fork();
        if (first == 0) {
            if (mount("proc", "/proc", "proc", 0, nullptr) != 0)
                _exit(254);
            _exit(getpid() == 1 ? run() : 253);
        }
        _exit(waitFor(first));
    }
    return child;
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void leftWork_data();
    void leftWork();
    void leftOverLocks_data();
    void leftOverLocks();
    void runningProgramsKeepTheirOwn();
    void runsWithTheSameProcessNumber();
};

void RecoveryTest::leftWork_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("setAside"); // what the user is told; empty: the work is found
    QTest::newRow("as kept") << "" << "";
    QTest::newRow("not a project") << "work" << "壊れている";
    QTest::newRow("cut after the title") << "title" << "壊れている";
    QTest::newRow("first line only") << "first line" << "壊れている";
    QTest::newRow("another version") << "version" << "ほかの版のモペコ";
    QTest::newRow("cannot be read") << "access" << "読めない（ファイルへのアクセスが拒否されました）";
    QTest::newRow("larger than any work") << "size" << "大きすぎる";
}

void RecoveryTest::leftWork()
{
    QFETCH(QString, damage);
    QFETCH(QString, setAside);
    QTemporaryDir folder;
    waitFor(programKeeping(folder.path(), false));
    const QString kept = keptIn(folder.path());
    QVERIFY(QFileInfo::exists(kept));
    const qsizetype titleEnds = work().indexOf("Kept\r\n") + 6;
    if (damage == "work")
        writeBytes(kept, "\x89PNG\r\n");
    else if (damage == "title")
        writeBytes(kept, work().left(titleEnds));
    else if (damage == "first line")
        writeBytes(kept, work().left(work().indexOf('\n') + 1));
    else if (damage == "version")
        writeBytes(kept + ".ini", "[recovery]\r\nversion=1.0\r\norigin=\r\n");
    else if (damage == "access")
        QFile::setPermissions(kept, {});
    else if (damage == "size")
        QFile::resize(kept, 60 * 1024 * 1024); // sparse: no disk is filled

    const Own own(folder.path());
    LeftWorkFound found;
    {
        WithoutAccessOverride asUser;
        found = own.find();
    }

    if (setAside.isEmpty()) {
        QVERIFY(found.work);
        QCOMPARE(found.work->work, work());
        QCOMPARE(found.work->origin, QStringLiteral("/home/user/café.mpk"));
        QCOMPARE(found.setAside, QString());
        ForgetLeftWork(*found.work);
        QVERIFY(!QFileInfo::exists(kept));
        return;
    }
    QVERIFY(!found.work);
    QVERIFY2(found.setAside.contains(setAside), qPrintable(found.setAside));
    // Set aside under a name with the date, which no later look takes up again.
    QVERIFY(!QFileInfo::exists(kept));
    const QStringList aside = QDir(folder.path()).entryList({QStringLiteral("unusable-*.mpk")});
    QCOMPARE(aside.size(), 1);
    QVERIFY(found.setAside.contains(aside.constFirst()));
    QVERIFY(!own.find().work);
}

// A lock that no running program holds: the work behind it is offered.
void RecoveryTest::leftOverLocks_data()
{
    QTest::addColumn<QString>("lock");
    QTest::newRow("folder") << "folder";
    QTest::newRow("symbolic link") << "link";
    QTest::newRow("another computer's") << "host";
}

void RecoveryTest::leftOverLocks()
{
    QFETCH(QString, lock);
    QTemporaryDir folder;
    waitFor(programKeeping(folder.path(), false));
    const QString kept = keptIn(folder.path());
    const QString lockFile = kept + ".lock";
    QFile::remove(lockFile);
    if (lock == "folder") {
        QVERIFY(QDir().mkdir(lockFile));
    } else if (lock == "link") {
        QVERIFY(QFile::link(folder.filePath("elsewhere"), lockFile));
    } else {
        // As Qt writes a lock: process, program, computer. This process runs, as the program
        // the lock names.
        writeBytes(lockFile, QByteArray::number(QCoreApplication::applicationPid()) + '\n'
                                 + QCoreApplication::applicationName().toUtf8()
                                 + "\nanother-computer\n");
    }

    const LeftWorkFound found = Own(folder.path()).find();
    QVERIFY(found.work);
    QCOMPARE(found.work->work, work());
    ForgetLeftWork(*found.work);
    QVERIFY(!QFileInfo::exists(kept));
}

// Two programs of one folder: each keeps its own file, and a running program's is never
// offered or set aside by the other; once it is killed, its work is found.
void RecoveryTest::runningProgramsKeepTheirOwn()
{
    QTemporaryDir folder;
    const pid_t running = programKeeping(folder.path(), true);
    bool killed = false;
    const auto killRunning = qScopeGuard([&] {
        if (killed)
            return;
        kill(running, SIGKILL);
        waitFor(running);
    });
    for (int tries = 0; tries < 200 && keptIn(folder.path()).isEmpty(); ++tries)
        QTest::qWait(10);
    const QString kept = keptIn(folder.path());
    QVERIFY(QFileInfo::exists(kept));
    Own own(folder.path());
    own.file.keep("mine", {});

    const LeftWorkFound whileRunning = own.find();
    QVERIFY(!whileRunning.work);
    QCOMPARE(whileRunning.setAside, QString());
    QCOMPARE(readBytes(kept), work());

    kill(running, SIGKILL);
    waitFor(running);
    killed = true;
    const LeftWorkFound afterKill = own.find();
    QVERIFY(afterKill.work);
    QCOMPARE(afterKill.work->path, kept);
    QCOMPARE(readBytes(own.file.path()), QByteArray("mine")); // its own is not left work
}

// In a sandbox every run is process 1: the work of a run that still runs is not offered to
// another; once it was killed, it is, and the next run keeps its own beside it.
void RecoveryTest::runsWithTheSameProcessNumber()
{
    QTemporaryDir folder;
    const QString killed = folder.filePath("killed");
    const pid_t first = inOwnProcessNamespace([&] {
        RecoveryFile recovery(folder.path(), QStringLiteral("mpk"));
        recovery.keep(work(), {});
        for (int tries = 0; tries < 1000 && !QFileInfo::exists(killed); ++tries)
            usleep(10000);
        _exit(0); // as a kill would: its lock stays
        return 0;
    });
    // Killed however the test ends.
    auto endFirst = qScopeGuard([&] {
        writeBytes(killed, {});
        waitFor(first);
    });
    int status = 0;
    for (int tries = 0; tries < 500 && keptIn(folder.path()).isEmpty(); ++tries) {
        if (waitpid(first, &status, WNOHANG) == first) {
            if (WIFEXITED(status) && WEXITSTATUS(status) == 254)
                QSKIP("no process namespace can be made here");
            QFAIL("the first run ended early");
        }
        QTest::qWait(10);
    }
    const QString left = keptIn(folder.path());
    QVERIFY(!left.isEmpty());

    const auto looks = [&](bool offered) {
        return waitFor(inOwnProcessNamespace([&] {
            Own own(folder.path());
            const LeftWorkFound found = own.find();
            if (found.work.has_value() != offered || (offered && found.work->path != left))
                return 1;
            own.file.keep("next", {});
            return readBytes(left) == work() ? 0 : 2;
        }));
    };
    QCOMPARE(looks(false), 0);
    endFirst.dismiss();
    writeBytes(killed, {});
    QCOMPARE(waitFor(first), 0);
    QVERIFY(QFileInfo::exists(left + ".lock"));
    QCOMPARE(looks(true), 0);
}

QTEST_GUILESS_MAIN(RecoveryTest)
#include "tst_recovery.moc"
