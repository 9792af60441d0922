#pragma once

// The largest page the benchmarks measure: every slot used, a body of 150 lines and 100 KB of
// hand-written markup in the direct inputs.

#include "page/page_project.h"
#include "page/pattern.h"

#include <QByteArray>
#include <QList>

PageProject largestPage();
// Every part once: the body, the images, the texts, a separator, the links, the direct inputs.
Pattern everyPart();
QList<QByteArray> body();
