#pragma once
// Window messages between the archive layer, the archiver libraries and the windows that
// own an operation. A window is an ARC_WINDOW (archiver_api.h): sending it a message calls
// its proc synchronously on the calling thread and returns the answer.

#include "outside/include/archiver_api.h"

#include <cstdint>

namespace archives {

// Asks a window to come to the foreground: WM_ACTIVATE with wParam WA_ACTIVE.
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uintptr_t WA_ACTIVE = 1;

// The window's answer to message; 0 when window is null or has no proc.
std::intptr_t SendArcMessage(HWND window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam);

// Sends WM_ACTIVATE (WA_ACTIVE) to window, which its owner answers by raising it.
void SetForegroundWindow(HWND window);

// The process's number of the registered message "wm_arcextract": 0 until
// RegisterArcExtractMessage has run, then the same number for the rest of the process.
std::uint32_t ArcExtractMessage();
std::uint32_t RegisterArcExtractMessage();

} // namespace archives
