#pragma once
// The play list window's control strip: four buttons side by side, decided by the
// horizontal position alone (pixels from the strip's left edge, ranges inclusive).

enum class TListButton { lbNone, lbLoad, lbSave, lbDelete, lbClear };

constexpr int ListButtonCount = 4;

// Button j (0 to 3) covers x from 5 + 25 j to 25 + 25 j.
constexpr int ListButtonLeft(int j)
{
    return 5 + 25 * j;
}
constexpr int ListButtonRight(int j)
{
    return 25 + 25 * j;
}

// The button at x, or lbNone in the gaps and beyond the last button.
constexpr TListButton ListButtonAt(int x)
{
    for (int j = 0; j < ListButtonCount; ++j)
        if (x >= ListButtonLeft(j) && x <= ListButtonRight(j))
            return static_cast<TListButton>(j + 1);
    return TListButton::lbNone;
}
