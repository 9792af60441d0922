#pragma once

#include <QByteArray>

#include <cstdint>

// Colours are held as text "#RRGGBB": upper-case hexadecimal, red, green, blue, high digit first.

QByteArray FormatColorCode(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

struct ColorComponents {
    std::uint8_t red = 0, green = 0, blue = 0;
};

// Reads red from the bytes at positions 2-3, green from 4-5 and blue from 6-7 (counted from
// 1); the first byte and anything after the seventh are not looked at. A pair holding a space
// gives 0. Any other byte outside "0"-"9" and "A"-"F", or a missing one, throws
// notAnInteger with that character (empty when missing).
ColorComponents ParseColorCode(const QByteArray &text);
