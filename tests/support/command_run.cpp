#include "support/command_run.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>

#include <sys/resource.h>

Ran runWithoutDisplay(const QStringList &arguments, const QString &folder, qint64 largestFile)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    // A disk that fills up: no file grows past the limit.
    if (largestFile > 0)
        program.setChildProcessModifier([largestFile] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(largestFile), rlim_t(largestFile)};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    program.start(qEnvironmentVariable("MOPECO"), arguments);
    Ran ran;
    if (program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit)
        ran.exitCode = program.exitCode();
    ran.out = program.readAllStandardOutput();
    ran.err = program.readAllStandardError();
    return ran;
}
