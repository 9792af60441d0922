#include "page/page_generator.h"

#include "page/page_project.h"
#include "page/pattern.h"
#include "page/separator_styles.h"
#include "text/text_writer.h"

#include <functional>

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

using Item = LineOrigin::Item;

// Makes the page line by line, handing each line with its origin to `write`, and counts the
// access keys of the links in the order they are written.
class PageWriter {
public:
    using Write = std::function<void(const QByteArray &, LineOrigin)>;

    PageWriter(const PageProject &page, const QList<QByteArray> &bodyLines, Write write)
        : page(page), bodyLines(bodyLines), write(std::move(write))
    {
    }

    void writeHead()
    {
        write("<HTML><HEAD><TITLE>" + page.Title + "</TITLE></HEAD>", {Item::Title});
        write(BodyLine(page), {Item::Colours});
        write("<!-- mpkg ver2.00 -->", {Item::Comment});
    }

    void writePart(const PatternPart &part)
    {
        const int n = part.PartSlot;
        const auto inRange = [n](int count) { return n >= 1 && n <= count; };
        switch (part.PartCode) {
        case BodyPart:
            if (isOn(page.BodyUsed))
                for (qsizetype line = 0; line < bodyLines.size(); ++line)
                    write(bodyLines[line], {Item::Body, int(line + 1)});
            break;
        case ImagePart:
            if (inRange(ImageSlotCount) && isOn(page.Images[n - 1].ImageUsed))
                write(imageLine(page.Images[n - 1]), {Item::Image, n});
            break;
        case TextPart:
            if (inRange(TextSlotCount) && isOn(page.Texts[n - 1].TextUsed))
                write("<p>" + page.Texts[n - 1].TextContent + "</P><BR>", {Item::Text, n});
            break;
        case LinkPart:
            if (inRange(LinkSlotCount) && isOn(page.Links[n - 1].LinkUsed))
                write(linkLine(page.Links[n - 1]), {Item::Link, n});
            break;
        case DirectPart:
            if (inRange(DirectSlotCount) && isOn(page.Directs[n - 1].DirectUsed))
                write(page.Directs[n - 1].DirectMarkup, {Item::Direct, n});
            break;
        case SeparatorPart: {
            const QByteArray line = SeparatorLine(page.SeparatorStyle);
            if (!line.isEmpty())
                write(line, {Item::Separator});
            break;
        }
        default:
            break;
        }
    }

    void writeEnd() { write("</BODY></HTML>", {Item::End}); }

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
    Write write;
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

namespace {

void writePage(const PageProject &page, const Pattern &pattern, int partCount,
               const QList<QByteArray> &bodyLines, const PageWriter::Write &write)
{
    PageWriter writer(page, bodyLines, write);
    writer.writeHead();
    const int count = std::clamp(partCount, 0, std::min(pattern.PartCount, MaxPartCount));
    for (int k = 0; k < count; ++k)
        writer.writePart(pattern.Parts[static_cast<std::size_t>(k)]);
    writer.writeEnd();
}

} // namespace

QByteArray GeneratePageBytes(const PageProject &page, const Pattern &pattern, int partCount,
                             const QList<QByteArray> &bodyLines)
{
    TextWriter writer;
    // A large body is room made once, not copied as the page grows.
    if (isOn(page.BodyUsed)) {
        qsizetype bodySize = 0;
        for (const QByteArray &line : bodyLines)
            bodySize += line.size() + 2;
        writer.reserve(bodySize + 4096);
    }
    writePage(page, pattern, partCount, bodyLines,
              [&writer](const QByteArray &line, LineOrigin) { writer.writeLine(line); });
    return writer.bytes();
}

QList<PageLine> GeneratePageLines(const PageProject &page, const Pattern &pattern, int partCount,
                                  const QList<QByteArray> &bodyLines)
{
    QList<PageLine> lines;
    writePage(page, pattern, partCount, bodyLines,
              [&lines](const QByteArray &line, LineOrigin origin) { lines.append({line, origin}); });
    return lines;
}
