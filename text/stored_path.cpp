#include "text/stored_path.h"

#include "text/program_folder.h"
#include "text/sjis.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QSet>
#include <QStringList>

#include <map>
#include <utility>

namespace {

// No path on this desktop is longer; longer bytes are not searched for.
constexpr qsizetype longestPath = 4096;

// One character of the stored bytes, with what it may stand for inside a file name.
struct Token {
    QStringList readings;
    bool separates = false; // it may end a folder name
};

// The second reading of the characters code page 932 shares with another: the JIS form.
QString jisReading(const QByteArray &character)
{
    static const QList<std::pair<QByteArray, char16_t>> pairs{
        {"\x81\x60", u'\u301C'}, {"\x81\x7C", u'\u2212'}, {"\x81\x61", u'\u2016'},
        {"\x81\x5C", u'\u2014'}, {"\x81\x91", u'\u00A2'}, {"\x81\x92", u'\u00A3'},
        {"\x81\xCA", u'\u00AC'}};
    for (const auto &[bytes, reading] : pairs)
        if (bytes == character)
            return QString(QChar(reading));
    return {};
}

// The length of a reference "&#N;" at `at`, or 0; its character in `character`.
qsizetype referenceAt(const QByteArray &bytes, qsizetype at, QString &character)
{
    if (!bytes.sliced(at).startsWith("&#"))
        return 0;
    qsizetype end = at + 2;
    uint codePoint = 0;
    while (end < bytes.size() && end - at < 10 && bytes[end] >= '0' && bytes[end] <= '9')
        codePoint = codePoint * 10 + uint(bytes[end++] - '0');
    if (end == at + 2 || end >= bytes.size() || bytes[end] != ';')
        return 0;
    const auto valid = [](uint value) {
        return value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF)
               && value != '/';
    };
    if (!valid(codePoint))
        return 0;
    const char32_t point = codePoint;
    character = QString::fromUcs4(&point, 1);
    return end + 1 - at;
}

QList<Token> tokensOf(const QByteArray &bytes)
{
    QList<Token> tokens;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const char byte = bytes[at];
        QString character;
        if (byte == '/') {
            tokens.append({{}, true});
            ++at;
        } else if (byte == '\\') {
            tokens.append({{QStringLiteral("¥"), QStringLiteral("\\")}, true});
            ++at;
        } else if (byte == '~') {
            tokens.append({{QStringLiteral("~"), QStringLiteral("‾")}, false});
            ++at;
        } else if (const qsizetype length = referenceAt(bytes, at, character)) {
            tokens.append({{QString::fromLatin1(bytes.sliced(at, length)), character}, false});
            at += length;
        } else {
            const QByteArray first =
                sjis::firstCharacter(bytes.sliced(at, qMin<qsizetype>(2, bytes.size() - at)));
            QStringList readings{sjis::toUnicode(first)};
            if (const QString jis = jisReading(first); !jis.isEmpty())
                readings.append(jis);
            tokens.append({readings, false});
            at += first.size();
        }
    }
    return tokens;
}

// Every token index after which `name` is spelled out by the tokens from `token` on. The
// readings of a token differ in their first character but for a reference to "&", whose two
// readings are of different lengths: `seen` keeps what follows a reference from being spelled
// twice, so this stays linear.
void spell(QStringView name, const QList<Token> &tokens, qsizetype token, QList<qsizetype> &ends,
           QList<std::pair<qsizetype, qsizetype>> &seen)
{
    if (name.isEmpty()) {
        if (!ends.contains(token))
            ends.append(token);
        return;
    }
    if (token == tokens.size())
        return;
    const QStringList &readings = tokens[token].readings;
    const bool lengthsDiffer = readings.size() > 1 && readings[0].size() != readings[1].size();
    for (const QString &reading : readings) {
        if (!name.startsWith(reading))
            continue;
        const QStringView rest = name.sliced(reading.size());
        if (lengthsDiffer) {
            const std::pair<qsizetype, qsizetype> state{rest.size(), token + 1};
            if (seen.contains(state))
                continue;
            seen.append(state);
        }
        spell(rest, tokens, token + 1, ends, seen);
    }
}

// The folder without links, ".." or "."; the path itself when that cannot be told.
QString canonicalOf(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? folder : canonical;
}

