#include "preview/preview_markup.h"

#include "check/handset_reading.h"
#include "check/html_tags.h"
#include "check/markup.h"
#include "drawings/pictogram_pictures.h"
#include "imode/pictograms.h"
#include "preview/preview_pictures.h"
#include "text/sjis.h"

#include <QSet>

namespace {

using Item = LineOrigin::Item;

// Within a long line of the page, a piece ends after about this many characters.
constexpr qsizetype pieceLength = 2000;

// The entities handsets read by name; any other "&" is text.
const QList<QByteArrayView> knownEntities{"&amp;", "&lt;", "&gt;", "&quot;", "&nbsp;"};

QString escaped(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"))
        .replace(QLatin1Char('"'), QLatin1String("&quot;"));
}

class Translator {
public:
    explicit Translator(const PreviewSetting &setting) : setting(setting) {}

    PreviewMarkup run(const QList<PageLine> &lines)
    {
        for (const PageLine &line : lines) {
            if (!take(line.text.size() + 2))
                break;
            translateLine(line);
            if (result.cutShort)
                break;
            mayEndPiece(0);
        }
        endMarquee();
        if (result.cutShort)
            piece.text += QStringLiteral("<p><font color=\"#c00000\">（ここから先は、ページの上限を"
                                    "超えるため表示されません）</font></p>");
        if (!piece.isEmpty())
            result.pieces.append(piece);
        return result;
    }

private:
    // Counts bytes the handset reads towards its limit; past the limit, the page is cut.
    bool take(qint64 size)
    {
        bytes += size;
        result.cutShort = bytes > setting.handset.pageLimitBytes();
        return !result.cutShort;
    }

    void translateLine(const PageLine &line)
    {
        switch (line.origin.item) {
        case Item::Title:
            translateTitle(line.text);
            return;
        case Item::Colours:
            takeColours(line.text);
            return;
        case Item::Comment:
        case Item::End:
            return;
        default:
            break;
        }
        translateMarkup(line.text, Tags::Read);
        out().text += QLatin1Char('\n'); // a line end of the page is a blank to the browser
    }

    // Whether tags are read as tags, or, as in the title, shown as the text they are.
    enum class Tags { Read, AsText };

    // Text, tags and references, in the order the text holds them.
    void translateMarkup(const QByteArray &text, Tags tags)
    {
        Markup markup = ScanMarkup(text);
        if (tags == Tags::AsText)
            markup.tags.clear();
        qsizetype at = 0;
        qsizetype tagIndex = 0;
        qsizetype referenceIndex = 0;
        while (at < text.size() && !result.cutShort) {
            const qsizetype nextTag =
                tagIndex < markup.tags.size() ? markup.tags[tagIndex].begin : text.size();
            const qsizetype nextReference = referenceIndex < markup.references.size()
                                                ? markup.references[referenceIndex].begin
                                                : text.size();
            const qsizetype next = std::min(nextTag, nextReference);
            if (next > at)
                translateText(QByteArrayView(text).sliced(at, next - at));
            if (next == text.size())
                break;
            if (nextTag <= nextReference) {
                translateTag(markup.tags[tagIndex], markup);
                at = markup.tags[tagIndex++].end;
                mayEndPiece(pieceLength);
            } else {
                translateReference(markup.references[referenceIndex]);
                at = next + markup.references[referenceIndex++].text.size();
            }
        }
    }

    void translateTitle(const QByteArray &line)
    {
        const qsizetype open = line.indexOf("<TITLE>");
        const qsizetype close = line.lastIndexOf("</TITLE>");
        if (open < 0 || close < open)
            return;
        inTitle = true;
        translateMarkup(line.sliced(open + 7, close - open - 7), Tags::AsText);
        inTitle = false;
    }

    // The page's colours, where the handset's HTML version knows them.
    void takeColours(const QByteArray &line)
    {
        const Markup markup = ScanMarkup(line);
        if (markup.tags.isEmpty() || !markup.tags.first().facts)
            return;
        const MarkupTag &body = markup.tags.first();
        const auto colour = [&](const char *name, QColor &target) {
            const QByteArrayView value = attribute(markup, body, name);
            const QColor read = QColor::fromString(QLatin1StringView(value));
            if (known(body, name, value) && read.isValid())
                target = read;
        };
        colour("BGCOLOR", result.background);
        colour("TEXT", result.text);
        colour("LINK", result.link);
    }

    RichText &out() { return inTitle ? result.title : inMarquee ? result.marquees.last() : piece; }

