#pragma once
// The device's error: a failed open (or output) with the device's own message text.

#include <stdexcept>

namespace mci {

class EMCIDeviceError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace mci
