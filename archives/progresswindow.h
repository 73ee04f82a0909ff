#pragma once
// The hidden window that receives an archiver library's progress messages.

#include "outside/include/archiver_api.h"

#include <cstdint>
#include <functional>

namespace archives {

class TProgressWindow
{
public:
    // Called for each "wm_arcextract" message with its state and record; answering true
    // asks the library to stop. A receiver that throws stops the library too; the
    // exception itself goes no further, so a receiver should catch its own.
    using Receiver = std::function<bool(std::int32_t state, EXTRACTINGINFOEX *info)>;

    explicit TProgressWindow(Receiver receiver);
    TProgressWindow(const TProgressWindow &) = delete;
    TProgressWindow &operator=(const TProgressWindow &) = delete;

    // The handle to give a library; valid as long as this object lives.
    HWND Handle() { return &window_; }

private:
    // Answers the registered message with 1 (stop) or 0; every other message with 0.
    static std::intptr_t Proc(ARC_WINDOW *window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam);

    ARC_WINDOW window_;
    Receiver receiver_;
};

} // namespace archives
