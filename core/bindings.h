#pragma once
// The libraries bound at run time for single calls: the loader module for titles and the
// foreign-header check, and the outside converter for RCP song files. Each call loads its
// library, looks its entries up by name, calls, and unloads it again, also on failure.

#include <stdexcept>
#include <string>

// A library the program loads at run time could not be loaded. Carries only its message.
class EDLLoadError : public std::runtime_error
{
public:
    // The message the player reports: "Unable to Load DLL".
    EDLLoadError();
    explicit EDLLoadError(const std::string &message);
};

// Each throws EDLLoadError ("Unable to Load DLL") when its library cannot be loaded, and a
// std::runtime_error with the module's or the system's text when an entry is missing or a
// call fails. A path longer than 255 bytes is refused, never cut.

// The title of the song file at path (bytes, as the file holds them).
std::string ReadTitle(const std::string &path);
// The file to play for the MIDI file at path: path itself, or the unwrapped copy in the
// temporary folder (created when missing).
std::string CheckHeader(const std::string &path);
// Converts the RCP song file at path into the work file of the temporary folder and returns
// that file's path. Nothing is returned for a song that was not written.
std::string ConvertRcp(const std::string &path);
