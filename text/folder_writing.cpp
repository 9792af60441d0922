#include "text/folder_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file, as the system tells files apart.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity &) const = default;
};

size_t qHash(const FileIdentity &identity, size_t seed = 0)
{
    return qHashMulti(seed, quint64(identity.device), quint64(identity.inode));
}

// A descriptor closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int descriptor = -1) : descriptor(descriptor) {}
    ~Descriptor()
    {
        if (descriptor >= 0)
            ::close(descriptor);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return descriptor; }

private:
    int descriptor;
};

QString pathIn(const QString &folder, const QString &name)
{
    return QDir(folder).filePath(name);
}

// The folders of `folder` that are not there yet, the innermost first.
QStringList missingFolders(const QString &folder)
{
    QStringList missing;
    for (QFileInfo info(QDir::cleanPath(QDir(folder).absolutePath())); !info.exists() && !info.isRoot();
         info = QFileInfo(info.absolutePath()))
        missing << info.absoluteFilePath();
    return missing;
}

void writeAll(int descriptor, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.constData() + written,
                                      size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            throw count < 0 ? errno : ENOSPC;
        written += count;
    }
}

// Moves the file `name` of the folder `from` into `to` under the same name, only where no file
// of that name is; errno EEXIST when one is.
bool moveWithoutReplacing(int from, int to, const QByteArray &name)
{
    if (::renameat2(from, name.constData(), to, name.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system that cannot rename so still links without replacing.
    if (::linkat(from, name.constData(), to, name.constData(), 0) == 0) {
        ::unlinkat(from, name.constData(), 0);
        return true;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)
        return false;
    // One that has no links either (a network or FUSE mount): the name is looked at just before.
    struct stat status {};
    if (::fstatat(to, name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(from, name.constData(), to, name.constData()) == 0;
}

// The files written so far into the folder of one writing, and what they replaced, taken back
// when the writing fails and gone with the folder when it ends.
class Writing {
public:
    Writing(int folder, const QString &folderPath) : folder(folder), folderPath(folderPath)
    {
        QByteArray pattern = QFile::encodeName(pathIn(folderPath, QStringLiteral(".mopeco-XXXXXX")));
        if (!::mkdtemp(pattern.data()))
            throw IoError::fromErrno(errno).about(folderPath);
        scratchName = pattern.mid(pattern.lastIndexOf('/') + 1);
        scratch = ::openat(folder, scratchName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (scratch >= 0 && ::mkdirat(scratch, "old", 0700) == 0)
            old = ::openat(scratch, "old", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (old < 0) {
            const int error = errno;
            removeScratch();
            throw IoError::fromErrno(error).about(folderPath);
        }
    }

    ~Writing()
    {
        if (!finished)
            takeBack();
        removeScratch();
    }

    void write(const QByteArray &name, const QByteArray &bytes)
    {
        const Descriptor file(::openat(scratch, name.constData(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        try {
            if (file.get() < 0)
                throw errno;
            writeAll(file.get(), bytes);
            if (::fsync(file.get()) != 0)
                throw errno;
        } catch (int error) {
            throw IoError::fromErrno(error).about(pathIn(folderPath, QFile::decodeName(name)));
        }
    }

    // Moves a written file into place; `replacing` when a regular file of its name is there.
    void moveIntoPlace(const QByteArray &name, bool replacing)
    {
        const QString path = pathIn(folderPath, QFile::decodeName(name));
        if (!replacing) {
            if (!moveWithoutReplacing(scratch, folder, name)) {
                if (errno == EEXIST)
                    throw NamesTaken(folderPath, {QFile::decodeName(name)});
                throw IoError::fromErrno(errno).about(path);
            }
            placed.push_back({name, false});
            return;
        }
        // The old file is kept aside by a second name until the writing has ended well.
        if (::linkat(folder, name.constData(), old, name.constData(), 0) != 0
            && ::renameat(folder, name.constData(), old, name.constData()) != 0)
            throw IoError::fromErrno(errno).about(path);
        if (::renameat(scratch, name.constData(), folder, name.constData()) != 0) {
            const int error = errno;
            ::renameat(old, name.constData(), folder, name.constData());
            throw IoError::fromErrno(error).about(path);
        }
        placed.push_back({name, true});
    }

    void finish()
    {
        ::fsync(folder);
        finished = true;
    }

private:
    void takeBack()
    {
        for (auto file = placed.rbegin(); file != placed.rend(); ++file) {
            if (file->second)
                ::renameat(old, file->first.constData(), folder, file->first.constData());
            else
                ::unlinkat(folder, file->first.constData(), 0);
        }
    }

    // The folder is the writing's own (made for it, open to its user alone): whatever is left
    // in it goes.
    void removeScratch()
    {
        for (const int descriptor : {old, scratch})
            if (descriptor >= 0)
                ::close(descriptor);
        if (!scratchName.isEmpty())
            QDir(pathIn(folderPath, QFile::decodeName(scratchName))).removeRecursively();
    }

    int folder;
    QString folderPath;
    QByteArray scratchName;
    int scratch = -1;
    int old = -1;
    std::vector<std::pair<QByteArray, bool>> placed; // and whether it replaced a file
    bool finished = false;
};

// Why `name` cannot be a file's name in a folder; empty when it can.
QString nameProblem(const QString &name, long longest)
{
    const QByteArray encoded = QFile::encodeName(name);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QLatin1Char('/')) || encoded.contains('\0'))
        return QStringLiteral("「%1」はファイルの名前に使えません。").arg(name);
    if (encoded.size() > longest)
        return QStringLiteral("「%1」は名前が長すぎて、このフォルダには書けません。").arg(name);
    return {};
}

} // namespace

NamesTaken::NamesTaken(const QString &folder, const QStringList &names)
    : UserError(QStringLiteral("フォルダ「%1」には同じ名前のファイルがあるので、何も書き出していません: %2")
                    .arg(QDir::toNativeSeparators(folder), names.join(QStringLiteral("、")))),
      names(names)
{
}

QString ShortenedFileName(const QString &name, qsizetype longest)
{
    if (QFile::encodeName(name).size() <= longest)
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString extension = dot > 0 ? name.mid(dot) : QString();
    // An extension that leaves no room for a name is no extension.
    if (QFile::encodeName(extension).size() > longest / 2)
        extension.clear();
    QString base = extension.isEmpty() ? name : name.left(dot);
    while (!base.isEmpty() && QFile::encodeName(base + extension).size() > longest) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base + extension;
}

namespace {

// What stands in the way of writing `files` into the folder open as `into` (-1 for one not made
// yet), thrown as WriteIntoFolder says; else the names of the files to be replaced.
QSet<QString> filesInTheWay(int into, const QString &folder, const QList<FileToWrite> &files,
                            ExistingFiles existing, const QStringList &neverReplaced)
{
    const long longest = into >= 0 ? ::fpathconf(into, _PC_NAME_MAX) : -1;
    QSet<FileIdentity> sources;
    for (const QString &source : neverReplaced) {
        struct stat status {};
        if (::stat(QFile::encodeName(source).constData(), &status) == 0)
            sources.insert({status.st_dev, status.st_ino});
    }
    QStringList taken;
    QSet<QString> present; // the names of regular files to be replaced
    QSet<QString> names;
    for (const FileToWrite &file : files) {
        const QString problem = nameProblem(file.name, longest > 0 ? longest : LongestFileName);
        if (!problem.isEmpty())
            throw UserError(problem);
        if (names.contains(file.name))
            throw UserError(QStringLiteral("「%1」を二度書こうとしました。").arg(file.name));
        names.insert(file.name);
        struct stat status {};
        if (into < 0
            || ::fstatat(into, QFile::encodeName(file.name).constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const QString path = pathIn(folder, file.name);
        if (S_ISREG(status.st_mode) && sources.contains({status.st_dev, status.st_ino}))
            throw UserError(QStringLiteral("「%1」は元のファイルなので上書きしません。"
                                           "別のフォルダを指定してください。")
                                .arg(QDir::toNativeSeparators(path)));
        if (existing == ExistingFiles::Replaced && !S_ISREG(status.st_mode))
            throw UserError(QStringLiteral("「%1」はふつうのファイルではない（%2）ので、置き換えません。")
                                .arg(QDir::toNativeSeparators(path),
                                     S_ISLNK(status.st_mode)
                                         ? QStringLiteral("シンボリックリンクです")
                                         : IoError::forNotAFile(path, status.st_mode).reason()));
        taken << file.name;
        present.insert(file.name);
    }
    if (!taken.isEmpty() && existing == ExistingFiles::Kept)
        throw NamesTaken(folder, taken);
    return present;
}

void refuseNonFolder(const QString &folder)
{
    const QFileInfo given(folder);
    if (given.exists() && !given.isDir())
        throw UserError(QStringLiteral("「%1」はフォルダではありません。書き出すフォルダを指定してください。")
                            .arg(QDir::toNativeSeparators(folder)));
}

} // namespace

void CheckWritingIntoFolder(const QString &folder, const QList<FileToWrite> &files, ExistingFiles existing,
                            const QStringList &neverReplaced)
{
    refuseNonFolder(folder);
    const Descriptor into(QFileInfo(folder).isDir()
                              ? ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                              : -1);
    filesInTheWay(into.get(), folder, files, existing, neverReplaced);
}

void WriteIntoFolder(const QString &folder, const QList<FileToWrite> &files,
                     ExistingFiles existing, const QStringList &neverReplaced)
{
    refuseNonFolder(folder);
    // Folders made for this writing go again when it fails.
    QStringList made;
    auto removeMade = qScopeGuard([&made] {
        for (const QString &madeFolder : made)
            ::rmdir(QFile::encodeName(madeFolder).constData());
    });
    const QStringList missing = missingFolders(folder);
    for (auto next = missing.rbegin(); next != missing.rend(); ++next) {
        if (::mkdir(QFile::encodeName(*next).constData(), 0777) != 0)
            throw IoError::forOpen(*next, errno);
        made.prepend(*next);
    }
    const Descriptor into(::open(QFile::encodeName(folder).constData(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (into.get() < 0)
        throw IoError::fromErrno(errno).about(folder);
    const QSet<QString> present = filesInTheWay(into.get(), folder, files, existing, neverReplaced);

    Writing writing(into.get(), folder);
    for (const FileToWrite &file : files)
        writing.write(QFile::encodeName(file.name), file.bytes);
    for (const FileToWrite &file : files)
        writing.moveIntoPlace(QFile::encodeName(file.name), present.contains(file.name));
    writing.finish();
    removeMade.dismiss();
}
