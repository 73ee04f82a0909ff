#pragma once
// What the system-exclusive messages of General MIDI, GS (Roland) and XG (Yamaha) modules
// ask of a module, as far as the FluidSynth output acts on them: the resets, master volume
// and which parts play drums. Messages are taken whatever device ID they carry (00H-1FH
// and 7FH for Roland and the universal messages, 1nH for Yamaha parameter changes), since
// songs are written for the module's default ID and a player has no ID of its own.

#include "platform/mci/midimessage.h"

#include <vector>

namespace mci {

// The bank and drum rules a module follows; a reset message selects them.
enum class ModuleMode { gm, gm2, gs, xg };

// The mode a module is in when it has had no reset message: a GS module's, which takes
// bank select as GS does and so plays GM songs, GS songs and most XG songs' banks.
constexpr ModuleMode kPowerOnMode = ModuleMode::gs;

const char *ModeName(ModuleMode mode); // "GM", "GM2", "GS", "XG"

struct ModuleRequest
{
    enum class Kind {
        reset,        // reset every part as `mode` does and follow its rules from now on
        masterVolume, // level: 0 (silence) to 1 (full), on the volume curve
        rhythmPart,   // GS "use for rhythm part": part, value 0 normal, 1 or 2 a drum map
        xgPartMode,   // XG part mode: part, value 0 normal, 1 and above a drum part
    };
    Kind kind = Kind::reset;
    ModuleMode mode = kPowerOnMode;
    int part = 0; // port * 16 + MIDI channel
    int value = 0;
    double level = 1.0;
};

// What message (on its port) asks; empty for any other message, a truncated one, or a
// Roland message whose checksum is wrong (a module ignores those).
//  - universal: GM System On (7E dd 09 01), GM System Off (09 02, back to kPowerOnMode),
//    GM2 System On (09 03), Master Volume (7F dd 04 01 ll mm);
//  - GS (41 dd 42 12 ...): GS Reset (40 00 7F), System Mode Set (00 00 7F), Master Volume
//    (40 00 04), Use For Rhythm Part (40 1x 15 on the port the message comes in on, 50 1x
//    15 on port B; x is 0 for part 10, 1-9 for parts 1-9, A-F for parts 11-16);
//  - XG (43 1n 4C ...): XG System On (00 00 7E), All Parameter Reset (00 00 7F), Master
//    Volume (00 00 04), Part Mode (08 pp 07, part pp counted from port A's first part).
// A message that sets several consecutive addresses gives one request per address.
std::vector<ModuleRequest> DecodeModuleSysEx(MessageView message);

} // namespace mci
