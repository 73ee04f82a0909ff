#pragma once
// The program's design: three colours and the skin bitmap from which every skinned
// picture of the bar, the play list window and the settings window is cut.

#include <QColor>
#include <QImage>
#include <cstdint>

// A colour in the stored form 0x00BBGGRR (red in the low byte). Values with a non-zero
// top byte are kept as they are.
using TColor = std::uint32_t;

extern TColor BackColor;     // backgrounds
extern TColor ActiveColor;   // text and lines
extern TColor NoActiveColor; // the "LIST" label while the play list window shows
// The skin, 147 x 63 pixels when it is a proper one; null (empty) before any design is read.
extern QImage SkinBitmap;

constexpr int SkinWidth = 147;
constexpr int SkinHeight = 63;

// Conversions between the stored form and the toolkit's colours (the top byte is dropped).
QColor ToQColor(TColor color);
TColor FromQColor(const QColor &color);
