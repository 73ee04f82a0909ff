#pragma once
// Draws a theme's 147 x 63 skin, every picture in its place in the atlas.

#include "theme.h"

#include <QImage>

QImage PaintSkin(const TTheme &theme);

// The colour of the background column at row y (0 to 24).
QColor ColumnColor(const TTheme &theme, int y);
// The colour the bar shows at bar row y (0 to 25) once the column is stretched over it.
QColor BarRowColor(const TTheme &theme, int y);
