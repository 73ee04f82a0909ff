#pragma once
// Control files: module setups saved beside a song. A CM6 file is a memory dump of an
// MT-32 family module (MT-32, CM-32L, CM-64), a GSD file the setup of a GS module. Each
// becomes a reset followed by Roland data sets that load the setup into the module.

#include "outside/rcpcv/byte_view.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rcpcv {

struct SetupMessage
{
    // F0 ... F7.
    std::string bytes;
    // Time the module needs to act on the message before the next one may follow.
    uint32_t settleUsec = 0;
    // 0 = port A, 1 = port B.
    int port = 0;
};

// The messages that load a CM6 dump, starting with a reset; empty when the data is not a
// complete CM6 file. The CM-32P part goes out only for a CM-64 dump.
std::vector<SetupMessage> Cm6Messages(ByteView file, int port);

// The messages that load a GSD setup, starting with a GS reset; empty when the data is
// not a complete GSD file.
std::vector<SetupMessage> GsdMessages(ByteView file, int port);

} // namespace rcpcv
