#pragma once
// The window registered with SetOwnerWindowEx, one per library, and the sending of
// "wm_arcextract" to it. Sending happens in the thread that called the library.

#include "outside/include/archiver_api.h"

namespace arc {

class OwnerWindow
{
public:
    // Registers window (and the callback that replaces its proc, may be null); false for a
    // null window.
    static bool Set(HWND window, void *callback);
    // Forgets window; false when it was not the one registered.
    static bool Kill(HWND window);

    // The window registered at this moment (nothing when none), to send to during one call.
    static OwnerWindow Current();

    bool Present() const { return window_ != nullptr; }
    // Sends "wm_arcextract" with state and info; true when the answer asks to stop.
    bool Send(unsigned state, EXTRACTINGINFOEX &info) const;

private:
    HWND window_ = nullptr;
    ARC_OWNER_CALLBACK callback_ = nullptr;
};

} // namespace arc