    // A piece may end where the page has closed all it opened, once it has `length`
    // characters; it ends before the next text or picture, so that the next piece goes on
    // with the line the engine has, or starts a line of its own where a block ended.
    void mayEndPiece(qsizetype length)
    {
        pieceDue = pieceDue
                   || (openElements == 0 && !inMarquee && !piece.isEmpty() && piece.text.size() >= length);
    }

    // Before text, a picture or a tag within a line, into the page's body.
    void inLine()
    {
        if (inTitle || inMarquee)
            return;
        if (pieceDue) {
            result.pieces.append(piece);
            piece = {};
            piece.newBlock = afterBlock;
            pieceDue = false;
        }
        afterBlock = false;
    }

    // Before a tag that opens or closes a block: what follows its end starts a line.
    void block(bool closing)
    {
        if (inTitle || inMarquee)
            return;
        pieceDue = false;
        afterBlock = closing;
    }

    // A block of the rich text. The engine ends a DIV's block where it closes only when the
    // DIV holds an element, so each holds one from its start.
    static QString openBlock(const QString &element, const QByteArray &align = {})
    {
        const QString open = align.isEmpty() ? QStringLiteral("<%1>").arg(element)
                                             : QStringLiteral("<%1 align=\"%2\">")
                                                   .arg(element, escaped(QString::fromLatin1(align)));
        return element == QLatin1String("div") ? open + QLatin1String("<span></span>") : open;
    }

    // Counts the elements the rich text opens and closes, to know where a piece may end.
    void opens(bool closing)
    {
        if (inMarquee)
            return;
        openElements = std::max(0, openElements + (closing ? -1 : 1));
    }

    bool known(const MarkupTag &tag) const
    {
        return tag.facts && tag.facts->version <= setting.handset.htmlVersion;
    }

    bool known(const MarkupTag &tag, QByteArrayView name, QByteArrayView value) const
    {
        const int version = tag.facts ? tag.facts->attributeVersion(name, value) : 0;
        return version > 0 && version <= setting.handset.htmlVersion;
    }

    static QByteArrayView attribute(const Markup &markup, const MarkupTag &tag, QByteArrayView name)
    {
        for (const MarkupAttribute &attribute : markup.attributesOf(tag))
            if (attribute.name.compare(name, Qt::CaseInsensitive) == 0)
                return attribute.value;
        return {};
    }

    // Text of the page: Shift-JIS, with pictograms in their raw two-byte form.
    void translateText(QByteArrayView bytes)
    {
        qsizetype start = 0;
        qsizetype at = 0;
        const auto flush = [&] {
            if (at > start)
                appendText(sjis::toUnicode(bytes.sliced(start, at - start).toByteArray()));
        };
        while (at < bytes.size()) {
            const uchar lead = uchar(bytes[at]);
            if ((lead == 0xF8 || lead == 0xF9) && at + 1 < bytes.size()) {
                if (const Pictogram *pictogram =
                        PictogramWithCode(std::uint16_t(lead << 8 | uchar(bytes[at + 1])))) {
                    flush();
                    if (!pictogram->extended || setting.handset.htmlVersion >= 40)
                        appendPictogram(*pictogram);
                    at += 2;
                    start = at;
                    continue;
                }
            }
            at += sjis::isLeadByte(lead) ? 2 : 1;
        }
        at = bytes.size();
        flush();
    }

