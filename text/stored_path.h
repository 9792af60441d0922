#pragma once

#include <QByteArray>
#include <QString>

// A path that a data file keeps (the body text of a project, a program of the tool settings):
// the Shift-JIS bytes the file holds and, when the path was chosen in this run, the path
// itself. Shift-JIS cannot give every path back: 〜 and ～ share one code, ¥ is written as
// the backslash, é has no code and is written "&#233;". So a path chosen in this run is used
// as chosen, and one read from a file is looked for on disk under every reading its bytes
// allow.
struct StoredPath {
    QByteArray bytes;
    QString chosen;

    // A path chosen in a file dialog, with the bytes a data file keeps for it (trimmed).
    static StoredPath fromChosen(const QString &path);

    // The file on disk: the chosen path, or the one the bytes name; a relative one is read
    // against `base` (the folder of the project that keeps it), or the current folder.
    QString onDisk(const QString &base = {}) const;

    // The path as the user reads it.
    QString shown() const;

    bool operator==(const StoredPath &) const = default;
};

// The file or folder on disk that stored path bytes name. The plain code page 932 reading
// comes first; when nothing lies there, the other readings of each character are tried: the
// JIS forms of 〜 − ‖ — ¢ £ ¬, ¥ and ‾ for the backslash and the tilde, and the character of a
// reference "&#N;". The backslash also separates folders, as on the desktop the file may come
// from. When no reading names anything, the plain reading is returned.
// A relative path is looked for below `base`, or below the current folder when it is empty.
QString resolveStoredPath(const QByteArray &bytes, const QString &base = {});

// What the user is told, when choosing `path`, if it has characters Shift-JIS cannot hold: the
// `keeper` file (the project file, "set.dat") cannot keep the path as it is. Empty when the
// path can be kept.
QString pathLossWarning(const QString &path, const QString &keeper);
