#include "text/ini_text.h"

namespace {

// One line of the text: [begin, end) without its line end; the next line starts at `next`.
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

Line lineAt(const QByteArray &text, qsizetype begin)
{
    const qsizetype newline = text.indexOf('\n', begin);
    Line line{begin, newline < 0 ? text.size() : newline, newline < 0 ? text.size() : newline + 1};
    if (line.end > begin && text[line.end - 1] == '\r')
        --line.end;
    return line;
}

QByteArrayView contentOf(const QByteArray &text, const Line &line)
{
    return QByteArrayView(text).sliced(line.begin, line.end - line.begin).trimmed();
}

// The name a "[name]" line opens a section with; nothing for any other line.
std::optional<QByteArrayView> sectionName(QByteArrayView content)
{
    if (content.size() < 2 || !content.startsWith('[') || !content.endsWith(']'))
        return std::nullopt;
    return content.sliced(1, content.size() - 2).trimmed();
}

// The key of a "key=value" line; empty for any other line.
QByteArrayView keyOf(QByteArrayView content)
{
    const qsizetype equals = content.indexOf('=');
    return equals < 0 ? QByteArrayView() : content.first(equals).trimmed();
}

constexpr char escape = '\\';

// The value on one line whatever it holds: a line break or a "[" or "=" that could pass for a
// section or a key of its own, any other control character, blanks at either end (which
// reading drops) and the escape character itself are written as escapes.
QByteArray escaped(const QByteArray &value)
{
    QByteArray line;
    line.reserve(value.size());
    for (qsizetype at = 0; at < value.size(); ++at) {
        const auto byte = static_cast<unsigned char>(value[at]);
        const bool blankAtEnd = byte == ' ' && (at == 0 || at == value.size() - 1);
        if (byte == '\n')
            line.append("\\n");
        else if (byte == '\r')
            line.append("\\r");
        else if (byte == escape)
            line.append("\\\\");
        else if (byte < 0x20 || byte == 0x7F || byte == '[' || byte == '=' || blankAtEnd)
            line.append("\\x").append(QByteArray::number(byte, 16).rightJustified(2, '0'));
        else
            line.append(char(byte));
    }
    return line;
}

int hexDigit(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    return -1;
}

// The value as it was written. A backslash that starts no escape of these stays as it is, so a
// value written by hand or by Qt's settings reads as before.
QByteArray unescaped(QByteArrayView line)
{
    QByteArray value;
    value.reserve(line.size());
    for (qsizetype at = 0; at < line.size(); ++at) {
        const char next = at + 1 < line.size() ? line[at + 1] : '\0';
        if (line[at] != escape) {
            value.append(line[at]);
        } else if (next == 'n' || next == 'r' || next == escape) {
            value.append(next == 'n' ? '\n' : next == 'r' ? '\r' : escape);
            ++at;
        } else if (next == 'x' && at + 3 < line.size() && hexDigit(line[at + 2]) >= 0
                   && hexDigit(line[at + 3]) >= 0) {
            value.append(char(hexDigit(line[at + 2]) * 16 + hexDigit(line[at + 3])));
            at += 3;
        } else {
            value.append(line[at]);
        }
    }
    return value;
}

} // namespace

std::optional<QByteArray> iniValue(const QByteArray &text, QByteArrayView section,
                                   QByteArrayView key)
{
    bool inSection = false;
    for (qsizetype at = 0; at < text.size();) {
        const Line line = lineAt(text, at);
        at = line.next;
        const QByteArrayView content = contentOf(text, line);
        if (const std::optional<QByteArrayView> name = sectionName(content))
            inSection = *name == section;
        else if (inSection && keyOf(content) == key)
            return unescaped(content.sliced(content.indexOf('=') + 1).trimmed());
    }
    return std::nullopt;
}

QByteArray withIniValue(const QByteArray &text, QByteArrayView section, QByteArrayView key,
                        const QByteArray &value)
{
    const QByteArray entry = key.toByteArray() + '=' + escaped(value);
    QByteArray result = text;
    std::optional<qsizetype> sectionEnd; // after the section's header or its last filled line
    bool inSection = false;
    for (qsizetype at = 0; at < text.size();) {
        const Line line = lineAt(text, at);
        at = line.next;
        const QByteArrayView content = contentOf(text, line);
        if (const std::optional<QByteArrayView> name = sectionName(content)) {
            inSection = *name == section;
            if (inSection)
                sectionEnd = line.next;
        } else if (inSection && keyOf(content) == key) {
            return result.replace(line.begin, line.end - line.begin, entry);
        } else if (inSection && !content.isEmpty()) {
            sectionEnd = line.next;
        }
    }
    if (sectionEnd) {
        // The section's last line may be the last of a text that has no line end.
        const bool lineEnded = *sectionEnd > 0 && text[*sectionEnd - 1] == '\n';
        return result.insert(*sectionEnd,
                             (lineEnded ? QByteArray() : QByteArray("\n")) + entry + '\n');
    }
    if (!result.isEmpty() && !result.endsWith('\n'))
        result.append('\n');
    // A blank line between sections, as Qt's settings write them.
    if (!result.isEmpty() && !result.endsWith("\n\n"))
        result.append('\n');
    return result.append('[').append(section).append("]\n").append(entry).append('\n');
}

QString iniString(QByteArrayView value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.sliced(1, value.size() - 2);
    return QString::fromUtf8(value);
}

QStringList iniListItems(const QByteArray &value, qsizetype count)
{
    QStringList items;
    // How Qt's settings write a list with no items.
    if (value == "@Invalid()")
        return items;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype at = 0; items.size() < count && start <= value.size(); ++at) {
        const bool atEnd = at == value.size();
        if (!atEnd && value[at] == '"')
            quoted = !quoted;
        if (atEnd || (value[at] == ',' && !quoted)) {
            const QString item = iniString(QByteArrayView(value).sliced(start, at - start));
            if (!item.isEmpty())
                items.append(item);
            start = at + 1;
        }
    }
    return items;
}

QByteArray iniList(const QStringList &items)
{
    return items.join(QStringLiteral(", ")).toUtf8();
}
