#include "ownerwindow.h"

#include <mutex>

namespace arc {
namespace {

struct Registration
{
    std::mutex mutex;
    HWND window = nullptr;
    ARC_OWNER_CALLBACK callback = nullptr;
};

Registration &Registered()
{
    static Registration registration;
    return registration;
}

} // namespace

bool OwnerWindow::Set(HWND window, void *callback)
{
    if (window == nullptr)
        return false;
    Registration &r = Registered();
    const std::lock_guard<std::mutex> lock(r.mutex);
    r.window = window;
    r.callback = reinterpret_cast<ARC_OWNER_CALLBACK>(callback);
    return true;
}

bool OwnerWindow::Kill(HWND window)
{
    Registration &r = Registered();
    const std::lock_guard<std::mutex> lock(r.mutex);
    if (window == nullptr || window != r.window)
        return false;
    r.window = nullptr;
    r.callback = nullptr;
    return true;
}

OwnerWindow OwnerWindow::Current()
{
    Registration &r = Registered();
    const std::lock_guard<std::mutex> lock(r.mutex);
    OwnerWindow current;
    current.window_ = r.window;
    current.callback_ = r.callback;
    return current;
}

bool OwnerWindow::Send(unsigned state, EXTRACTINGINFOEX &info) const
{
    if (window_ == nullptr)
        return false;
    static const uint32_t message = ArcRegisterWindowMessage(WM_ARCEXTRACT_NAME);
    const intptr_t lParam = reinterpret_cast<intptr_t>(&info);
    if (callback_ != nullptr)
        return callback_(window_, message, state, lParam) != 0;
    if (window_->proc == nullptr)
        return false;
    return window_->proc(window_, message, state, lParam) != 0;
}

} // namespace arc
