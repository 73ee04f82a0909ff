#pragma once
// The loader module as the player binds it: loaded at run time by the name "sonolux.dll"
// from the build's program folder, entries looked up by name.

#include "loader/sonolux_module.h"
#include "platform/dynlib.h"

#include <string>

namespace loader_testing {

// What one call gave back: its result code and the short string of its output buffer.
struct Outcome
{
    int code = -1;
    std::string text;
};

class LoaderModule
{
public:
    // Loads the module; throws std::runtime_error when it or an entry is missing.
    LoaderModule();

    Outcome ComLoad(const std::string &fileName) const;
    Outcome MacCheck(const std::string &fileName, const std::string &folder) const;

    ComLoadFunction RawComLoad() const { return comLoad_; }
    MacCheckFunction RawMacCheck() const { return macCheck_; }
    const platform::DynamicLibrary &Library() const { return library_; }

private:
    platform::DynamicLibrary library_;
    ComLoadFunction comLoad_ = nullptr;
    MacCheckFunction macCheck_ = nullptr;
};

// A 256-byte short-string buffer holding text; throws std::length_error past 255 bytes.
std::string ShortString(const std::string &text);
// The text of the short string in buffer.
std::string FromShortString(const std::string &buffer);

// A Standard MIDI File of one track whose first event, at delta time 0, is a track name.
std::string SmfWithTrackName(const std::string &name);
// A Standard MIDI File of one track with the given track data (the end-of-track event is added).
std::string SmfWithTrackData(const std::string &events);

// The number of descriptors this process holds open.
int OpenDescriptorCount();

} // namespace loader_testing
