#pragma once

#include "imode/handsets.h"
#include "page/page_generator.h"

#include <QList>
#include <QSet>
#include <QString>

enum class Severity { Error, Warning, Notice };

// "エラー", "警告" or "お知らせ".
QString SeverityText(Severity severity);

// What a finding is about, so that a window can act on it without reading its sentence.
enum class FindingKind {
    PageTooLarge,
    ImageSizesNotKnownYet, // the folder of the page is not chosen yet
    // Markup.
    TagNotEnded,         // "<B" with no ">"
    TagUnknown,          // no handset knows it
    TagNotInImode,       // HTML's, but not i-mode's: <TABLE>, <B>
    TagMisspelt,         // one or two letters off a tag handsets know
    TagNotInVersion,     // of a later HTML version than the handset's
    AttributeUnknown,
    AttributeNotInVersion,
    EndTagWithoutStart,
    EndTagOutOfOrder,
    TagNotClosed,
    // Characters.
    NotShiftJis,
    VendorCharacter, // ① or Ⅰ, which some handsets lack
    ExtendedPictogramNotShown,
    RawPictogramBefore20, // a basic pictogram's own bytes, which the 501i garbles
    ExtendedPictogramAsReference,
    HexReferenceNotInVersion,
    ReferenceReadAsShiftJis, // "&#N;" shows as Shift-JIS code N, or as nothing
    // Pictures.
    ImageElsewhere, // on another site, not counted in the page's size
    ImageMissing,
    JpegNotShown,
    PngNotShown,
    ImageFormatNotShown, // BMP, or nothing a handset knows
    ImageTooWide,
    ImageNameNotAscii, // often breaks once uploaded
    // Links.
    LinkWithoutTarget,
    MailAddressMalformed,
    MailToTwice,        // a mail link's address written with its "mailto:"
    MailAddressMissing, // a link to "mailto:" and nothing more
    TooManyAccessKeys,
    AccessKeyTwice, // the same key on two links, or in a direct input and on a link
    // Items and the body's file.
    ItemUnused,     // filled, but marked "使用しない"
    ItemNotPlaced,  // filled and used, but the pattern has no place for it
    BodyFileMissing,
    BodyFileUnreadable,
    BodyEncodingRead, // not ASCII: read as Shift-JIS or as UTF-8
    BodyStrayBytes,
    BodyFileEmpty,
    BodyLinesRunTogether, // several lines, and no break between them
};

// One thing the check found, with the item of the page it belongs to.
struct Finding {
    Severity severity = Severity::Notice;
    FindingKind kind = FindingKind::PageTooLarge;
    LineOrigin origin;
    bool wholePage = false; // it belongs to the page as a whole, not to one item
    // What it is about: the picture's file name, the tag's or attribute's name, the character
    // (a line's first, where it has several) or the reference as written, the body's file name
    // or the encoding it was read in; empty where the kind and the item say it all.
    QString subject;
    QString message;
};

// The item a finding names: "タイトル", "本文 12行目", "画像2", "テキスト 3", "リンク4",
// "直接入力1", "区切り線", "基本設定" or "ページ".
QString ItemName(const Finding &finding);
// The item the line comes from, named so.
QString ItemName(const LineOrigin &origin);

// The findings of one check, in the order they were found; each is said once for its item.
class Findings {
public:
    void add(Severity severity, FindingKind kind, const LineOrigin &origin, const QString &subject,
             const QString &message);
    void addForPage(Severity severity, FindingKind kind, const QString &subject,
                    const QString &message);
    // A finding about the whole page that goes before all others.
    void putFirst(Severity severity, FindingKind kind, const QString &subject,
                  const QString &message);

    QList<Finding> list;

private:
    QSet<QString> said;
};

// "501i（HTML 1.0）", as the findings name the handset.
QString HandsetText(const Handset &handset);
