#include "check/markup_check.h"

#include "check/handset_reading.h"
#include "check/html_tags.h"
#include "imode/pictograms.h"
#include "text/sjis.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace {

using Item = LineOrigin::Item;

// The tags the generator frames the page with; they open in one line and close in another.
bool isFrameTag(const QByteArray &name)
{
    static const QByteArrayList frame{"HTML", "HEAD", "TITLE", "BODY"};
    return frame.contains(name);
}

// Checks each line's tags, characters and references, and each item's nesting.
class MarkupChecker {
public:
    MarkupChecker(const QList<PageLine> &lines, const QList<Markup> &markup,
                  const Handset &handset, Findings &findings)
        : lines(lines), markup(markup), handset(handset), findings(findings)
    {
    }

    void run()
    {
        for (qsizetype index = 0; index < lines.size(); ++index) {
            checkTags(lines[index].origin, markup[index]);
            checkCharacters(lines[index], markup[index]);
        }
        checkNesting();
    }

private:
    void add(Severity severity, FindingKind kind, const LineOrigin &origin, const QString &subject,
             const QString &message)
    {
        findings.add(severity, kind, origin, subject, message);
    }

    QString handsetText() const { return HandsetText(handset); }

    void checkTags(const LineOrigin &origin, const Markup &lineMarkup)
    {
        const int version = handset.htmlVersion;
        for (const MarkupTag &tag : lineMarkup.tags) {
            if (tag.unfinished)
                add(Severity::Warning, FindingKind::TagNotEnded, origin, upper(tag.name),
                    QStringLiteral("「<%1%2」が「>」で閉じていません。")
                        .arg(tag.closing ? QStringLiteral("/") : QString(), upper(tag.name)));
            const TagFacts *facts = tag.facts;
            if (!facts) {
                // A tag without its ">" is that mistake, not a name to spell out.
                if (!tag.unfinished)
                    checkUnknownTag(origin, tag);
                continue;
            }
            if (tag.closing)
                continue;
            const auto name = [facts] { return QString::fromLatin1(facts->name); };
            if (facts->version > version) {
                // The handset drops the tag, and its attributes with it.
                add(Severity::Warning, FindingKind::TagNotInVersion, origin, name(),
                    QStringLiteral("「<%1>」はHTML %2からのタグで、%3では表示されません。")
                        .arg(name(), HtmlVersionText(facts->version), handsetText()));
                continue;
            }
            // Past a missing ">" the words are the text the tag swallowed, not attributes.
            if (tag.unfinished)
                continue;
            // The attributes of one tag that came later make one finding for each version.
            QMap<int, QStringList> later;
            for (const auto &[attribute, value] : lineMarkup.attributesOf(tag)) {
                const int needed = facts->attributeVersion(attribute, value);
                if (needed == 0) {
                    const QString written = text(attribute).toUpper();
                    add(Severity::Warning, FindingKind::AttributeUnknown, origin, written,
                        QStringLiteral("「<%1>」に「%2」という属性はありません。携帯では無視されます。")
                            .arg(name(), written));
                } else if (needed > version) {
                    const bool byValue = needed > facts->attributeVersion(attribute, {});
                    later[needed] << (byValue ? upper(attribute) + QLatin1Char('=') + text(value).toUpper()
                                              : upper(attribute));
                }
            }
            for (auto needed = later.cbegin(); needed != later.cend(); ++needed) {
                const QString used = needed.value().join(QLatin1Char(' '));
                add(Severity::Warning, FindingKind::AttributeNotInVersion, origin, used,
                    QStringLiteral("「<%1 %2>」はHTML %3からで、%4では無視されます。")
                        .arg(name(), used, HtmlVersionText(needed.key()), handsetText()));
            }
        }
    }

    // A tag no handset knows: one of HTML's that i-mode lacks, a slip of a known one, or
    // something else.
    void checkUnknownTag(const LineOrigin &origin, const MarkupTag &tag)
    {
        const QString written = text(tag.name).toUpper();
        if (IsHtmlTagWithoutImode(tag.name)) {
            add(Severity::Warning, FindingKind::TagNotInImode, origin, written,
                QStringLiteral("「<%1>」はHTMLのタグですが、i-mode のHTMLにはありません。携帯では"
                               "無視されます。")
                    .arg(written));
            return;
        }
        const QByteArray nearest = NearestTag(tag.name);
        if (nearest.isEmpty())
            add(Severity::Warning, FindingKind::TagUnknown, origin, written,
                QStringLiteral("「<%1>」というタグは携帯にはありません。").arg(written));
        else
            add(Severity::Warning, FindingKind::TagMisspelt, origin, written,
                QStringLiteral("「<%1>」というタグはありません。「<%2>」のつづり違いではありませんか。")
                    .arg(written, QString::fromLatin1(nearest)));
    }

