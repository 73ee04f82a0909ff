#pragma once
// The hand-drawn pixel maps of the skins. In every map "." is left alone, "#" is the
// symbol's colour and "+" is the symbol's colour at half coverage (smoothing); segment
// figures use "-" for an unlit segment.

#include "pixelart.h"

// Figures 0 to 9, 7 x 11.
const TGlyph &FontDigit(int d);
const TGlyph &SegmentDigit(int d);
// The time colon, 1 x 11.
const TGlyph &ColonGlyph();

// State icons, 11 x 11 (stop: 9 x 11, which the bar widens to 11).
const TGlyph &PlayIconGlyph();
const TGlyph &StopIconGlyph();
const TGlyph &PauseIconGlyph();
const TGlyph &OpenIconGlyph();
const TGlyph &IdleIconGlyph();

// Symbols of the bar's buttons, 8 pixels high.
const TGlyph &PlaySymbol();
const TGlyph &PauseSymbol();
const TGlyph &StopSymbol();
const TGlyph &PreviousSymbol();
const TGlyph &NextSymbol();
const TGlyph &EjectSymbol();
const TGlyph &CloseSymbol();

// The menu button's label.
const TGlyph &MenuLabel();

// Symbols of the play list window's buttons: load, save, delete, clear.
const TGlyph &LoadSymbol();
const TGlyph &SaveSymbol();
const TGlyph &DeleteSymbol();
const TGlyph &ClearSymbol();