// What one lookup knows of a folder on disk, whichever spelling reached it.
struct Folder {
    QStringList names;
    bool listed = false;
    QSet<qsizetype> failed; // the token indices nothing below this folder spells out
};

// Names listed and looked at in one lookup before it gives up: far more than any real tree
// needs, and still a small fraction of a second.
constexpr qsizetype searchBudget = 1'000'000;

// One lookup. A folder is known by its canonical path, so one reached again by another
// spelling (through a link, "..", or "\" read as ¥ instead of as a separator) is neither
// listed nor searched again: the search is linear in the number of tokens.
struct Search {
    explicit Search(const QList<Token> &tokens) : tokens(tokens) {}

    const QList<Token> &tokens;
    std::map<QString, Folder> folders;
    qsizetype budget = searchBudget;

    // The path below `folder` that the tokens from `token` on name; empty when there is none.
    // `canonical` is the same folder without links, ".." or ".".
    QString findBelow(const QString &folder, const QString &canonical, qsizetype token)
    {
        while (token < tokens.size() && tokens[token].readings.isEmpty())
            ++token;
        if (token == tokens.size())
            return folder;
        Folder &known = folders[canonical];
        if (known.failed.contains(token))
            return {};
        const QDir directory(folder);
        if (!known.listed) {
            known.names = directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                              | QDir::NoDotAndDotDot);
            known.names << QStringLiteral(".") << QStringLiteral("..");
            known.listed = true;
            budget -= known.names.size();
        }
        budget -= known.names.size();
        if (budget < 0)
            return {};
        QList<std::pair<qsizetype, qsizetype>> seen;
        for (const QString &name : std::as_const(known.names)) {
            QList<qsizetype> ends;
            seen.clear();
            spell(name, tokens, token, ends, seen);
            for (const qsizetype end : ends) {
                const QString path = directory.filePath(name);
                if (end == tokens.size())
                    return path;
                if (!tokens[end].separates || !QFileInfo(path).isDir())
                    continue;
                // Taken from the canonical folder, so a link is followed once, not once for
                // every link of the spelling that led here.
                if (QString found = findBelow(path, canonicalOf(canonical + u'/' + name), end + 1);
                    !found.isEmpty())
                    return found;
            }
        }
        known.failed.insert(token);
        return {};
    }
};

} // namespace

StoredPath StoredPath::fromChosen(const QString &path)
{
    return {sjis::trimmed(sjis::fromUnicodeLine(path)), path};
}

QString StoredPath::onDisk(const QString &base) const
{
    return chosen.isEmpty() ? resolveStoredPath(bytes, base) : chosen;
}

QString StoredPath::shown() const
{
    return chosen.isEmpty() ? sjis::toUnicode(bytes) : chosen;
}

QString resolveStoredPath(const QByteArray &bytes, const QString &base)
{
    QString plain = pathFromStored(bytes);
    if (!base.isEmpty() && !plain.isEmpty() && QDir::isRelativePath(plain))
        plain = QDir(base).filePath(plain);
    // No name on disk holds a zero byte.
    if (bytes.isEmpty() || bytes.size() > longestPath || bytes.contains('\0')
        || QFileInfo::exists(plain))
        return plain;
    const QList<Token> tokens = tokensOf(bytes);
    const bool absolute = tokens.constFirst().separates;
    const QString start = absolute ? QStringLiteral("/") : base.isEmpty() ? QDir::currentPath() : base;
    const QString found = Search(tokens).findBelow(start, canonicalOf(start), absolute ? 1 : 0);
    return found.isEmpty() ? plain : found;
}

QString pathLossWarning(const QString &path, const QString &keeper)
{
    const QString outside = sjis::charactersOutside(path);
    if (outside.isEmpty())
        return {};
    QStringList characters;
    for (qsizetype at = 0; at < outside.size(); at += outside[at].isHighSurrogate() ? 2 : 1)
        characters.append(outside.mid(at, outside[at].isHighSurrogate() ? 2 : 1));
    return QStringLiteral("選んだファイルの場所には、シフトJISで書けない文字（%1）が含まれています。\n"
                          "今はこのまま使えますが、%2にはこの場所をそのままの形で残せません。"
                          "確実に使うには、フォルダやファイルの名前からこれらの文字を外してください。")
        .arg(characters.join(QLatin1Char(' ')), keeper);
}
