#include "check/markup.h"

#include "check/html_tags.h"

namespace {

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isNameCharacter(char c)
{
    return isLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads the tag that starts with "<" at `at`; returns the offset after it.
qsizetype readTag(const QByteArray &line, qsizetype at, MarkupTag &tag,
                  QList<MarkupAttribute> &attributes)
{
    qsizetype position = at + 1;
    if (line[position] == '/') {
        tag.closing = true;
        ++position;
    }
    const qsizetype nameStart = position;
    while (position < line.size() && isNameCharacter(line[position]))
        ++position;
    tag.name = QByteArrayView(line).sliced(nameStart, position - nameStart);
    for (;;) {
        while (position < line.size() && (isBlank(line[position]) || line[position] == '/'))
            ++position;
        if (position >= line.size()) {
            tag.unfinished = true;
            return position;
        }
        if (line[position] == '>')
            return position + 1;
        // A "<" within a tag starts the next one: this one was never closed.
        if (line[position] == '<') {
            tag.unfinished = true;
            return position;
        }
        const qsizetype attributeStart = position;
        while (position < line.size() && !isBlank(line[position]) && line[position] != '='
               && line[position] != '>' && line[position] != '<')
            ++position;
        const QByteArrayView name = QByteArrayView(line).sliced(attributeStart, position - attributeStart);
        QByteArrayView value;
        while (position < line.size() && isBlank(line[position]))
            ++position;
        if (position < line.size() && line[position] == '=') {
            ++position;
            while (position < line.size() && isBlank(line[position]))
                ++position;
            if (position < line.size() && (line[position] == '"' || line[position] == '\'')) {
                const char quote = line[position];
                const qsizetype close = line.indexOf(quote, position + 1);
                const qsizetype end = close < 0 ? line.size() : close;
                value = QByteArrayView(line).sliced(position + 1, end - position - 1);
                position = close < 0 ? line.size() : close + 1;
            } else {
                const qsizetype valueStart = position;
                while (position < line.size() && !isBlank(line[position]) && line[position] != '>')
                    ++position;
                value = QByteArrayView(line).sliced(valueStart, position - valueStart);
            }
        }
        attributes.append({name, value});
        ++tag.attributeCount;
    }
}

// The length of the reference "&#…;" at `at`, or 0 when there is none.
qsizetype readReference(const QByteArray &line, qsizetype at, CharacterReference &reference)
{
    qsizetype position = at + 2;
    reference.hexadecimal = position < line.size() && (line[position] == 'x' || line[position] == 'X');
    if (reference.hexadecimal)
        ++position;
    const qsizetype digitsStart = position;
    quint64 value = 0;
    for (; position < line.size() && position - digitsStart < 8; ++position) {
        const char c = line[position];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (reference.hexadecimal && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (reference.hexadecimal && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            break;
        value = value * (reference.hexadecimal ? 16 : 10) + quint64(digit);
    }
    if (position == digitsStart || position >= line.size() || line[position] != ';')
        return 0;
    reference.value = quint32(qMin<quint64>(value, 0xFFFFFFFF));
    reference.text = QByteArrayView(line).sliced(at, position + 1 - at);
    return position + 1 - at;
}

} // namespace

Markup ScanMarkup(const QByteArray &line)
{
    Markup markup;
    qsizetype at = 0;
    const char *bytes = line.constData();
    while (at < line.size()) {
        // Text between the tags and references is passed over at once.
        while (at < line.size() && bytes[at] != '<' && bytes[at] != '&')
            ++at;
        if (at == line.size())
            break;
        const char c = line[at];
        const bool tagStarts = c == '<' && at + 1 < line.size()
                               && (isLetter(line[at + 1])
                                   || (line[at + 1] == '/' && at + 2 < line.size()
                                       && isLetter(line[at + 2])));
        if (c == '<' && QByteArrayView(line).sliced(at).startsWith("<!--")) {
            const qsizetype end = line.indexOf("-->", at + 4);
            at = end < 0 ? line.size() : end + 3;
        } else if (c == '<' && at + 1 < line.size() && line[at + 1] == '!') {
            const qsizetype end = line.indexOf('>', at);
            at = end < 0 ? line.size() : end + 1;
        } else if (tagStarts) {
            MarkupTag tag;
            tag.firstAttribute = markup.attributes.size();
            tag.begin = at;
            at = readTag(line, at, tag, markup.attributes);
            tag.end = at;
            tag.facts = FindTag(tag.name);
            markup.tags.append(tag);
        } else if (c == '&' && at + 1 < line.size() && line[at + 1] == '#') {
            CharacterReference reference;
            reference.begin = at;
            const qsizetype length = readReference(line, at, reference);
            if (length > 0)
                markup.references.append(reference);
            at += length > 0 ? length : 1;
        } else {
            ++at;
        }
    }
    return markup;
}

QByteArray UpperName(QByteArrayView name)
{
    return name.toByteArray().toUpper();
}
