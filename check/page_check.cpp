#include "check/page_check.h"

#include "check/html_tags.h"
#include "check/markup.h"
#include "check/markup_check.h"
#include "page/body_text.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "text/io_error.h"
#include "text/sjis.h"
#include "text/text_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

using Item = LineOrigin::Item;

// Access keys run 1 to 9 and 0: the eleventh key repeats the first.
constexpr int accessKeyCount = 10;

class Checker {
public:
    explicit Checker(const PageCheckInput &input) : input(input) {}

    PageCheckResult run()
    {
        result.limitBytes = input.handset.pageLimitBytes();
        QList<Markup> markup;
        markup.reserve(input.lines.size());
        for (const PageLine &line : input.lines) {
            result.pageBytes += line.text.size() + 2;
            markup.append(ScanMarkup(line.text));
        }
        CheckMarkup(input.lines, markup, input.handset, findings);
        for (qsizetype index = 0; index < input.lines.size(); ++index) {
            const LineOrigin &origin = input.lines[index].origin;
            checkImages(origin, markup[index]);
            checkAccessKeys(origin, markup[index]);
            if (origin.item == Item::Link)
                checkLink(origin);
            else if (origin.item == Item::Image)
                checkImageLink(origin);
        }
        checkForgottenItems();
        // Said only of a page that has pictures of its own to count.
        if (!input.images && !uncountedImages.isEmpty())
            findings.addForPage(
                Severity::Notice, FindingKind::ImageSizesNotKnownYet, QString(),
                QStringLiteral("画像の大きさは、HTMLを保存するフォルダが決まってから数えます。"));
        checkSize();
        result.findings = inPageOrder(findings.list);
        std::stable_sort(result.findings.begin(), result.findings.end(),
                         [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
        return result;
    }

private:
    // The page as a whole first, then the items as the page shows them; items the page does
    // not show last.
    QList<Finding> inPageOrder(const QList<Finding> &list) const
    {
        const auto place = [this](const Finding &finding) {
            if (finding.wholePage)
                return qsizetype(-1);
            for (qsizetype index = 0; index < input.lines.size(); ++index) {
                const LineOrigin &origin = input.lines[index].origin;
                if (origin == finding.origin
                    || (origin.item == Item::Body && finding.origin.item == Item::Body))
                    return index;
            }
            return input.lines.size();
        };
        QList<std::pair<qsizetype, Finding>> placed;
        for (const Finding &finding : list)
            placed.append({place(finding), finding});
        std::stable_sort(placed.begin(), placed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        QList<Finding> ordered;
        for (const auto &[where, finding] : placed)
            ordered.append(finding);
        return ordered;
    }

    void add(Severity severity, FindingKind kind, const LineOrigin &origin, const QString &subject,
             const QString &message)
    {
        findings.add(severity, kind, origin, subject, message);
    }

    QString handsetText() const { return HandsetText(input.handset); }

    void checkImages(const LineOrigin &origin, const Markup &markup)
    {
        for (const MarkupTag &tag : markup.tags) {
            if (tag.closing || !tag.facts || tag.facts->name != "IMG")
                continue;
            for (const auto &[name, value] : markup.attributesOf(tag))
                if (name.compare("SRC", Qt::CaseInsensitive) == 0)
                    checkImage(origin, sjis::toUnicode(value.toByteArray()).trimmed());
        }
    }

    void checkImage(const LineOrigin &origin, const QString &source)
    {
        if (source.isEmpty())
            return;
        if (IsPictureElsewhere(source)) {
            add(Severity::Notice, FindingKind::ImageElsewhere, origin, source,
                QStringLiteral("「%1」はほかの場所の画像なので、ページの大きさに入っていません。")
                    .arg(source));
            return;
        }
        // Such names often break once the page is uploaded.
        if (std::any_of(source.begin(), source.end(), [](QChar c) { return c.unicode() >= 0x80; }))
            add(Severity::Warning, FindingKind::ImageNameNotAscii, origin, source,
                QStringLiteral("「%1」のファイル名に半角英数字以外の文字があります。サーバーに置くと"
                               "表示されないことがあるので、半角英数字の名前にしてください。")
                    .arg(source));
        if (!input.images) {
            uncountedImages.insert(source);
            result.imagesNotCounted = int(uncountedImages.size());
            return;
        }
        const std::optional<ImageFile> file = input.images(source);
        if (!file) {
            uncountedImages.insert(source);
            result.imagesNotCounted = int(uncountedImages.size());
            add(Severity::Error, FindingKind::ImageMissing, origin, source,
                QStringLiteral("画像ファイル「%1」が見つかりません。HTMLと同じフォルダに置いてください。")
                    .arg(source));
            return;
        }
        if (!countedImages.contains(source)) {
            countedImages.insert(source);
            result.imageBytes += file->size;
        }
        const Handset &handset = input.handset;
        const ImageFormat format = file->facts.format;
        if (!HandsetShows(handset, format)) {
            if (format == ImageFormat::Jpeg)
                add(Severity::Warning, FindingKind::JpegNotShown, origin, source,
                    QStringLiteral("「%1」はJPEGで、%2では表示されません（503iより前の機種と、"
                                   "503i・211iの一部の機種はGIFだけ）。GIFにしてください。")
                        .arg(source, handsetText()));
            else if (format == ImageFormat::Png)
                add(Severity::Warning, FindingKind::PngNotShown, origin, source,
                    QStringLiteral("「%1」はPNGで、この携帯では表示されません。GIFにしてください。")
                        .arg(source));
            else
                add(Severity::Warning, FindingKind::ImageFormatNotShown, origin, source,
                    QStringLiteral("「%1」は携帯で表示できる形式ではありません。GIFにしてください。")
                        .arg(source));
        }
        if (handset.screenWidth > 0 && file->facts.width > handset.screenWidth)
            add(Severity::Warning, FindingKind::ImageTooWide, origin, source,
                QStringLiteral("「%1」の幅（%2ピクセル）が%3の画面の幅（%4ピクセル）より広く、右側が"
                               "切れます。表示されない機種もあります。")
                    .arg(source)
                    .arg(file->facts.width)
                    .arg(handset.name)
                    .arg(handset.screenWidth));
    }

    // Access keys over the whole page, the links' and those typed into the direct inputs.
    void checkAccessKeys(const LineOrigin &origin, const Markup &markup)
    {
        for (const MarkupTag &tag : markup.tags) {
            if (tag.closing || !tag.facts)
                continue;
            for (const auto &[name, value] : markup.attributesOf(tag)) {
                if (name.compare("ACCESSKEY", Qt::CaseInsensitive) != 0)
                    continue;
                const QString key = sjis::toUnicode(value.toByteArray()).trimmed();
                // Past ten, keys come again: that is the one mistake, said once.
                if (++accessKeys > accessKeyCount) {
                    if (accessKeys == accessKeyCount + 1)
                        add(Severity::Warning, FindingKind::TooManyAccessKeys, origin, QString(),
                            QStringLiteral("アクセスキーは1ページに10個までです。ここからは前と同じ"
                                           "番号になります。"));
                    continue;
                }
                if (accessKeysUsed.contains(key))
                    add(Severity::Warning, FindingKind::AccessKeyTwice, origin, key,
                        QStringLiteral("アクセスキー「%1」は、このページでもう使われています。"
                                       "押すと、先のほうが開きます。")
                            .arg(key));
                accessKeysUsed.insert(key);
            }
        }
    }

    void checkLink(const LineOrigin &origin)
    {
        if (origin.number < 1 || origin.number > LinkSlotCount)
            return;
        const LinkSlot &link = input.project.Links[std::size_t(origin.number - 1)];
        const QByteArray target = sjis::trimmed(link.LinkTarget);
        if (target.isEmpty())
            add(Severity::Error, FindingKind::LinkWithoutTarget, origin, QString(),
                QStringLiteral("リンク先がありません。URLかメールアドレスを入れてください。"));
        static const QRegularExpression mailAddress(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
        const bool mailTo = target.toLower().startsWith("mailto:");
        if (isOn(link.LinkMail) && mailTo) {
            add(Severity::Error, FindingKind::MailToTwice, origin, sjis::toUnicode(target),
                QStringLiteral("「mailto:」はいりません。メールのリンクには「mailto:」が付くので、"
                               "このままでは「mailto:mailto:」となり、メールが送れません。"));
            return;
        }
        if (!isOn(link.LinkMail) && mailTo && sjis::trimmed(target.mid(7)).isEmpty()) {
            add(Severity::Error, FindingKind::MailAddressMissing, origin, sjis::toUnicode(target),
                QStringLiteral("リンク先「%1」にメールアドレスがありません。").arg(sjis::toUnicode(target)));
            return;
        }
        if (isOn(link.LinkMail) && !target.isEmpty()) {
            const QString address = sjis::toUnicode(target);
            if (!mailAddress.match(address).hasMatch())
                add(Severity::Warning, FindingKind::MailAddressMalformed, origin, address,
                    QStringLiteral("「%1」はメールアドレスの形ではありません。").arg(address));
        }
    }

    // A picture made a link leads somewhere.
    void checkImageLink(const LineOrigin &origin)
    {
        if (origin.number < 1 || origin.number > ImageSlotCount)
            return;
        const ImageSlot &image = input.project.Images[std::size_t(origin.number - 1)];
        if (isOn(image.ImageLinked) && sjis::trimmed(image.ImageLinkUrl).isEmpty())
            add(Severity::Error, FindingKind::LinkWithoutTarget, origin, QString(),
                QStringLiteral("画像のリンク先がありません。URLを入れるか、リンクにしないでください。"));
    }

    // Slots the pattern shows that hold something but are still marked "使用しない".
    void checkForgottenItems()
    {
        const PageProject &page = input.project;
        const int count = std::clamp(input.partCount, 0, std::min(input.pattern.PartCount, MaxPartCount));
        const QString unused =
            QStringLiteral("中身がありますが、「使用しない」にチェックが入っているのでページに出ません。");
        for (int k = 0; k < count; ++k) {
            const PatternPart &part = input.pattern.Parts[std::size_t(k)];
            if (part.PartCode == BodyPart) {
                checkBody();
                continue;
            }
            const int n = part.PartSlot;
            const auto at = [n](int slotCount) {
                return n >= 1 && n <= slotCount ? std::optional<std::size_t>(n - 1) : std::nullopt;
            };
            std::optional<LineOrigin> forgotten;
            if (part.PartCode == ImagePart && at(ImageSlotCount)) {
                const ImageSlot &image = page.Images[*at(ImageSlotCount)];
                if (!isOn(image.ImageUsed) && !image.ImageUrl.isEmpty())
                    forgotten = LineOrigin{Item::Image, n};
            } else if (part.PartCode == TextPart && at(TextSlotCount)) {
                const TextSlot &text = page.Texts[*at(TextSlotCount)];
                if (!isOn(text.TextUsed) && !text.TextContent.isEmpty())
                    forgotten = LineOrigin{Item::Text, n};
            } else if (part.PartCode == LinkPart && at(LinkSlotCount)) {
                const LinkSlot &link = page.Links[*at(LinkSlotCount)];
                if (!isOn(link.LinkUsed) && !(link.LinkCaption + link.LinkTarget).isEmpty())
                    forgotten = LineOrigin{Item::Link, n};
            } else if (part.PartCode == DirectPart && at(DirectSlotCount)) {
                const DirectSlot &direct = page.Directs[*at(DirectSlotCount)];
                if (!isOn(direct.DirectUsed) && !direct.DirectMarkup.isEmpty())
                    forgotten = LineOrigin{Item::Direct, n};
            }
            if (forgotten)
                add(Severity::Notice, FindingKind::ItemUnused, *forgotten, QString(), unused);
        }
        checkItemsNotPlaced(count);
    }

    // Items filled and used that the pattern has no place for: the page leaves them out
    // without a word, and only another pattern shows them.
    void checkItemsNotPlaced(int count)
    {
        QSet<std::pair<int, int>> placed; // part code and slot
        for (int k = 0; k < count; ++k) {
            const PatternPart &part = input.pattern.Parts[std::size_t(k)];
            placed.insert({part.PartCode, part.PartCode == BodyPart ? 0 : part.PartSlot});
        }
        const PageProject &page = input.project;
        const auto check = [&](int code, const LineOrigin &origin, bool filled) {
            if (!filled || placed.contains({code, origin.number}))
                return;
            const QString item = ItemName(origin);
            add(Severity::Warning, FindingKind::ItemNotPlaced, origin, QString(),
                QStringLiteral("今の型（%1番）には%2がないので、%2はページに出ません。「型を選択変更する」で%2の"
                               "ある型を選ぶか、%2を「使用しない」にしてください。")
                    .arg(page.PatternNumber)
                    .arg(item));
        };
        check(BodyPart, {Item::Body, 0}, isOn(page.BodyUsed) && !page.BodyFile.bytes.isEmpty());
        for (int n = 1; n <= ImageSlotCount; ++n) {
            const ImageSlot &image = page.Images[std::size_t(n - 1)];
            check(ImagePart, {Item::Image, n}, isOn(image.ImageUsed) && !sjis::trimmed(image.ImageUrl).isEmpty());
        }
        for (int n = 1; n <= TextSlotCount; ++n) {
            const TextSlot &text = page.Texts[std::size_t(n - 1)];
            check(TextPart, {Item::Text, n}, isOn(text.TextUsed) && !sjis::trimmed(text.TextContent).isEmpty());
        }
        for (int n = 1; n <= LinkSlotCount; ++n) {
            const LinkSlot &link = page.Links[std::size_t(n - 1)];
            check(LinkPart, {Item::Link, n},
                  isOn(link.LinkUsed) && !sjis::trimmed(link.LinkCaption + link.LinkTarget).isEmpty());
        }
        for (int n = 1; n <= DirectSlotCount; ++n) {
            const DirectSlot &direct = page.Directs[std::size_t(n - 1)];
            check(DirectPart, {Item::Direct, n}, isOn(direct.DirectUsed) && !sjis::trimmed(direct.DirectMarkup).isEmpty());
        }
    }

    void checkBody()
    {
        const PageProject &page = input.project;
        const LineOrigin body{Item::Body, 0};
        if (!isOn(page.BodyUsed)) {
            if (!page.BodyFile.bytes.isEmpty())
                add(Severity::Notice, FindingKind::ItemUnused, body, QString(),
                    QStringLiteral("本文のファイルを選んでいますが、「使用しない」にチェックが入って"
                                   "いるので、ページに出ません。"));
            return;
        }
        using State = BodyFileReading::State;
        const BodyFileReading &file = input.body;
        if (file.state == State::Missing) {
            add(Severity::Warning, FindingKind::BodyFileMissing, body, page.BodyFile.shown(),
                QStringLiteral("本文のファイル「%1」が見つかりません。「文章」で選び直してください。")
                    .arg(page.BodyFile.shown()));
            return;
        }
        if (file.state == State::Unreadable) {
            add(Severity::Warning, FindingKind::BodyFileUnreadable, body, page.BodyFile.shown(),
                QStringLiteral("本文のファイル「%1」が読めません（%2）。")
                    .arg(page.BodyFile.shown(), file.reason));
            return;
        }
        if (file.state == State::Read && file.encoding != sjis::TextEncoding::Ascii) {
            const QString encoding = file.encoding == sjis::TextEncoding::Utf8
                                         ? QStringLiteral("UTF-8")
                                         : QStringLiteral("シフトJIS");
            add(Severity::Notice, FindingKind::BodyEncodingRead, body, encoding,
                QStringLiteral("本文のファイルは%1として読みました。").arg(encoding));
        }
        if (file.strayBytes > 0)
            add(Severity::Warning, FindingKind::BodyStrayBytes, body, QString(),
                QStringLiteral("本文のファイルに、UTF-8の文字にならないバイトが%1個あり、「〓」に"
                               "置き換えました。")
                    .arg(file.strayBytes));
        qsizetype lineCount = 0;
        bool breaks = false;
        for (const PageLine &line : input.lines) {
            if (line.origin.item != Item::Body)
                continue;
            ++lineCount;
            const QByteArray upper = line.text.toUpper();
            breaks = breaks || upper.contains("<BR") || upper.contains("<P");
        }
        if (lineCount == 0)
            add(Severity::Warning, FindingKind::BodyFileEmpty, body, QString(),
                QStringLiteral("本文のファイルが空です。"));
        else if (lineCount > 1 && !breaks)
            // Handsets run the lines of a paragraph together; only a break starts a new one.
            add(Severity::Notice, FindingKind::BodyLinesRunTogether, body, QString(),
                QStringLiteral("本文の%1行は、携帯では続けて表示されます。行を変えるには、その行の"
                               "頭に空白を入れるか、空の行をはさんでください。")
                    .arg(lineCount));
    }

    void checkSize()
    {
        if (result.totalBytes() <= result.limitBytes)
            return;
        const SizeTexts said = SizeAgainstLimit(result.totalBytes(), result.limitBytes);
        findings.putFirst(
            Severity::Error, FindingKind::PageTooLarge, QString(),
            QStringLiteral("ページが大きすぎます（画像を含めて %1 %2、%3の上限は %4 %2）。画像を小さく"
                           "するか、内容を減らしてください。")
                .arg(said.size, said.unit, input.handset.name, said.limit));
    }

    const PageCheckInput &input;
    PageCheckResult result;
    Findings findings;
    QSet<QString> countedImages;
    QSet<QString> uncountedImages;
    int accessKeys = 0;
    QSet<QString> accessKeysUsed;
};

} // namespace

bool PageCheckResult::hasErrors() const
{
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding &finding) { return finding.severity == Severity::Error; });
}

ImageLookup ImagesInFolder(const QString &folder, PageFiles &files)
{
    return [folder, &files](const QString &source) -> std::optional<ImageFile> {
        const QString path = PicturePath(folder, source);
        if (path.isEmpty())
            return std::nullopt;
        return files.picture(path);
    };
}

SizeTexts SizeAgainstLimit(qint64 bytes, qint64 limitBytes)
{
    if ((bytes + 50) / 100 == limitBytes / 100 && bytes != limitBytes) {
        const QLocale japanese(QLocale::Japanese);
        return {japanese.toString(bytes), japanese.toString(limitBytes), QStringLiteral("バイト")};
    }
    return {QString::number(double(bytes) / 1000.0, 'f', 1), QString::number(limitBytes / 1000),
            QStringLiteral("KB")};
}

PageCheckResult CheckPage(const PageCheckInput &input)
{
    return Checker(input).run();
}

PageCheckResult CheckPageOf(const PageProject &page, const PageLocation &location,
                            const Pattern &pattern, int partCount, const Handset &handset)
{
    PageFiles files;
    const PageNow now = PageAsWrittenNow(page, location, pattern, partCount, files);
    return CheckPage({now.lines, page, pattern, partCount, now.body,
                      now.pictureFolder.isEmpty() ? ImageLookup()
                                                  : ImagesInFolder(now.pictureFolder, files),
                      handset});
}
