#pragma once
// The decisions the program entry makes before any window exists.

#include <string>

namespace platform {
class SingleInstance;
}

// The window class that identifies a running bar.
constexpr const char *BarWindowClass = "TMidi_main";

// True when the first argument is exactly "/DEBUG" (letter case counts; later arguments
// are not looked at).
bool IsDebugSwitch(int argc, const char *const *argv);

// Claims the bar's name for this process through instance and tells whether this start must
// be refused: true when there is no "/DEBUG" switch and a live bar of this user holds the
// name. Of copies started at the same moment exactly one is let through. With "/DEBUG" the
// start is never refused; the name is claimed when it is free. Throws std::runtime_error
// with the reason when no claim can be tried (see SingleInstance::Claim); with "/DEBUG"
// that is not an obstacle and nothing is thrown.
bool MustRefuseStart(int argc, const char *const *argv, platform::SingleInstance &instance);

// Wayland lets no program place its own windows; the bar must stand where the user left
// it, so the X11 platform (XWayland) is preferred unless a platform was chosen explicitly.
void PreferX11Platform();