    // Decoded text, whose "&" and "<" are those of the page's source.
    void appendText(const QString &text)
    {
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); }))
            inLine();
        QString &target = out().text;
        for (qsizetype at = 0; at < text.size(); ++at) {
            const QChar c = text[at];
            if (c == QLatin1Char('&')) {
                const QByteArray rest = text.mid(at, 7).toLatin1();
                const auto entity = std::find_if(knownEntities.begin(), knownEntities.end(),
                                                 [&rest](QByteArrayView name) { return rest.startsWith(name); });
                if (entity != knownEntities.end()) {
                    target += QString::fromLatin1(entity->toByteArray());
                    at += entity->size() - 1;
                    continue;
                }
                target += QLatin1String("&amp;");
            } else if (c == QLatin1Char('<')) {
                target += QLatin1String("&lt;");
            } else if (c == QLatin1Char('>')) {
                target += QLatin1String("&gt;");
            } else if (c == InlinePictureMark) {
                target += QChar(QChar::ReplacementCharacter); // the page's own stands for nothing
            } else if (c == QChar(0x3000)) {
                // The full-width space indents a line; to the rich text it would be a blank
                // that folds away.
                target += QLatin1String("&nbsp;&nbsp;");
            } else {
                target += c;
            }
        }
    }

    void translateReference(const CharacterReference &reference)
    {
        if (reference.hexadecimal) {
            // Unicode references are read from HTML 4.0 on, pictograms by their private code.
            if (setting.handset.htmlVersion < 40)
                return;
            if (const Pictogram *pictogram = PictogramWithCharacter(reference.value))
                return appendPictogram(*pictogram);
            const char32_t character = reference.value;
            return appendText(QString::fromUcs4(&character, 1));
        }
        if (reference.value <= 0xFFFF) {
            if (const Pictogram *pictogram = PictogramWithCode(std::uint16_t(reference.value))) {
                // Handsets read extended pictograms only as their raw code.
                if (!pictogram->extended)
                    appendPictogram(*pictogram);
                return;
            }
        }
        appendText(ShownForReference(reference.value));
    }

    void appendPictogram(const Pictogram &pictogram)
    {
        const QString name = QStringLiteral("pictogram:%1").arg(pictogram.code, 4, 16, QLatin1Char('0'));
        if (!result.pictures.contains(name))
            result.pictures.insert(name, PictogramOnScreen(setting.pictograms->picture(pictogram, setting.fontHeight),
                                                           setting.fontHeight, result.text,
                                                           setting.handset.colourDepth));
        inLine();
        out().add({name, {}});
    }

    void addPicture(const QImage &picture)
    {
        const QString name = QStringLiteral("picture:%1").arg(result.pictures.size());
        result.pictures.insert(name, picture);
        out().add({name, picture.size()});
    }

    void translateTag(const MarkupTag &tag, const Markup &markup)
    {
        if (!known(tag))
            return; // the handset passes over tags it does not know
        const QByteArray &name = tag.facts->name;
        const QString closing = tag.closing ? QStringLiteral("/") : QString();
        const auto known = [&](const char *attributeName) {
            const QByteArrayView value = attribute(markup, tag, attributeName);
            return this->known(tag, attributeName, value) ? value : QByteArrayView();
        };
        if (name == "BR") {
            inLine();
            out().text += QLatin1String("<br/>");
        } else if (name == "P" || name == "DIV" || name == "CENTER") {
            const QByteArray align = name == "CENTER" ? QByteArray("center") : known("ALIGN").toByteArray();
            const QString element = name == "P" ? QStringLiteral("p") : QStringLiteral("div");
            if (name != "P") // a paragraph's end tag may be left out
                opens(tag.closing);
            block(tag.closing);
            out().text += tag.closing ? QStringLiteral("</%1>").arg(element) : openBlock(element, align);
        } else if (name == "HR") {
            horizontalRule(known("WIDTH"), known("SIZE"), known("COLOR"), known("ALIGN"),
                           !attribute(markup, tag, "NOSHADE").isNull());
        } else if (name == "FONT") {
            inLine();
            opens(tag.closing);
            const QByteArrayView colour = known("COLOR");
            out().text += tag.closing ? QStringLiteral("</font>")
                                 : QStringLiteral("<font color=\"%1\">")
                                       .arg(escaped(QString::fromLatin1(colour.toByteArray())));
        } else if (name == "A") {
            inLine();
            opens(tag.closing);
            const QByteArrayView target = known("HREF");
            // The engine would draw a link in the desktop's link colour; the handset draws it in
            // the page's LINK colour, or its own where the page has none.
            out().text += tag.closing ? QStringLiteral("</a>")
                                 : QStringLiteral("<a href=\"%1\" style=\"color: %2\">")
                                       .arg(escaped(sjis::toUnicode(target.toByteArray())), result.link.name());
        } else if (name == "IMG" && !tag.closing) {
            picture(sjis::toUnicode(attribute(markup, tag, "SRC").toByteArray()).trimmed(), known("ALT"),
                    known("WIDTH"), known("HEIGHT"));
        } else if (name == "BLINK") {
            inLine();
            opens(tag.closing);
            result.blinks = true;
            out().text += tag.closing ? QStringLiteral("</span>")
                                 : QStringLiteral("<span style=\"background-color: %1\">")
                                       .arg(BlinkMarker().name(QColor::HexArgb));
        } else if (name == "MARQUEE") {
            tag.closing ? endMarquee() : startMarquee();
        } else if (QByteArrayList{"H1", "H2", "H3", "H4", "H5", "H6", "BLOCKQUOTE", "PRE", "UL", "OL",
                                  "LI", "DL", "DT", "DD"}
                       .contains(name)) {
            if (tag.facts->closed)
                opens(tag.closing);
            block(tag.closing);
            out().text += QStringLiteral("<%1%2>").arg(closing, QString::fromLatin1(name).toLower());
        } else if (name == "DIR" || name == "MENU") {
            opens(tag.closing);
            block(tag.closing);
            out().text += QStringLiteral("<%1ul>").arg(closing);
        }
    }

    void horizontalRule(QByteArrayView width, QByteArrayView size, QByteArrayView colour,
                        QByteArrayView align, bool noShade)
    {
        const QImage rule = RulePicture(width, size, colour, noShade, setting.screenWidth);
        const QByteArray side = align.compare("left", Qt::CaseInsensitive) == 0    ? QByteArray("left")
                                : align.compare("right", Qt::CaseInsensitive) == 0 ? QByteArray("right")
                                                                                   : QByteArray("center");
        // A rule is a line of its own, with no blank line above or below.
        block(false);
        out().text += openBlock(QStringLiteral("div"), side);
        addPicture(rule);
        out().text += QLatin1String("</div>");
        block(true);
    }

    // A picture of the page as the handset shows it. Its file counts towards the page's limit
    // the first time the page names it, as the page check counts it; where it takes the page
    // past the limit, the page ends.
    void picture(const QString &source, QByteArrayView alt, QByteArrayView width, QByteArrayView height)
    {
        inLine();
        const std::optional<ImageFile> file =
            source.isEmpty() || IsPictureElsewhere(source) || !setting.findPicture
                ? std::nullopt
                : setting.findPicture(source);
        QImage image;
        if (!file) {
            image = MissingPictureMark(source, setting.fontHeight, setting.screenWidth);
        } else {
            if (!countedPictures.contains(source)) {
                countedPictures.insert(source);
                if (!take(file->size))
                    return;
            }
            if (HandsetShows(setting.handset, file->facts.format) && setting.loadPicture)
                image = setting.loadPicture(source);
            if (image.isNull())
                return notShown(alt);
        }
        // The page's own numbers are sizes to draw at, never sizes to allocate.
        const ShownPicture shown = ShownPictureOf(image.size(), PixelsWritten(width), PixelsWritten(height),
                                                {setting.screenWidth, setting.screenHeight});
        if (shown.columns < image.width())
            image = image.copy(0, 0, shown.columns, image.height());
        if (shown.size != image.size())
            image = image.scaled(shown.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        addPicture(image);
    }

    // Where the handset cannot show a picture, it shows the picture's ALT text, or without one
    // a small mark of a broken picture in a character's cell.
    void notShown(QByteArrayView alt)
    {
        if (!alt.trimmed().isEmpty())
            return translateText(alt);
        const QString name = QStringLiteral("picture:broken");
        if (!result.pictures.contains(name))
            result.pictures.insert(name, BrokenPictureMark(setting.fontHeight));
        out().add({name, {}});
    }

    // A MARQUEE runs across a line of the screen: its text is kept apart and drawn scrolling
    // into a picture of that line.
    void startMarquee()
    {
        endMarquee();
        const int height = setting.fontHeight + 4;
        const QString name = QStringLiteral("marquee:%1").arg(result.marquees.size());
        // Every marquee starts as the same empty line, shared.
        if (emptyLine.isNull()) {
            emptyLine = QImage(setting.screenWidth, height, QImage::Format_ARGB32_Premultiplied);
            emptyLine.fill(Qt::transparent);
        }
        result.pictures.insert(name, emptyLine);
        // A block of its own with nothing but the picture: a piece may start with it, as with
        // text, since the block it falls into shows it alike.
        inLine();
        block(false);
        piece.text += openBlock(QStringLiteral("div"));
        piece.add({name, emptyLine.size()});
        piece.text += QLatin1String("</div>");
        block(true);
        result.marquees.append(RichText());
        inMarquee = true;
    }

    void endMarquee() { inMarquee = false; }

    const PreviewSetting &setting;
    PreviewMarkup result;
    qint64 bytes = 0;              // read by the handset so far, pictures included
    QSet<QString> countedPictures; // by the source the page names them by
    bool inTitle = false;
    bool pieceDue = false;   // the piece ends before the next text or picture
    bool afterBlock = false; // a block closed, and nothing followed it yet
    QImage emptyLine;
    RichText piece;
    int openElements = 0;
    bool inMarquee = false;
};

} // namespace

QString PreviewMarkup::html() const
{
    QString html;
    for (const RichText &piece : pieces)
        html += piece.html();
    return html;
}

PreviewMarkup TranslateForPreview(const QList<PageLine> &lines, const PreviewSetting &setting)
{
    return Translator(setting).run(lines);
}
