#include "startup.h"

#include "platform/instance.h"

#include <cstdlib>
#include <cstring>

bool IsDebugSwitch(int argc, const char *const *argv)
{
    return argc > 1 && argv[1] != nullptr && std::strcmp(argv[1], "/DEBUG") == 0;
}

bool MustRefuseStart(int argc, const char *const *argv)
{
    return !IsDebugSwitch(argc, argv) && platform::SingleInstance::IsRunning(BarWindowClass);
}

void PreferX11Platform()
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("WAYLAND_DISPLAY") != nullptr &&
        std::getenv("DISPLAY") != nullptr)
        setenv("QT_QPA_PLATFORM", "xcb", 1);
}
