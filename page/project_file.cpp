#include "page/project_file.h"

#include "text/text_reader.h"
#include "text/text_writer.h"

namespace {

const QByteArray currentMarker = QByteArrayLiteral("ver2.10");
const QByteArray olderMarker = QByteArrayLiteral("ver2.00");

enum class Format { Current, Older };

// Toggles and the separator style keep only the lowest byte of the number read.
std::uint8_t readByte(TextReader &reader)
{
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(reader.readInteger()) & 0xFF);
}

} // namespace

QByteArray WriteProject(const PageProject &page)
{
    TextWriter writer;
    writer.writeLine(currentMarker);
    writer.writeInteger(page.PatternNumber);
    writer.writeLine(page.Title);
    writer.writeInteger(page.ColorSupport);
    writer.writeLine(page.BackgroundColor);
    writer.writeLine(page.LinkColor);
    writer.writeLine(page.TextColor);
    writer.writeInteger(page.SeparatorStyle);
    writer.writeLine(page.SeparatorColor);
    writer.writeLine(page.BodyFile.bytes);
    writer.writeInteger(page.BodyUsed);
    for (const ImageSlot &image : page.Images) {
        writer.writeLine(image.ImageUrl);
        writer.writeLine(image.ImageLinkUrl);
        writer.writeInteger(image.ImageUsed);
        writer.writeInteger(image.ImageLinked);
        writer.writeInteger(image.ImageLeft);
    }
    for (const TextSlot &text : page.Texts) {
        writer.writeLine(text.TextContent);
        writer.writeInteger(text.TextUsed);
    }
    for (const LinkSlot &link : page.Links) {
        writer.writeLine(link.LinkCaption);
        writer.writeLine(link.LinkTarget);
        writer.writeInteger(link.LinkUsed);
        writer.writeInteger(link.LinkMail);
        writer.writeInteger(link.LinkCentered);
        writer.writeInteger(link.LinkAccessKey);
    }
    for (const DirectSlot &direct : page.Directs) {
        writer.writeLine(direct.DirectMarkup);
        writer.writeInteger(direct.DirectUsed);
    }
    return writer.bytes();
}

std::optional<PageProject> ReadProject(const QByteArray &bytes, const PageProject &current)
{
    std::optional<ProjectRead> read = ReadProjectFile(bytes, current);
    if (!read)
        return std::nullopt;
    return std::move(read->page);
}

QString EndedEarlyMessage(int line)
{
    return QStringLiteral("プロジェクトファイルが途中で終わっています（%1行目まで）。足りない項目は"
                          "空にしました。")
        .arg(line);
}

std::optional<ProjectRead> ReadProjectFile(const QByteArray &bytes, const PageProject &current)
{
    TextReader reader(bytes);
    const QByteArray marker = reader.readLine();
    Format format;
    if (marker == currentMarker)
        format = Format::Current;
    else if (marker == olderMarker)
        format = Format::Older;
    else
        return std::nullopt;

    PageProject page = current;
    page.PatternNumber = reader.readInteger();
    page.Title = reader.readLine();
    page.ColorSupport = readByte(reader);
    page.BackgroundColor = reader.readLine();
    page.LinkColor = reader.readLine();
    page.TextColor = reader.readLine();
    if (format == Format::Current) {
        page.SeparatorStyle = readByte(reader);
        page.SeparatorColor = reader.readLine();
    }
    page.BodyFile = {reader.readLine(), {}};
    page.BodyUsed = readByte(reader);
    for (ImageSlot &image : page.Images) {
        image.ImageUrl = reader.readLine();
        image.ImageLinkUrl = reader.readLine();
        image.ImageUsed = readByte(reader);
        image.ImageLinked = readByte(reader);
        image.ImageLeft = readByte(reader);
    }
    for (TextSlot &text : page.Texts) {
        text.TextContent = reader.readLine();
        text.TextUsed = readByte(reader);
    }
    for (LinkSlot &link : page.Links) {
        link.LinkCaption = reader.readLine();
        link.LinkTarget = reader.readLine();
        link.LinkUsed = readByte(reader);
        link.LinkMail = readByte(reader);
        link.LinkCentered = readByte(reader);
        link.LinkAccessKey = readByte(reader);
    }
    for (DirectSlot &direct : page.Directs) {
        direct.DirectMarkup = reader.readLine();
        direct.DirectUsed = readByte(reader);
    }
    return ProjectRead{std::move(page), reader.ranPastEnd() ? reader.lineCount() : 0};
}
