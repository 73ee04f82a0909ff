#pragma once
// Where every skinned picture comes from in the 147 x 63 skin and where it goes.
// Rectangles exclude their right and bottom edges.

#include <QRect>

namespace SkinAtlas {

// A rectangle from its left, top, right and bottom (right and bottom excluded).
constexpr QRect Rect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// The skin's size, and the bar's height over which the background column is stretched.
constexpr int SkinWidth = 147;
constexpr int SkinHeight = 63;
constexpr int BarHeight = 26;
// Bar row of the top of the menu, close and control button faces.
constexpr int FaceTopOnBar = 5;

constexpr QRect Digit(int d)
{
    return Rect(8 * d, 0, 8 * d + 7, 11);
}
constexpr QRect Colon = Rect(80, 0, 81, 11);
constexpr QRect MenuFace = Rect(82, 1, 127, 10);
constexpr QRect CloseFace = Rect(129, 1, 137, 10);
constexpr QRect BackgroundColumn = Rect(139, 0, 140, 25);
constexpr QRect PlayIcon = Rect(1, 12, 12, 23);
constexpr QRect StopIcon = Rect(13, 12, 22, 23);
constexpr QRect PauseIcon = Rect(25, 12, 36, 23);
constexpr QRect OpenIcon = Rect(37, 12, 48, 23);
constexpr QRect IdleIcon = Rect(49, 12, 60, 23);
// Button faces 0 to 4: play, pause, stop, previous, next.
constexpr int ButtonCount = 5;
constexpr QRect ButtonFace(int i)
{
    return Rect(1 + 22 * i, 24, 21 + 22 * i, 40);
}
constexpr QRect OpenFace = Rect(111, 24, 131, 40);
// Play list button faces 0 to 3: load, save, delete, clear.
constexpr int ListButtonCount = 4;
constexpr QRect ListButtonFace(int j)
{
    return Rect(1 + 21 * j, 42, 21 + 21 * j, 62);
}

// Destinations.
constexpr QRect DigitPlace[4] = {Rect(15, 0, 22, 11), Rect(24, 0, 31, 11), Rect(36, 0, 43, 11),
                                 Rect(45, 0, 52, 11)};
constexpr QRect ColonPlace = Rect(33, 0, 34, 11);
constexpr QRect IconPlace = Rect(0, 0, 11, 12);
constexpr QRect MenuFacePlace = Rect(0, 2, 45, 11);
constexpr QRect CloseFacePlace = Rect(155, 0, 163, 9);
constexpr QRect ButtonPlace(int i)
{
    return Rect(1 + 23 * i, 0, 21 + 23 * i, 16);
}
constexpr QRect OpenPlace = Rect(121, 0, 141, 16);
constexpr QRect ListButtonPlace(int j)
{
    return Rect(5 + 25 * j, 1, 25 + 25 * j, 21);
}

} // namespace SkinAtlas
