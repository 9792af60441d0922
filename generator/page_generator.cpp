#include "generator/page_generator.h"

#include "model/page_project.h"
#include "model/pattern.h"
#include "model/separator_styles.h"
#include "model/text_writer.h"

namespace {

const QByteArray quote = QByteArrayLiteral("\"");
const QByteArray mailEmoji = QByteArrayLiteral("&#63863;");

// The keypad emoji of access key 1 to 9 and 0 are the picture characters F987 to F990.
QByteArray digitEmoji(int counter)
{
    return "&#" + QByteArray::number(63878 + counter) + ';';
}

QByteArray imageLine(const ImageSlot &image)
{
    const QByteArray picture = "<IMG SRC=" + quote + image.ImageUrl + quote + ">";
    QByteArray line = picture;
    if (isOn(image.ImageLinked))
        line = "<A HREF=" + quote + image.ImageLinkUrl + quote + ">" + picture + "</A>";
    if (!isOn(image.ImageLeft))
        line = "<CENTER>" + line + "</CENTER>";
    return line + "<BR>";
}

// Writes the page, counting the access keys of the links in the order they are written.
class PageWriter {
public:
    PageWriter(const PageProject &page, const QList<QByteArray> &bodyLines)
        : page(page), bodyLines(bodyLines)
    {
        if (!isOn(page.BodyUsed))
            return;
        qsizetype bodySize = 0;
        for (const QByteArray &line : bodyLines)
            bodySize += line.size() + 2;
        writer.reserve(bodySize + 4096);
    }

    void writeHead()
    {
        writer.writeLine("<HTML><HEAD><TITLE>" + page.Title + "</TITLE></HEAD>");
        writer.writeLine(BodyLine(page));
        writer.writeLine("<!-- mpkg ver2.00 -->");
    }

    void writePart(const PatternPart &part)
    {
        const int n = part.PartSlot;
        const auto inRange = [n](int count) { return n >= 1 && n <= count; };
        switch (part.PartCode) {
        case BodyPart:
            if (isOn(page.BodyUsed))
                for (const QByteArray &line : bodyLines)
                    writer.writeLine(line);
            break;
        case ImagePart:
            if (inRange(ImageSlotCount) && isOn(page.Images[n - 1].ImageUsed))
                writer.writeLine(imageLine(page.Images[n - 1]));
            break;
        case TextPart:
            if (inRange(TextSlotCount) && isOn(page.Texts[n - 1].TextUsed))
                writer.writeLine("<p>" + page.Texts[n - 1].TextContent + "</P><BR>");
            break;
        case LinkPart:
            if (inRange(LinkSlotCount) && isOn(page.Links[n - 1].LinkUsed))
                writer.writeLine(linkLine(page.Links[n - 1]));
            break;
        case DirectPart:
            if (inRange(DirectSlotCount) && isOn(page.Directs[n - 1].DirectUsed))
                writer.writeLine(page.Directs[n - 1].DirectMarkup);
            break;
        case SeparatorPart: {
            const QByteArray line = SeparatorLine(page.SeparatorStyle);
            if (!line.isEmpty())
                writer.writeLine(line);
            break;
        }
        default:
            break;
        }
    }

    QByteArray finish()
    {
        writer.writeLine("</BODY></HTML>");
        return writer.bytes();
    }

private:
    // The emoji stand before the anchor: the digit of the access key first, then the mail.
    // Keys run 1 to 9, then 0, then start again at 1.
    QByteArray linkLine(const LinkSlot &link)
    {
        const bool accessKey = isOn(link.LinkAccessKey);
        const bool centred = isOn(link.LinkCentered);
        QByteArray line;
        if (centred)
            line += "<CENTER>";
        if (accessKey)
            line += digitEmoji(accessKeyCounter);
        if (isOn(link.LinkMail))
            line += mailEmoji + "<A HREF=" + quote + "mailto:";
        else
            line += "<A HREF=" + quote;
        line += link.LinkTarget + quote;
        if (accessKey) {
            line += " ACCESSKEY=" + quote + QByteArray::number(accessKeyCounter % 10) + quote;
            accessKeyCounter = accessKeyCounter % 10 + 1;
        }
        line += ">" + link.LinkCaption + (centred ? "</A></CENTER><BR>" : "</A><BR>");
        return line;
    }

    const PageProject &page;
    const QList<QByteArray> &bodyLines;
    TextWriter writer;
    int accessKeyCounter = 1;
};

} // namespace

QByteArray BodyLine(const PageProject &page)
{
    if (!isOn(page.ColorSupport))
        return QByteArrayLiteral("<BODY>");
    return "<BODY BGCOLOR=" + quote + page.BackgroundColor + quote + "LINK=" + quote
        + page.LinkColor + quote + "TEXT=" + quote + page.TextColor + quote + " >";
}

QByteArray GeneratePageBytes(const PageProject &page, const Pattern &pattern, int partCount,
                             const QList<QByteArray> &bodyLines)
{
    PageWriter writer(page, bodyLines);
    writer.writeHead();
    const int count = std::clamp(partCount, 0, std::min(pattern.PartCount, MaxPartCount));
    for (int k = 0; k < count; ++k)
        writer.writePart(pattern.Parts[static_cast<std::size_t>(k)]);
    return writer.finish();
}
