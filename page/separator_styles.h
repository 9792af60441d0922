#pragma once

#include <QByteArray>
#include <QString>

// The ten separator lines a page can use, numbered from 1, in one table: what the basic
// settings show for a style and what a separator part writes into the page.
constexpr int SeparatorStyleCount = 10;

// The caption of style 1 to 10; empty for any other number.
QString SeparatorCaption(int style);

// The line of style 1 to 10: a rule for style 1, the style's decoration centred and black for
// the others; nothing for any other number.
QByteArray SeparatorLine(int style);
