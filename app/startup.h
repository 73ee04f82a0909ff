#pragma once
// The decisions the program entry makes before any window exists.

#include <string>

// The window class that identifies a running bar.
constexpr const char *BarWindowClass = "TMidi_main";

// True when the first argument is exactly "/DEBUG" (letter case counts; later arguments
// are not looked at).
bool IsDebugSwitch(int argc, const char *const *argv);

// True when this start must be refused: no "/DEBUG" switch and a bar of this user is
// already running.
bool MustRefuseStart(int argc, const char *const *argv);

// Wayland lets no program place its own windows; the bar must stand where the user left
// it, so the X11 platform (XWayland) is preferred unless a platform was chosen explicitly.
void PreferX11Platform();
