#pragma once
// The work file: the name, in the program's temporary folder, of the Standard MIDI File
// that the header check and the Recomposer conversion write and the player then plays.

namespace base {

constexpr char kWorkFileName[] = "TEMP.MID";

} // namespace base
