// Any bytes as a stored path, looked up from a small tree of names with two readings and of
// links that loop: the plain reading, or something that lies on disk. A lookup that takes long
// is caught by the fuzzer's time limit. The target works from inside its tree, so it is given
// its corpus folders as absolute paths (run.sh does).
#include "fuzz_inputs.h"
#include "text/program_folder.h"
#include "text/stored_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstdlib>

namespace {

constexpr char treePrefix[] = "mopeco-stored-path-";

void makeFile(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    require(file.open(QIODevice::WriteOnly));
}

void makeLink(const QString &target, const QString &link)
{
    require(QFile::link(target, link));
}

// Files and folders whose names hold characters with two readings (〜 and ～ side by side, ¥
// that a stored backslash stands for, references), and links to the folder itself, to its
// parent, round in a loop and to nothing.
void makeTree()
{
    for (const char *name :
         {"本文.txt", "資料〜2024/本文 2.txt", "資料～2024/本文 3.txt", "円¥マーク/a¥b.txt",
          "マイナス−/平行‖/ダッシュ—.txt", "¢£¬", "a~‾", "x\\y", "café/é.txt", "&#38;/&&",
          "ｶﾅ/半角.txt", "d/e/f.txt", ".hidden"})
        makeFile(QString::fromUtf8(name));
    makeLink(QStringLiteral("."), QStringLiteral("a"));
    makeLink(QStringLiteral("."), QStringLiteral("a¥a"));
    makeLink(QStringLiteral(".."), QStringLiteral("up"));
    makeLink(QStringLiteral("../.."), QStringLiteral("d/e/back"));
    makeLink(QStringLiteral("loop2"), QStringLiteral("loop1"));
    makeLink(QStringLiteral("loop1"), QStringLiteral("loop2"));
    makeLink(QStringLiteral("nowhere"), QStringLiteral("gone"));
}

// Only the tree this target made is taken away at the end.
void removeTree()
{
    QDir tree = QDir::current();
    if (tree.dirName().startsWith(QLatin1String(treePrefix)))
        tree.removeRecursively();
}

void requireOnDiskOrPlain(const QByteArray &bytes)
{
    const QString found = resolveStoredPath(bytes);
    if (found == pathFromStored(bytes))
        return;
    const QFileInfo file(found);
    require(file.exists() || file.isSymLink() || QFile::encodeName(found).size() >= PATH_MAX);
}

} // namespace

// The tree is the current folder from here on: relative stored paths are found in it.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QByteArray folder = QFile::encodeName(QDir::tempPath()) + '/' + treePrefix + "XXXXXX";
    require(mkdtemp(folder.data()) != nullptr);
    require(QDir::setCurrent(QFile::decodeName(folder)));
    makeTree();
    require(std::atexit(removeTree) == 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fileBytes(data, size);
    requireOnDiskOrPlain(bytes);
    requireOnDiskOrPlain(QFile::encodeName(QDir::currentPath()) + '/' + bytes);
    return 0;
}
