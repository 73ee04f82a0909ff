#include "progresswindow.h"

#include "arcwindow.h"

#include <utility>

namespace archives {

TProgressWindow::TProgressWindow(Receiver receiver)
    : window_{&TProgressWindow::Proc, this}
    , receiver_(std::move(receiver))
{
}

std::intptr_t TProgressWindow::Proc(ARC_WINDOW *window, std::uint32_t message,
                                    std::uintptr_t wParam, std::intptr_t lParam)
{
    const std::uint32_t progress = ArcExtractMessage();
    if (window == nullptr || progress == 0 || message != progress)
        return 0;
    auto *self = static_cast<TProgressWindow *>(window->context);
    const auto state = static_cast<std::int32_t>(wParam);
    auto *info = reinterpret_cast<EXTRACTINGINFOEX *>(lParam);
    // Nothing may unwind into the library that called: a receiver that fails stops it.
    try {
        return self->receiver_(state, info) ? 1 : 0;
    } catch (...) {
        return 1;
    }
}

} // namespace archives
