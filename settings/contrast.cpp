#include "contrast.h"

#include <cstdint>

namespace {

constexpr std::int32_t BrightestWithWhiteCaption = 0x777777;

} // namespace

TColor CaptionColor(TColor back)
{
    return static_cast<std::int32_t>(back) <= BrightestWithWhiteCaption ? WhiteCaption
                                                                        : BlackCaption;
}
