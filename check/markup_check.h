#pragma once

#include "check/findings.h"
#include "check/markup.h"
#include "imode/handsets.h"
#include "page/page_generator.h"

#include <QList>

// What the handset makes of the markup and the characters of the page's lines (`markup` holds
// each line's tags and references, as ScanMarkup gives them): tags and attributes its HTML
// version does not know, misspelt tags, tags that an item leaves open or closes in the wrong
// order, bytes that are no Shift-JIS, references it reads as another character, pictograms and
// characters it may not show.
void CheckMarkup(const QList<PageLine> &lines, const QList<Markup> &markup,
                 const Handset &handset, Findings &findings);
