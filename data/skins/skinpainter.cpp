#include "skinpainter.h"

#include "app/skinatlas.h"

#include "glyphs.h"
#include "pixelart.h"

#include <algorithm>
#include <functional>

namespace {

constexpr int ColumnRows = 25;

// The background a picture is drawn over, one colour per row of the picture.
using TRowColor = std::function<QColor(int row)>;

TInk SymbolInk(const QColor &color)
{
    return {{'#', color}, {'+', TPaint(color, 0.5)}};
}

// Fraction of pixel (x, y) that lies inside a width x height rectangle at the origin whose
// corners are rounded with radius.
double RoundedCoverage(double width, double height, double radius, int x, int y)
{
    constexpr int Samples = 4;
    int inside = 0;
    for (int i = 0; i < Samples; ++i) {
        for (int j = 0; j < Samples; ++j) {
            const double px = x + (i + 0.5) / Samples;
            const double py = y + (j + 0.5) / Samples;
            if (px < 0 || py < 0 || px > width || py > height)
                continue;
            const double dx = px - std::clamp(px, radius, width - radius);
            const double dy = py - std::clamp(py, radius, height - radius);
            if (dx * dx + dy * dy <= radius * radius)
                ++inside;
        }
    }
    return inside / double(Samples * Samples);
}

QColor Weighted(const QColor &a, double wa, const QColor &b, double wb, const QColor &c, double wc)
{
    auto channel = [&](int ca, int cb, int cc) {
        return std::clamp(static_cast<int>(ca * wa + cb * wb + cc * wc + 0.5), 0, 255);
    };
    return QColor(channel(a.red(), b.red(), c.red()), channel(a.green(), b.green(), c.green()),
                  channel(a.blue(), b.blue(), c.blue()));
}

QColor PlateFill(const TPlate &plate, int row, int height)
{
    if (row == 0 && plate.highlight.isValid())
        return plate.highlight;
    return Mix(plate.top, plate.bottom, height > 1 ? row / double(height - 1) : 0.0);
}

// A rounded plate whose corners melt into the background.
void DrawFlatPlate(QImage &image, const QRect &rect, const TPlate &plate,
                   const TRowColor &background)
{
    const double radius = std::min(3.0, rect.height() / 2.0);
    const bool edged = plate.edge.isValid();
    for (int y = 0; y < rect.height(); ++y) {
        for (int x = 0; x < rect.width(); ++x) {
            const double outer = RoundedCoverage(rect.width(), rect.height(), radius, x, y);
            const double inner = edged ? RoundedCoverage(rect.width() - 2, rect.height() - 2,
                                                         radius - 1, x - 1, y - 1)
                                       : outer;
            const QColor edge = edged ? plate.edge : background(y);
            image.setPixelColor(rect.left() + x, rect.top() + y,
                                Weighted(background(y), 1 - outer, edge, outer - inner,
                                         PlateFill(plate, y, rect.height()), inner));
        }
    }
}

// A square key lit from the top left.
void DrawRaisedPlate(QImage &image, const QRect &rect, const TPlate &plate)
{
    for (int y = 0; y < rect.height(); ++y)
        FillRect(image, QRect(rect.left(), rect.top() + y, rect.width(), 1),
                 Mix(plate.top, plate.bottom, y / double(rect.height() - 1)));
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    FillRect(image, QRect(QPoint(l, t), QPoint(r - 1, t)), plate.highlight);
    FillRect(image, QRect(QPoint(l, t), QPoint(l, b - 1)), plate.highlight);
    FillRect(image, QRect(QPoint(l + 1, b - 1), QPoint(r - 1, b - 1)), plate.shadow);
    FillRect(image, QRect(QPoint(r - 1, t + 1), QPoint(r - 1, b - 1)), plate.shadow);
    FillRect(image, QRect(QPoint(l, b), QPoint(r, b)), plate.edge);
    FillRect(image, QRect(QPoint(r, t), QPoint(r, b)), plate.edge);
}

void DrawPlate(QImage &image, const QRect &rect, const TTheme &theme, const TPlate &plate,
               const TRowColor &background)
{
    if (theme.buttonStyle == bsRaised)
        DrawRaisedPlate(image, rect, plate);
    else
        DrawFlatPlate(image, rect, plate, background);
}

void PaintColumn(QImage &skin, const TTheme &theme)
{
    for (int y = 0; y < ColumnRows; ++y)
        skin.setPixelColor(SkinAtlas::BackgroundColumn.left(), y, ColumnColor(theme, y));
}

void PaintTimeDisplay(QImage &skin, const TTheme &theme)
{
    TInk ink = SymbolInk(theme.active);
    ink.emplace('-', theme.unlitSegment);
    for (int d = 0; d <= 9; ++d) {
        FillRect(skin, SkinAtlas::Digit(d), theme.back);
        const TGlyph &digit = theme.digitStyle == dsSegments ? SegmentDigit(d) : FontDigit(d);
        Stamp(skin, SkinAtlas::Digit(d).topLeft(), digit, ink);
    }
    FillRect(skin, SkinAtlas::Colon, theme.back);
    Stamp(skin, SkinAtlas::Colon.topLeft(), ColonGlyph(), ink);

    const std::pair<QRect, const TGlyph &> icons[] = {
        {SkinAtlas::PlayIcon, PlayIconGlyph()},
        {SkinAtlas::StopIcon, StopIconGlyph()},
        {SkinAtlas::PauseIcon, PauseIconGlyph()},
        {SkinAtlas::OpenIcon, OpenIconGlyph()},
    };
    for (const auto &[place, glyph] : icons) {
        FillRect(skin, place, theme.back);
        Stamp(skin, place.topLeft(), glyph, ink);
    }
    FillRect(skin, SkinAtlas::IdleIcon, theme.back);
    Stamp(skin, SkinAtlas::IdleIcon.topLeft(), IdleIconGlyph(), SymbolInk(theme.idleIcon));
}

void PaintBarButtons(QImage &skin, const TTheme &theme)
{
    const TRowColor bar = [&](int row) {
        return BarRowColor(theme, SkinAtlas::FaceTopOnBar + row);
    };
    const TInk ink = SymbolInk(theme.glyph);

    DrawPlate(skin, SkinAtlas::MenuFace, theme, theme.barPlate, bar);
    StampCentred(skin, SkinAtlas::MenuFace, MenuLabel(), ink);

    for (int y = 0; y < SkinAtlas::CloseFace.height(); ++y)
        FillRect(skin,
                 QRect(SkinAtlas::CloseFace.left(), SkinAtlas::CloseFace.top() + y,
                       SkinAtlas::CloseFace.width(), 1),
                 bar(y));
    StampCentred(skin, SkinAtlas::CloseFace, CloseSymbol(), SymbolInk(theme.closeGlyph));

    const TGlyph *symbols[] = {&PlaySymbol(), &PauseSymbol(), &StopSymbol(), &PreviousSymbol(),
                               &NextSymbol()};
    for (int i = 0; i < SkinAtlas::ButtonCount; ++i) {
        const QRect face = SkinAtlas::ButtonFace(i);
        DrawPlate(skin, face, theme, theme.barPlate, bar);
        // A triangle's weight sits left of its middle; one pixel to the right centres it.
        const QRect area = i == 0 ? face.translated(1, 0) : face;
        StampCentred(skin, area, *symbols[i], i == 0 ? SymbolInk(theme.playGlyph) : ink);
    }
    DrawPlate(skin, SkinAtlas::OpenFace, theme, theme.barPlate, bar);
    StampCentred(skin, SkinAtlas::OpenFace, EjectSymbol(), ink);
}

void PaintListButtons(QImage &skin, const TTheme &theme)
{
    const TRowColor panel = [&](int) { return theme.back; };
    const TGlyph *symbols[] = {&LoadSymbol(), &SaveSymbol(), &DeleteSymbol(), &ClearSymbol()};
    for (int j = 0; j < SkinAtlas::ListButtonCount; ++j) {
        const QRect face = SkinAtlas::ListButtonFace(j);
        DrawPlate(skin, face, theme, theme.listPlate, panel);
        StampCentred(skin, face, *symbols[j], SymbolInk(theme.glyph));
    }
}

} // namespace

QColor ColumnColor(const TTheme &theme, int y)
{
    if (y <= 0)
        return theme.barHighlight;
    if (y >= ColumnRows - 1)
        return theme.barShadow;
    return Mix(theme.barTop, theme.barBottom, (y - 1) / double(ColumnRows - 3));
}

QColor BarRowColor(const TTheme &theme, int y)
{
    // Nearest row of the column under the centre of bar row y.
    return ColumnColor(
        theme, std::min(ColumnRows - 1, (2 * y + 1) * ColumnRows / (2 * SkinAtlas::BarHeight)));
}

QImage PaintSkin(const TTheme &theme)
{
    QImage skin(SkinAtlas::SkinWidth, SkinAtlas::SkinHeight, QImage::Format_RGB32);
    skin.fill(theme.back);
    PaintColumn(skin, theme);
    PaintTimeDisplay(skin, theme);
    PaintBarButtons(skin, theme);
    PaintListButtons(skin, theme);
    return skin;
}
