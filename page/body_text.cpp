#include "page/body_text.h"

#include "imode/pictogram_text.h"
#include "text/text_reader.h"

BodyText MarkBodyText(const QByteArray &fileBytes)
{
    static const QByteArray lineBreak = QByteArrayLiteral("<BR>");
    // Emoji in a UTF-8 file become pictograms, as when they are typed into a text box.
    const sjis::TextFileBytes converted = sjis::convertTextFile(fileBytes, TypedTextBytes);
    BodyText body{{}, converted.encoding, converted.strayBytes};
    TextReader reader(converted.shiftJis);
    while (!reader.atEnd()) {
        QByteArray line = reader.readLine();
        const QByteArray first = sjis::firstCharacter(line);
        if (line.isEmpty())
            line = lineBreak;
        else if (first == " " || first == sjis::fullWidthSpace())
            line.prepend(lineBreak);
        body.lines.append(line);
    }
    return body;
}

QList<QByteArray> MarkBodyLines(const QByteArray &fileBytes)
{
    return MarkBodyText(fileBytes).lines;
}

BodyText ReadBodyText(const QString &path)
{
    // A folder, a pipe or a device is no body text: the page goes without, as without a file.
    if (!isRegularFile(path))
        return {};
    return MarkBodyText(readFileBytes(path));
}

QList<QByteArray> ReadBodyLines(const QString &path)
{
    return ReadBodyText(path).lines;
}
