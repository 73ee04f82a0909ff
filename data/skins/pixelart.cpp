#include "pixelart.h"

#include <stdexcept>

TGlyph::TGlyph(std::initializer_list<const char *> rows)
    : TGlyph(std::vector<std::string>(rows.begin(), rows.end()))
{
}

TGlyph::TGlyph(std::vector<std::string> rows)
    : rows_(std::move(rows))
{
    if (rows_.empty() || rows_.front().empty())
        throw std::logic_error("A glyph needs at least one pixel");
    for (const std::string &row : rows_) {
        if (row.size() != rows_.front().size())
            throw std::logic_error("Glyph rows differ in length: \"" + rows_.front() + "\" and \"" +
                                   row + "\"");
    }
}

TGlyph TGlyph::Mirrored() const
{
    std::vector<std::string> rows = rows_;
    for (std::string &row : rows)
        row.assign(row.rbegin(), row.rend());
    return TGlyph(std::move(rows));
}

void Stamp(QImage &image, QPoint origin, const TGlyph &glyph, const TInk &ink)
{
    const QRect area(origin, QSize(glyph.Width(), glyph.Height()));
    if (!image.rect().contains(area))
        throw std::logic_error("A glyph drawn at (" + std::to_string(origin.x()) + ", " +
                               std::to_string(origin.y()) + ") does not fit the image");
    for (int y = 0; y < glyph.Height(); ++y) {
        for (int x = 0; x < glyph.Width(); ++x) {
            const auto paint = ink.find(glyph.At(x, y));
            if (paint == ink.end())
                continue;
            const QPoint at(origin.x() + x, origin.y() + y);
            image.setPixelColor(
                at, Mix(image.pixelColor(at), paint->second.color, paint->second.alpha));
        }
    }
}

void StampCentred(QImage &image, const QRect &area, const TGlyph &glyph, const TInk &ink)
{
    const QPoint origin(area.left() + (area.width() - glyph.Width()) / 2,
                        area.top() + (area.height() - glyph.Height()) / 2);
    Stamp(image, origin, glyph, ink);
}

void FillRect(QImage &image, const QRect &rect, const QColor &color)
{
    const QRect clipped = rect.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            image.setPixelColor(x, y, color);
    }
}

QColor Mix(const QColor &a, const QColor &b, double t)
{
    auto channel = [t](int from, int to) { return static_cast<int>(from + (to - from) * t + 0.5); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}
