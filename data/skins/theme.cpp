#include "theme.h"

namespace {

// The default: a quiet dark bar with sky-blue text and figures and an amber LIST mark.
TTheme Dark()
{
    TTheme t;
    t.fileName = "default.mbd";
    t.title = "Default (dark)";
    t.back = QColor(0x14, 0x17, 0x1C);
    t.active = QColor(0x74, 0xC7, 0xF2);
    t.noActive = QColor(0xF5, 0xB4, 0x61);
    t.barHighlight = QColor(0x3D, 0x43, 0x4E);
    t.barTop = QColor(0x2F, 0x34, 0x3C);
    t.barBottom = QColor(0x23, 0x27, 0x2D);
    t.barShadow = QColor(0x15, 0x18, 0x1C);
    t.buttonStyle = bsFlat;
    t.barPlate = {QColor(0x3B, 0x41, 0x4B), QColor(0x32, 0x37, 0x3F), QColor(),
                  QColor(0x46, 0x4D, 0x58), QColor()};
    t.listPlate = {QColor(0x26, 0x2B, 0x33), QColor(0x20, 0x24, 0x2B), QColor(),
                   QColor(0x2F, 0x35, 0x3E), QColor()};
    t.glyph = QColor(0xE3, 0xE7, 0xED);
    t.playGlyph = t.active;
    t.closeGlyph = QColor(0xB4, 0xBC, 0xC6);
    t.digitStyle = dsFont;
    t.idleIcon = QColor(0x4A, 0x6A, 0x80);
    return t;
}

// Light: a pale bar, white panels, deep blue text and a vermilion LIST mark.
TTheme Light()
{
    TTheme t;
    t.fileName = "light.mbd";
    t.title = "Light";
    t.back = QColor(0xFF, 0xFF, 0xFF);
    t.active = QColor(0x1F, 0x5F, 0xB0);
    t.noActive = QColor(0xD9, 0x53, 0x1E);
    t.barHighlight = QColor(0xFF, 0xFF, 0xFF);
    t.barTop = QColor(0xF3, 0xF4, 0xF6);
    t.barBottom = QColor(0xE1, 0xE4, 0xE9);
    t.barShadow = QColor(0xB9, 0xBF, 0xC7);
    t.buttonStyle = bsFlat;
    t.barPlate = {QColor(0xFF, 0xFF, 0xFF), QColor(0xF2, 0xF4, 0xF6), QColor(0xBE, 0xC5, 0xCE),
                  QColor(), QColor()};
    t.listPlate = {QColor(0xF6, 0xF7, 0xF9), QColor(0xEA, 0xED, 0xF0), QColor(0xCF, 0xD5, 0xDC),
                   QColor(), QColor()};
    t.glyph = QColor(0x3A, 0x41, 0x4C);
    t.playGlyph = t.active;
    t.closeGlyph = QColor(0x6B, 0x73, 0x80);
    t.digitStyle = dsFont;
    t.idleIcon = QColor(0x9D, 0xB6, 0xD6);
    return t;
}

// Classic: a silver bar with raised keys and a green display with faint unlit segments.
TTheme Classic()
{
    TTheme t;
    t.fileName = "classic.mbd";
    t.title = "Classic";
    t.back = QColor(0x0A, 0x14, 0x0C);
    t.active = QColor(0x58, 0xF0, 0x7A);
    t.noActive = QColor(0xFF, 0xC6, 0x46);
    t.barHighlight = QColor(0xFF, 0xFF, 0xFF);
    t.barTop = QColor(0xD8, 0xD8, 0xD8);
    t.barBottom = QColor(0xBC, 0xBC, 0xBC);
    t.barShadow = QColor(0x6E, 0x6E, 0x6E);
    t.buttonStyle = bsRaised;
    t.barPlate = {QColor(0xD6, 0xD6, 0xD6), QColor(0xC4, 0xC4, 0xC4), QColor(0x40, 0x40, 0x40),
                  QColor(0xFF, 0xFF, 0xFF), QColor(0x88, 0x88, 0x88)};
    t.listPlate = t.barPlate;
    t.glyph = QColor(0x1E, 0x1E, 0x1E);
    t.playGlyph = QColor(0x0E, 0x6B, 0x2A);
    t.closeGlyph = QColor(0x1E, 0x1E, 0x1E);
    t.digitStyle = dsSegments;
    t.unlitSegment = QColor(0x17, 0x30, 0x1C);
    t.idleIcon = QColor(0x2F, 0x7A, 0x41);
    return t;
}

} // namespace

std::vector<TTheme> ShippedThemes()
{
    return {Dark(), Light(), Classic()};
}
