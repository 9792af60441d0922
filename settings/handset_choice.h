#pragma once

#include "imode/handsets.h"

#include <QObject>
#include <QString>

// The handset the page is meant for: one choice that both handset boxes, the size meter, the
// phone preview and "mopeco.ini" follow. The kept choice is read at the first asking, so the
// program's start-up waits for no table.
class HandsetChoice : public QObject {
    Q_OBJECT

public:
    // `programFolder` is where "mopeco.ini" lies; it is read when first needed.
    explicit HandsetChoice(const QString &programFolder) : programFolder(programFolder) {}

    // The handset in force: the one kept in "mopeco.ini", or the default handset when none is
    // kept or the file cannot be read.
    const Handset &handset();

    // Why the kept choice could not be read; empty when it could.
    QString readProblem();

    // Makes the handset named `name` the one in force, when there is such a handset and it is
    // not in force already: keeps it in "mopeco.ini" and announces it. Returns why it could
    // not be kept; empty when it was, or when nothing changed.
    [[nodiscard]] QString choose(const QString &name);

signals:
    void changed();

private:
    const QString &programFolder;
    bool read = false;
    Handset chosen;
    QString problem;
};
