#pragma once
// A picture to judge a skin by: the skin magnified four times, and below it the bar and
// the play list window's buttons assembled from it as the program shows them, doubled.

#include "theme.h"

#include <QImage>

// Needs a QGuiApplication (the bar's title is drawn in the program's font).
QImage RenderPreview(const TTheme &theme, const QImage &skin);
