#pragma once
// Pixel-exact drawing for the skins: pictures are character maps stamped onto an image,
// each character standing for one colour, so every pixel is placed by hand.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// A character map; all rows have the same length.
class TGlyph
{
public:
    // Throws std::logic_error when rows is empty or its rows differ in length.
    TGlyph(std::initializer_list<const char *> rows);
    explicit TGlyph(std::vector<std::string> rows);

    int Width() const { return static_cast<int>(rows_.front().size()); }
    int Height() const { return static_cast<int>(rows_.size()); }
    char At(int x, int y) const
    {
        return rows_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    }

    // The map turned left to right.
    TGlyph Mirrored() const;

private:
    std::vector<std::string> rows_;
};

// What one character of a map puts down: color laid over the pixel at alpha coverage
// (1 replaces the pixel, 0.5 gives the half-way colour used to smooth diagonals).
struct TPaint
{
    TPaint(const QColor &paintColor, double paintAlpha = 1.0)
        : color(paintColor)
        , alpha(paintAlpha)
    {
    }
    QColor color;
    double alpha;
};

// What each character stands for; characters not listed leave the pixel as it is.
using TInk = std::map<char, TPaint>;

// Stamps glyph with its top left corner at origin. Throws std::logic_error when the glyph
// does not fit inside the image.
void Stamp(QImage &image, QPoint origin, const TGlyph &glyph, const TInk &ink);
// Stamps glyph centred in area, rounding towards the top left when it cannot be exact.
void StampCentred(QImage &image, const QRect &area, const TGlyph &glyph, const TInk &ink);

void FillRect(QImage &image, const QRect &rect, const QColor &color);

// The colour t of the way from a to b (t = 0 gives a, 1 gives b).
QColor Mix(const QColor &a, const QColor &b, double t);
