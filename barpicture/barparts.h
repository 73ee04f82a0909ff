#pragma once
// The bar's parts, each drawn into the picture of the component that shows it (its
// canvas, as large as the component): pure functions of the skin, the design's colours and
// what is shown. Each returns the rectangle it changed. Pictures come from the skin as
// app/skinatlas.h says; pixels a part does not draw keep what the canvas held.

#include "app/stateicon.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <string>

namespace barpicture {

// The bar's background strip (the whole canvas).
QRect DrawBackground(QImage &canvas, const QImage &skin);
// The menu button's face.
QRect DrawMenuFace(QImage &canvas, const QImage &skin);
// The five control buttons, the open button and the close button.
QRect DrawControlButtons(QImage &canvas, const QImage &skin);

// Time display: a digit '0' to '9' in place 0 to 3 (anything else draws nothing and
// changes nothing), the colon, and the state icon.
QRect DrawDigit(QImage &canvas, const QImage &skin, char digit, int place);
QRect DrawColon(QImage &canvas, const QImage &skin);
QRect DrawIcon(QImage &canvas, const QImage &skin, StateIcon icon);
// Characters 1, 2, 4 and 5 of text ("12:34", "100:05") in the four places, and the colon.
QRect DrawTime(QImage &canvas, const QImage &skin, const std::string &text);

// The position bar: an empty one (an active-coloured outline round a back-coloured inside,
// row and column 0 untouched), and its fill width pixels wide (nothing when width < 1).
QRect DrawEmptyPositionBar(QImage &canvas, const QColor &back, const QColor &active);
QRect DrawPositionFill(QImage &canvas, const QColor &active, int width);
// How far the fill reaches at position of length (both in one unit) on a bar barWidth
// pixels wide; 0 for a song of length 0.
int PositionFillWidth(std::int64_t position, std::int64_t length, int barWidth);

// The title box: cleared to back, and text (bytes, decoded as titles are) drawn from x in
// font, active on back.
QRect ClearTitle(QImage &canvas, const QColor &back);
QRect DrawTitleText(QImage &canvas, const QFont &font, const QColor &back, const QColor &active,
                    const std::string &text, int x);
// The line the title scrolls: the title and, with showLength, its length " -[mm:ss]-";
// else the title and a space.
std::string TitleLine(const std::string &title, bool showLength, long long lengthSeconds);
// The width of that line in font, in pixels.
int TitleLineWidth(const QFont &font, const std::string &line);

// A lyric line in the title box. How far singing has come, in pixels of text drawn in font:
// the first `sung` characters and `fraction` (0 to 1) of the `singing` ones after them.
int LyricSungWidth(const QFont &font, const QString &text, int sung, int singing, double fraction);
// Where a line textWidth pixels wide starts in a box boxWidth wide so that the point
// sungWidth pixels into it stays in view: 0 while the line fits; a wider line keeps that
// point in the middle of the box, never starting right of 0 nor ending left of the box's
// right edge (so the line's end comes into view as it is sung).
int LyricOffset(int textWidth, int sungWidth, int boxWidth);
// The box cleared to back and the line drawn at LyricOffset: its first sungWidth pixels
// in active, the rest in noActive. Returns the whole canvas.
QRect DrawLyricLine(QImage &canvas, const QFont &font, const QColor &back, const QColor &active,
                    const QColor &noActive, const QString &text, int sungWidth);

} // namespace barpicture

// Minutes and seconds of a number of seconds as "%2.2d:%2.2d" (minutes are not limited to
// two digits: 6000 seconds give "100:00").
std::string FormatTime(long long seconds);
