#pragma once

#include "text/stored_path.h"

#include <QByteArray>

#include <array>
#include <cstdint>

// Every on/off value of the page: 1 means on (yes, used), 2 means off. Only 1 counts as on;
// any other value (the 0 a project file cut short leaves, say) is off.
using Toggle = std::uint8_t;
constexpr Toggle ToggleOn = 1;
constexpr Toggle ToggleOff = 2;
inline bool isOn(Toggle value) { return value == ToggleOn; }

struct ImageSlot {
    QByteArray ImageUrl;
    QByteArray ImageLinkUrl;
    Toggle ImageUsed = ToggleOff;
    Toggle ImageLinked = ToggleOff;
    Toggle ImageLeft = ToggleOff; // on: left-aligned, off: centred
};

struct TextSlot {
    QByteArray TextContent;
    Toggle TextUsed = ToggleOff;
};

struct LinkSlot {
    QByteArray LinkCaption;
    QByteArray LinkTarget;
    Toggle LinkUsed = ToggleOff;
    Toggle LinkMail = ToggleOff;
    Toggle LinkCentered = ToggleOff;
    Toggle LinkAccessKey = ToggleOff;
};

struct DirectSlot {
    QByteArray DirectMarkup;
    Toggle DirectUsed = ToggleOff;
};

constexpr int ImageSlotCount = 2;
constexpr int TextSlotCount = 5;
constexpr int LinkSlotCount = 10;
constexpr int DirectSlotCount = 3;

// The one page under construction. Slots exist whether or not the current pattern shows them,
// so changing the pattern never loses what was entered. Slot n is at index n - 1.
struct PageProject {
    QByteArray Title;
    Toggle ColorSupport = ToggleOff;
    QByteArray BackgroundColor = "#FFFFFF";
    QByteArray LinkColor = "#0000FF";
    QByteArray TextColor = "#000000";
    std::uint8_t SeparatorStyle = 1;
    QByteArray SeparatorColor = "#000000";
    std::int32_t PatternNumber = 1;
    StoredPath BodyFile;
    Toggle BodyUsed = ToggleOff;
    std::array<ImageSlot, ImageSlotCount> Images;
    std::array<TextSlot, TextSlotCount> Texts;
    std::array<LinkSlot, LinkSlotCount> Links;
    std::array<DirectSlot, DirectSlotCount> Directs;
};

// The item kinds, numbered as the item editor knows them.
enum class ItemKind : std::uint8_t { Image = 1, Text = 2, Link = 3, Direct = 4, Body = 5 };

// What the window shows of the page, kept beside it and never saved: the slot each item button
// edits, the kind open in the item editor and the page of the summary panel.
struct WorkingState {
    std::uint8_t CurrentImage = 1;
    std::uint8_t CurrentText = 1;
    std::uint8_t CurrentLink = 1;
    std::uint8_t CurrentDirect = 1;
    ItemKind EditKind = ItemKind::Image;
    std::uint8_t SummaryPage = 1;
};

// Where the page's files lie: the folder HTML保存 last wrote the page to, and the folder of the
// project last opened or saved; empty before either. A new page keeps them.
struct PageLocation {
    QString PageFolder;
    QString ProjectFolder;
};

// The folder the page's pictures are looked for in: where the page was last saved, else where
// its project was last opened or saved, else the body file's; empty when none is known.
QString PictureFolder(const PageProject &page, const PageLocation &location);

// The body file on disk; a relative path is read against the project's folder.
QString BodyFileOnDisk(const PageProject &page, const PageLocation &location);

// The slot after (step 1) or before (step −1) `current` among `count` slots, wrapping round.
std::uint8_t steppedSlot(std::uint8_t current, int count, int step);

// Sets every page field to its default, pattern 1 included, and every current slot to 1.
// Loading pattern 1 and showing it is the caller's half.
void ResetPage(PageProject &page, WorkingState &state);