    // What the user wrote, Shift-JIS as it is, for a message.
    static QString text(QByteArrayView written) { return sjis::toUnicode(written.toByteArray()); }

    static QString upper(QByteArrayView name) { return QString::fromLatin1(UpperName(name)); }

    // Tags that enclose text must be closed, in the reverse order, over the page: a tag may open
    // in one item and close in another. A mistake is said once, where it is made: the tags a
    // misplaced end tag closes early are closed, and their own end tags later say nothing.
    void checkNesting()
    {
        struct Open {
            const TagFacts *tag;
            LineOrigin origin;
        };
        // Every step is constant work or pops what it walks over, so a hostile page of
        // thousands of tags is checked in time proportional to its length.
        QList<Open> open;
        QHash<const TagFacts *, int> openCount;
        QHash<const TagFacts *, int> closedEarly;
        for (qsizetype index = 0; index < lines.size(); ++index) {
            const PageLine &line = lines[index];
            for (const MarkupTag &tag : markup[index].tags) {
                const TagFacts *facts = tag.facts;
                if (!facts || !facts->closed || isFrameTag(facts->name))
                    continue;
                if (!tag.closing) {
                    open.append({facts, line.origin});
                    ++openCount[facts];
                    continue;
                }
                const QString name = QString::fromLatin1(facts->name);
                if (openCount.value(facts) == 0) {
                    if (int &early = closedEarly[facts]; early > 0) {
                        --early;
                        continue;
                    }
                    add(Severity::Warning, FindingKind::EndTagWithoutStart, line.origin, name,
                        QStringLiteral("「</%1>」に対応する「<%1>」がありません。").arg(name));
                    continue;
                }
                qsizetype match = open.size() - 1;
                while (open[match].tag != facts)
                    --match;
                if (match != open.size() - 1)
                    add(Severity::Warning, FindingKind::EndTagOutOfOrder, line.origin, name,
                        QStringLiteral("「</%1>」の前に「<%2>」を閉じてください。閉じる順番が逆です。")
                            .arg(name, QString::fromLatin1(open.last().tag->name)));
                for (qsizetype inner = match + 1; inner < open.size(); ++inner) {
                    --openCount[open[inner].tag];
                    ++closedEarly[open[inner].tag];
                }
                --openCount[facts];
                open.resize(match);
            }
        }
        for (const Open &left : open) {
            const QString name = QString::fromLatin1(left.tag->name);
            add(Severity::Warning, FindingKind::TagNotClosed, left.origin, name,
                QStringLiteral("「<%1>」が閉じていません。「</%1>」を書き足してください。").arg(name));
        }
    }

