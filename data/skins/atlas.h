#pragma once
// Where each picture lives in the 147 x 63 skin, and where the bar shows the pictures
// that are drawn on the bar's own background rather than on a panel.

#include <QRect>

namespace atlas {

constexpr int Width = 147;
constexpr int Height = 63;

inline QRect Digit(int d)
{
    return QRect(8 * d, 0, 7, 11);
}
constexpr QRect Colon(80, 0, 1, 11);
constexpr QRect MenuFace(82, 1, 45, 9);
constexpr QRect CloseFace(129, 1, 8, 9);
constexpr QRect BackgroundColumn(139, 0, 1, 25);

constexpr QRect PlayIcon(1, 12, 11, 11);
constexpr QRect StopIcon(13, 12, 9, 11);
constexpr QRect PauseIcon(25, 12, 11, 11);
constexpr QRect OpenIcon(37, 12, 11, 11);
constexpr QRect IdleIcon(49, 12, 11, 11);

// Button faces 0 to 4: play, pause, stop, previous, next.
constexpr int ButtonCount = 5;
inline QRect ButtonFace(int i)
{
    return QRect(1 + 22 * i, 24, 20, 16);
}
constexpr QRect OpenFace(111, 24, 20, 16);
// Play list button faces 0 to 3: load, save, delete, clear.
constexpr int ListButtonCount = 4;
inline QRect ListFace(int j)
{
    return QRect(1 + 21 * j, 42, 20, 20);
}

// The bar is 26 pixels high; the column's 25 rows are stretched over it.
constexpr int BarHeight = 26;
// Bar row of the top of the menu, close and control button faces.
constexpr int FaceTopOnBar = 5;

} // namespace atlas
