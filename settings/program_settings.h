#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// The program's own settings beyond "set.dat", which keeps its seven lines: an INI file of
// their own, "mopeco.ini", in the program folder.

// A setting as read, or its default when the file could not be read; then `problem` says why,
// for the window to show. A file not there yet is no problem.
template <typename Value>
struct SavedSetting {
    Value value;
    QString problem;
};

// The handset the page is measured against; the default handset when none was chosen.
SavedSetting<QString> SavedHandsetName(const QString &programFolder);

// The numbers of the pictograms last chosen from the palette, the latest first: the first
// `count` of them.
SavedSetting<QStringList> SavedRecentPictograms(const QString &programFolder, qsizetype count);

// The folders files were last opened from or saved to: the projects' and the pages'; empty
// where none was yet.
struct KeptFolders {
    QString project;
    QString page;
};
SavedSetting<KeptFolders> SavedFolders(const QString &programFolder);

// The size the user gave the window of the page check; empty when none was given.
SavedSetting<QSize> SavedCheckWindowSize(const QString &programFolder);

// The address the user gave the QR code of the project's page; empty when none was given. A page
// of no project yet has one of its own.
SavedSetting<QString> SavedQrAddress(const QString &programFolder, const QString &projectFile);

// Each keeps the rest of the file as it was, and returns why the setting could not be kept;
// empty when it was. A file that cannot be read is left alone.
[[nodiscard]] QString SaveHandsetName(const QString &programFolder, const QString &name);
[[nodiscard]] QString SaveRecentPictograms(const QString &programFolder,
                                           const QStringList &numbers);
[[nodiscard]] QString SaveProjectFolder(const QString &programFolder, const QString &folder);
[[nodiscard]] QString SavePageFolder(const QString &programFolder, const QString &folder);
[[nodiscard]] QString SaveCheckWindowSize(const QString &programFolder, QSize size);
[[nodiscard]] QString SaveQrAddress(const QString &programFolder, const QString &projectFile,
                                    const QString &address);
