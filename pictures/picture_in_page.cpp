#include "pictures/picture_in_page.h"

#include "check/image_facts.h"
#include "check/markup.h"
#include "check/page_check.h"
#include "page/color_code.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "pictures/picture_fitting.h"
#include "text/sjis.h"

#include <QFileInfo>

#include <functional>

namespace {

// Calls `use` with each IMG SRC of the line: its value as the page names it, and where the
// value's bytes lie in the line.
void forEachPictureSource(const QByteArray &line,
                          const std::function<void(const QString &, qsizetype, qsizetype)> &use)
{
    const Markup markup = ScanMarkup(line);
    for (const MarkupTag &tag : markup.tags) {
        if (tag.closing || UpperName(tag.name) != "IMG")
            continue;
        for (const MarkupAttribute &attribute : markup.attributesOf(tag))
            if (UpperName(attribute.name) == "SRC")
                use(sjis::toUnicode(attribute.value.toByteArray()).trimmed(),
                    attribute.value.data() - line.constData(), attribute.value.size());
    }
}

} // namespace

QStringList LocalPictureSources(const QList<PageLine> &lines)
{
    QStringList sources;
    for (const PageLine &line : lines)
        forEachPictureSource(line.text, [&sources](const QString &source, qsizetype, qsizetype) {
            if (!source.isEmpty() && !IsPictureElsewhere(source) && !sources.contains(source))
                sources.append(source);
        });
    return sources;
}

QByteArray RenamePictureSources(const QByteArray &line, const QHash<QString, QString> &names)
{
    QByteArray renamed;
    renamed.reserve(line.size());
    qsizetype copied = 0;
    forEachPictureSource(line, [&](const QString &source, qsizetype at, qsizetype size) {
        const auto name = names.constFind(source);
        if (name == names.constEnd())
            return;
        renamed += line.mid(copied, at - copied) + sjis::fromUnicode(*name);
        copied = at + size;
    });
    return renamed + line.mid(copied);
}

QString PhonePictureName(const QString &source, const QString &extension)
{
    const QString base = QFileInfo(source).completeBaseName();
    QString kept;
    for (const QChar c : base)
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')
            || c == u'-' || c == u'_' || c == u'.')
            kept += c;
    if (kept.isEmpty() || kept.startsWith(QLatin1Char('.')))
        kept.prepend(QStringLiteral("picture"));
    return kept + QLatin1Char('.') + extension;
}

QByteArray RenameImageUrl(const QByteArray &url, const QHash<QString, QString> &names)
{
    static const QByteArray before = "<IMG SRC=\"", after = "\">";
    const QByteArray renamed = RenamePictureSources(before + url + after, names);
    if (!renamed.startsWith(before) || !renamed.endsWith(after))
        return url;
    return renamed.mid(before.size(), renamed.size() - before.size() - after.size());
}

bool CanPutPictureInto(const LineOrigin &origin)
{
    return origin.item == LineOrigin::Item::Image || origin.item == LineOrigin::Item::Direct;
}

void PutPictureIntoPage(PageProject &page, const LineOrigin &origin, const QString &source,
                        const QString &name)
{
    const auto slot = std::size_t(origin.number - 1);
    if (origin.item == LineOrigin::Item::Image && slot < page.Images.size())
        page.Images[slot].ImageUrl = sjis::fromUnicode(name);
    else if (origin.item == LineOrigin::Item::Direct && slot < page.Directs.size())
        page.Directs[slot].DirectMarkup =
            RenamePictureSources(page.Directs[slot].DirectMarkup, {{source, name}});
}

qint64 PictureBudgetInPage(const PageProject &page, const PageLocation &location,
                           const Pattern &pattern, const Handset &handset,
                           const LineOrigin &origin, const QString &source, const QString &name,
                           PageFiles &files)
{
    PageProject fitted = page;
    PutPictureIntoPage(fitted, origin, source, name);
    const PageNow now = PageAsWrittenNow(fitted, location, pattern, pattern.PartCount, files);
    qint64 others = 0;
    if (!now.pictureFolder.isEmpty())
        for (const QString &other : LocalPictureSources(now.lines))
            if (other != name)
                if (const std::optional<ImageFile> file = ImagesInFolder(now.pictureFolder, files)(other))
                    others += file->size;
    return SharePictureBudget(handset.pageLimitBytes(), now.bytes().size(), others, {QSize(1, 1)})
        .value(0);
}

QColor PageBackground(const PageProject &page)
{
    if (!isOn(page.ColorSupport))
        return Qt::white;
    try {
        const ColorComponents colour = ParseColorCode(page.BackgroundColor);
        return QColor(colour.red, colour.green, colour.blue);
    } catch (const UserError &) {
        return Qt::white;
    }
}

bool OffersPictureFitting(const Finding &finding)
{
    switch (finding.kind) {
    case FindingKind::JpegNotShown:
    case FindingKind::PngNotShown:
    case FindingKind::ImageFormatNotShown:
    case FindingKind::ImageTooWide:
        return CanPutPictureInto(finding.origin) && !finding.subject.isEmpty();
    default:
        return false;
    }
}
