#pragma once

#include <QHash>
#include <QImage>

#include <cstdint>

struct Pictogram;

// Draws pictograms as the handsets show them, in colour and at text height: from their Unicode
// equivalent in the colour emoji font, the keypad ones as keys, and the marks that have no
// equivalent as small labelled badges. Each picture is drawn once and kept.
class PictogramPictures {
public:
    QImage picture(const Pictogram &pictogram, int height);

private:
    QHash<std::uint32_t, QImage> drawn; // by code and height
};
