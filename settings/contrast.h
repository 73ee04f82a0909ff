#pragma once
// The caption colour that stays readable on a colour panel of the Design page.

#include "app/design.h"

constexpr TColor WhiteCaption = 0x00FFFFFF;
constexpr TColor BlackCaption = 0x00000000;

// White when back, read as a signed 32-bit number in the 0x00BBGGRR form, is at most
// 0x777777; black otherwise. The blue byte weighs most, so pure red and yellow get white
// and pure blue black; values with the top bit set are negative and get white.
TColor CaptionColor(TColor back);
