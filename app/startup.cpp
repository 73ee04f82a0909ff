#include "startup.h"

#include "platform/instance.h"

#include <cstdlib>
#include <cstring>
#include <exception>

bool IsDebugSwitch(int argc, const char *const *argv)
{
    return argc > 1 && argv[1] != nullptr && std::strcmp(argv[1], "/DEBUG") == 0;
}

bool MustRefuseStart(int argc, const char *const *argv, platform::SingleInstance &instance)
{
    if (!IsDebugSwitch(argc, argv))
        return !instance.Claim();
    try {
        instance.Claim();
    } catch (const std::exception &) {
        // A debugging copy runs without the channel.
    }
    return false;
}

void PreferX11Platform()
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("WAYLAND_DISPLAY") != nullptr &&
        std::getenv("DISPLAY") != nullptr)
        setenv("QT_QPA_PLATFORM", "xcb", 1);
}
