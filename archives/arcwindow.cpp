#include "arcwindow.h"

namespace archives {
namespace {

std::uint32_t &ArcExtractMessageNumber()
{
    static std::uint32_t number = 0;
    return number;
}

} // namespace

std::intptr_t SendArcMessage(HWND window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam)
{
    if (window == nullptr || window->proc == nullptr)
        return 0;
    return window->proc(window, message, wParam, lParam);
}

void SetForegroundWindow(HWND window)
{
    SendArcMessage(window, WM_ACTIVATE, WA_ACTIVE, 0);
}

std::uint32_t ArcExtractMessage()
{
    return ArcExtractMessageNumber();
}

std::uint32_t RegisterArcExtractMessage()
{
    std::uint32_t &number = ArcExtractMessageNumber();
    if (number == 0)
        number = ArcRegisterWindowMessage(WM_ARCEXTRACT_NAME);
    return number;
}

} // namespace archives
