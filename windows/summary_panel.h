#pragma once

#include <QImage>

#include <array>

struct PageProject;

constexpr int SummaryWidth = 457;
constexpr int SummaryHeight = 220;
constexpr int SummaryPageCount = 4;

// The access-key number the panel shows beside each link slot, in slot order: 1 to 9, then 0,
// over the used links with an access key; -1 for the others.
std::array<int, 10> summaryAccessKeys(const PageProject &page);

// One page of the summary panel: 1 links 1 to 5, 2 links 6 to 10, 3 texts, 4 images and the
// body text. Drawn in full from the page each time; any other number draws the legend alone.
QImage DrawSummaryPage(const PageProject &page, int pageNumber);
