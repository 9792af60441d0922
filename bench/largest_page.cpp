#include "largest_page.h"

#include "text/sjis.h"

PageProject largestPage()
{
    const QByteArray word = sjis::fromUnicode(QStringLiteral("いらっしゃいませ"));
    PageProject page;
    page.Title = word;
    page.ColorSupport = ToggleOn;
    page.BodyUsed = ToggleOn;
    page.SeparatorStyle = 2;
    for (ImageSlot &image : page.Images)
        image = {"http://example.jp/top.gif", "index.html", ToggleOn, ToggleOn, ToggleOff};
    for (TextSlot &text : page.Texts)
        text = {"<FONT COLOR=\"red\">" + word + "</FONT>", ToggleOn};
    for (LinkSlot &link : page.Links)
        link = {word, "menu.html", ToggleOn, ToggleOff, ToggleOn, ToggleOn};
    // About 33 KB of everyday markup in each direct input.
    QByteArray markup;
    while (markup.size() < 100 * 1024 / DirectSlotCount)
        markup += "<CENTER><BLINK>" + word + "</BLINK></CENTER><BR><A HREF=\"a.html\">" + word
                  + "&#63647;</A><BR>";
    for (DirectSlot &direct : page.Directs)
        direct = {markup, ToggleOn};
    return page;
}

Pattern everyPart()
{
    Pattern pattern;
    const auto add = [&](int code, int slot) {
        pattern.Parts[static_cast<std::size_t>(pattern.PartCount++)] = {code, slot};
    };
    add(BodyPart, 0);
    for (int n = 1; n <= ImageSlotCount; ++n)
        add(ImagePart, n);
    for (int n = 1; n <= TextSlotCount; ++n)
        add(TextPart, n);
    add(SeparatorPart, 0);
    for (int n = 1; n <= LinkSlotCount; ++n)
        add(LinkPart, n);
    for (int n = 1; n <= DirectSlotCount; ++n)
        add(DirectPart, n);
    return pattern;
}

QList<QByteArray> body()
{
    QList<QByteArray> lines;
    for (int k = 0; k < 150; ++k)
        lines << sjis::fromUnicode(QStringLiteral("本日のおすすめは %1 番です。").arg(k));
    return lines;
}

