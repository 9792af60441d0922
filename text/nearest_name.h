#pragma once

#include <QString>
#include <QStringList>

// The name of `known` that `written` is a slip of (a letter missing, added, changed or two
// swapped; one in a name of up to three letters, two in a longer one), without regard to case;
// the nearest where several are, the first of them where they are as near; empty for none.
QString NearestName(const QString &written, const QStringList &known);
