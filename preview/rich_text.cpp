#include "preview/rich_text.h"

void RichText::add(const InlinePicture &picture)
{
    text += InlinePictureMark;
    pictures.append(picture);
}

QString RichText::html() const
{
    QString html;
    qsizetype next = 0;
    for (const QChar c : text) {
        if (c != InlinePictureMark || next == pictures.size()) {
            html += c;
            continue;
        }
        const InlinePicture &picture = pictures[next++];
        html += picture.size.isValid() ? QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\">")
                                             .arg(picture.name)
                                             .arg(picture.size.width())
                                             .arg(picture.size.height())
                                       : QStringLiteral("<img src=\"%1\">").arg(picture.name);
    }
    return html;
}
