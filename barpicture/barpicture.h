#pragma once
// The whole bar, 640 x 26 pixels, as the bar window shows it: the parts of barparts.h put
// in the places of the bar's layout, over the two sunken panels and with the LIST label.
// Design previews draw the bar with it; tests compare it with the window.

#include "barpicture/barparts.h"

#include <QString>
#include <string>

namespace barpicture {

// The design and the fonts the bar is drawn with.
struct TBarLook
{
    QImage skin; // the 147 x 63 skin; a null one gives see-through pictures
    QColor back;
    QColor active;
    QColor noActive;    // the LIST label while the play list window shows
    QFont titleFont;    // the bar's own font
    QFont listFont;     // the LIST label's
    QColor panelShadow; // the sunken panels' bevel: top and left
    QColor panelLight;  // bottom and right
};

// What the bar shows.
struct TBarState
{
    std::string time = "00:00"; // as the time display takes it (DrawTime)
    StateIcon icon = StateIcon::Stop;
    int positionFill = 0;   // PositionFillWidth; 0 for an empty position bar
    bool showTitle = false; // false: the title box as before any song (see-through)
    std::string titleLine;  // TitleLine
    int titleOffset = 0;
    bool showLyric = false; // the title box shows lyricText instead of the title (DrawLyricLine)
    QString lyricText;
    int lyricSungWidth = 0; // LyricSungWidth
    bool listShown = false; // the play list window shows
};

constexpr QSize BarSize(640, 26);

QImage RenderBar(const TBarLook &look, const TBarState &state);

} // namespace barpicture
