#pragma once

#include <QString>
#include <QStringList>

// The program's own settings beyond "set.dat", which keeps its seven lines: an INI file of
// their own, "mopeco.ini", in the program folder.

// The handset the page is measured against; the default handset when none was chosen.
QString SavedHandsetName(const QString &programFolder);
void SaveHandsetName(const QString &programFolder, const QString &name);

// The numbers of the pictograms last chosen from the palette, the latest first.
QStringList SavedRecentPictograms(const QString &programFolder);
void SaveRecentPictograms(const QString &programFolder, const QStringList &numbers);
