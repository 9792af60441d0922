#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a run of the program printed, and how it ended.
struct Ran {
    QByteArray out;
    QByteArray err;
    int exitCode = -1; // also when it crashed or did not end
};

// The program the tests are given (MOPECO) run as a user would, on a machine with no display at
// all, from the projects' folder (CHECK_DATA) unless another is named; with `largestFile`, no
// file it writes grows past that size, as on a disk that fills up.
Ran runWithoutDisplay(const QStringList &arguments,
                      const QString &folder = qEnvironmentVariable("CHECK_DATA"),
                      qint64 largestFile = 0);
