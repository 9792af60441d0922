#include "generator/body_text.h"

#include "model/sjis.h"
#include "model/text_reader.h"


QList<QByteArray> MarkBodyLines(const QByteArray &fileBytes)
{
    static const QByteArray lineBreak = QByteArrayLiteral("<BR>");
    QList<QByteArray> lines;
    TextReader reader(sjis::fromTextFile(fileBytes));
    while (!reader.atEnd()) {
        QByteArray line = reader.readLine();
        const QByteArray first = sjis::firstCharacter(line);
        if (line.isEmpty())
            line = lineBreak;
        else if (first == " " || first == sjis::fullWidthSpace())
            line.prepend(lineBreak);
        lines.append(line);
    }
    return lines;
}

QList<QByteArray> ReadBodyLines(const QString &path)
{
    // A folder, a pipe or a device is no body text: the page goes without, as without a file.
    if (!isRegularFile(path))
        return {};
    return MarkBodyLines(readFileBytes(path));
}
