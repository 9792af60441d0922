// Work kept for recovery by programs of one folder: what an ended program left is found, what a
// running one keeps is never touched, and a file that cannot be used is set aside, never
// opened half.

#include "model/project_file.h"
#include "model/recovery_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
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

void waitFor(pid_t child)
{
    int status = 0;
    waitpid(child, &status, 0);
}

QString keptBy(const QString &folder, pid_t process)
{
    return QDir(folder).filePath(QStringLiteral("recovery-%1.mpk").arg(process));
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private slots:
    void leftWork_data();
    void leftWork();
    void runningProgramsKeepTheirOwn();
};

void RecoveryTest::leftWork_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("setAside"); // what the user is told; empty: the work is found
    QTest::newRow("as kept") << "" << "";
    QTest::newRow("not a project") << "work" << "壊れている";
    QTest::newRow("another version") << "version" << "ほかの版のモペコ";
    QTest::newRow("cannot be read") << "access" << "読めない（ファイルへのアクセスが拒否されました）";
}

void RecoveryTest::leftWork()
{
    QFETCH(QString, damage);
    QFETCH(QString, setAside);
    QTemporaryDir folder;
    const pid_t ended = programKeeping(folder.path(), false);
    waitFor(ended);
    const QString kept = keptBy(folder.path(), ended);
    QVERIFY(QFileInfo::exists(kept));
    if (damage == "work")
        writeBytes(kept, "\x89PNG\r\n");
    else if (damage == "version")
        writeBytes(kept + ".ini", "[recovery]\r\nversion=1.0\r\norigin=\r\n");
    else if (damage == "access")
        QFile::setPermissions(kept, {});

    LeftWorkFound found;
    {
        WithoutAccessOverride asUser;
        found = FindLeftWork(folder.path(), QStringLiteral("mpk"), isProject);
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
    QVERIFY(!FindLeftWork(folder.path(), QStringLiteral("mpk"), isProject).work);
}

// Two programs of one folder: each keeps its own file, and a running program's is never
// offered or set aside by the other; once it is killed, its work is found.
void RecoveryTest::runningProgramsKeepTheirOwn()
{
    QTemporaryDir folder;
    const pid_t running = programKeeping(folder.path(), true);
    const QString kept = keptBy(folder.path(), running);
    for (int tries = 0; tries < 200 && !QFileInfo::exists(kept); ++tries)
        QTest::qWait(10);
    QVERIFY(QFileInfo::exists(kept));
    RecoveryFile own(folder.path(), QStringLiteral("mpk"));
    own.keep("mine", {});

    const LeftWorkFound whileRunning = FindLeftWork(folder.path(), QStringLiteral("mpk"), isProject);
    QVERIFY(!whileRunning.work);
    QCOMPARE(whileRunning.setAside, QString());
    QCOMPARE(readBytes(kept), work());

    kill(running, SIGKILL);
    waitFor(running);
    const LeftWorkFound afterKill = FindLeftWork(folder.path(), QStringLiteral("mpk"), isProject);
    QVERIFY(afterKill.work);
    QCOMPARE(afterKill.work->path, kept);
    QCOMPARE(readBytes(own.path()), QByteArray("mine")); // its own is not left work
}

QTEST_GUILESS_MAIN(RecoveryTest)
#include "tst_recovery.moc"
