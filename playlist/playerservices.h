#pragma once
// What the play list window asks of the player: song intake for files dropped on the
// window and for archive members, and starting the current entry. The bar window
// provides them; the play list window holds only this interface, so it does not depend
// on the player.

#include <string>

class PlayerServices
{
public:
    virtual ~PlayerServices() = default;

    // Appends an entry for the song at path (title from the title probe). Throws on failure;
    // no half-filled entry is left.
    virtual void AddSong(const std::string &path, const std::string &archivePath) = 0;
    // Extracts the songs of an archive (mask: one member name, or empty for every song) into
    // the temporary folder. A path that is not an archive does nothing.
    virtual void ExtractArchive(const std::string &archivePath, const std::string &mask) = 0;
    // Appends the songs found in the temporary folder and not yet listed, with archivePath.
    virtual void ScanTempFolder(const std::string &archivePath) = 0;
    // Starts the entry at CurrentIndex after the reset file.
    virtual void StartCurrentSong() = 0;
};