    void checkCharacters(const PageLine &line, const Markup &lineMarkup)
    {
        const QByteArray &text = line.text;
        bool invalid = false;
        qsizetype invalidAt = 0;
        // Where the first character of each kind begins; -1 while there is none.
        qsizetype vendorAt = -1;
        qsizetype extendedAt = -1;
        const Pictogram *rawBasic = nullptr;
        qsizetype rawBasicAt = -1;
        const char *bytes = text.constData();
        const qsizetype size = text.size();
        for (qsizetype at = 0; at < size;) {
            // Runs of ASCII, most of any page, are passed over eight bytes at a time.
            while (at + 8 <= size) {
                quint64 eight = 0;
                std::memcpy(&eight, bytes + at, 8);
                if (eight & 0x8080808080808080)
                    break;
                at += 8;
            }
            if (at == size)
                break;
            const uchar lead = uchar(bytes[at]);
            if (lead < 0x80 || (lead >= 0xA1 && lead <= 0xDF)) {
                ++at;
                continue;
            }
            const uchar trail = at + 1 < size ? uchar(bytes[at + 1]) : 0;
            const bool pair = sjis::isLeadByte(lead)
                              && ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC));
            const std::uint16_t code = std::uint16_t(lead << 8 | trail);
            const bool userRow = lead >= 0xF0 && lead <= 0xF9;
            const Pictogram *pictogram = userRow ? PictogramWithCode(code) : nullptr;
            const bool unassigned = lead == 0x85 || lead == 0x86 || lead == 0xEB || lead == 0xEC
                                    || lead == 0xEF || (userRow && !pictogram);
            if (!pair || unassigned) {
                if (!invalid)
                    invalidAt = at;
                invalid = true;
                at += pair ? 2 : 1;
                continue;
            }
            if (vendorAt < 0 && (lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA))
                vendorAt = at;
            if (extendedAt < 0 && pictogram && pictogram->extended)
                extendedAt = at;
            if (!rawBasic && pictogram && !pictogram->extended) {
                rawBasic = pictogram;
                rawBasicAt = at;
            }
            at += 2;
        }
        const LineOrigin &origin = line.origin;
        const auto characterAt = [&text](qsizetype at) { return sjis::toUnicode(text.mid(at, 2)); };
        if (invalid) {
            // What the user wrote before it, without the page's own tags around the item.
            static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
            const QString before = sjis::toUnicode(text.left(invalidAt)).remove(tags).right(6);
            add(Severity::Error, FindingKind::NotShiftJis, origin, QString(),
                before.isEmpty()
                    ? QStringLiteral("Shift-JISでない文字があり、携帯では文字化けします。打ち直してください。")
                    : QStringLiteral("「%1」の後に、Shift-JISでない文字があり、携帯では文字化けします。"
                                     "打ち直してください。")
                          .arg(before));
        }
        if (vendorAt >= 0)
            add(Severity::Notice, FindingKind::VendorCharacter, origin, characterAt(vendorAt),
                QStringLiteral("①やⅠのような機種依存文字は、表示できない携帯があります。"));
        if (extendedAt >= 0 && handset.htmlVersion < 40)
            add(Severity::Warning, FindingKind::ExtendedPictogramNotShown, origin,
                characterAt(extendedAt),
                QStringLiteral("拡張絵文字はHTML 4.0の機種からで、%1では表示されません。")
                    .arg(handsetText()));
        // The 501i shows a basic pictogram only from its reference; its raw bytes come out garbled.
        if (rawBasic && handset.htmlVersion < 20)
            add(Severity::Warning, FindingKind::RawPictogramBefore20, origin, characterAt(rawBasicAt),
                QStringLiteral("絵文字「%1」がそのまま入っていて、%2では文字化けします。絵文字パレットから入れ直すか、"
                               "「%3」と書いてください。")
                    .arg(rawBasic->name, handsetText(), QString::fromLatin1(rawBasic->decimalReference())));
        for (const CharacterReference &reference : lineMarkup.references)
            checkReference(origin, reference);
    }

    void checkReference(const LineOrigin &origin, const CharacterReference &reference)
    {
        const QString written = QString::fromLatin1(reference.text.toByteArray());
        if (reference.hexadecimal) {
            if (handset.htmlVersion < 40)
                add(Severity::Warning, FindingKind::HexReferenceNotInVersion, origin, written,
                    QStringLiteral("「%1」の書き方はHTML 4.0からで、%2では表示されません。")
                        .arg(written, handsetText()));
            return;
        }
        if (reference.value < 0x80)
            return;
        if (const Pictogram *pictogram =
                reference.value <= 0xFFFF ? PictogramWithCode(std::uint16_t(reference.value))
                                          : nullptr) {
            if (pictogram->extended)
                add(Severity::Error, FindingKind::ExtendedPictogramAsReference, origin, written,
                    QStringLiteral("拡張絵文字「%1」は「%2」の形では表示されません。絵文字そのものを"
                                   "入れてください。")
                        .arg(pictogram->name, written));
            return;
        }
        // Handsets read the number as a Shift-JIS code, not as the character it names.
        const QString shown = ShownForReference(reference.value);
        add(Severity::Warning, FindingKind::ReferenceReadAsShiftJis, origin, written,
            shown.isEmpty()
                ? QStringLiteral("「%1」は携帯では表示されません。別の文字に置き換えてください。")
                      .arg(written)
                : QStringLiteral("「%1」は携帯では「%2」と表示されます。別の文字に置き換えてください。")
                      .arg(written, shown));
    }

    const QList<PageLine> &lines;
    const QList<Markup> &markup;
    const Handset &handset;
    Findings &findings;
};

} // namespace

void CheckMarkup(const QList<PageLine> &lines, const QList<Markup> &markup,
                 const Handset &handset, Findings &findings)
{
    MarkupChecker(lines, markup, handset, findings).run();
}
