#pragma once
// The designs shipped beside the program: their colours and drawing styles.

#include <QColor>
#include <string>
#include <vector>

enum TButtonStyle {
    bsFlat,  // rounded plates with soft corners
    bsRaised // square keys with a light top-left and a dark bottom-right edge
};

enum TDigitStyle {
    dsFont,    // a clean figure face
    dsSegments // seven segments, the unlit ones faintly visible
};

// A button plate: a vertical gradient with an optional one-pixel edge.
struct TPlate
{
    QColor top;
    QColor bottom;
    QColor edge;      // invalid for none
    QColor highlight; // the plate's top pixel row (flat) or top-left edge (raised)
    QColor shadow;    // raised only: the bottom-right edge
};

struct TTheme
{
    std::string fileName; // in the skin folder
    std::string title;    // for people looking at the previews

    // The design's three colours.
    QColor back;     // panels
    QColor active;   // text, lines, digits, state icons
    QColor noActive; // the LIST label while the play list shows

    // The bar's background column, top to bottom.
    QColor barHighlight; // first row
    QColor barTop;
    QColor barBottom;
    QColor barShadow; // last row

    TButtonStyle buttonStyle = bsFlat;
    TPlate barPlate;  // the bar's buttons and the menu button
    TPlate listPlate; // the play list window's buttons, on the back colour
    QColor glyph;     // symbols on the plates
    QColor playGlyph; // the play symbol, which may stand out
    QColor closeGlyph;

    TDigitStyle digitStyle = dsFont;
    QColor unlitSegment; // dsSegments only
    QColor idleIcon;
};

// The shipped designs, the default one first.
std::vector<TTheme> ShippedThemes();
