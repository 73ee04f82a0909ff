#pragma once
// System exclusive messages of the song: templates with placeholders (user exclusives of
// the header, track exclusives) and the Roland and Yamaha shortcut commands.
// Every message returned is complete: F0, data bytes below 0x80, F7.

#include "outside/rcpcv/byte_view.h"

#include <cstdint>
#include <string>

namespace rcpcv {

struct ExclusiveParams
{
    uint8_t p1 = 0;
    uint8_t p2 = 0;
    // MIDI channel 0-15, without the port.
    uint8_t channel = 0;
};

// Expands an exclusive template: 80 puts p1, 81 puts p2, 82 the channel; 83 starts a
// Roland checksum and 84 puts it ((0x80 - sum) & 0x7F over every byte put since 83); F7
// ends the data; other bytes below 0x80 stand for themselves. The result is wrapped in
// F0 ... F7. Empty when the template holds no data, or holds a byte of 0x80 or more that
// is none of these (a module would take it for the end of the message).
std::string ExpandExclusive(ByteView tmpl, const ExclusiveParams &params);

// A Roland data set (DT1): F0 41 device model 12 address data checksum F7.
std::string RolandDataSet(uint8_t device, uint8_t model, uint32_t address, ByteView data);

// The message a Yamaha shortcut command (0xC0-0xCF) sends; empty for a command that has
// none. p1 may reach 255: its bit 7 selects the parameter group where the format has one.
std::string YamahaShortcut(uint8_t command, uint8_t channel, uint16_t p1, uint8_t p2);

// Addresses of Roland modules are three 7-bit bytes; these convert them to a linear
// number and back, for blocks that run on across a byte boundary.
uint32_t RolandAddress(uint8_t high, uint8_t middle, uint8_t low);
uint32_t AdvanceRolandAddress(uint32_t address, size_t bytes);

} // namespace rcpcv
