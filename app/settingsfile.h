#pragma once
// The settings file "Sonolux.ini": nine keys, read and written in a fixed order. View/Lyrics
// came last: a file without it reads as lyrics off, and readers that know only the first
// eight keys find them as before (the new key is written after them and ignored by them).

#include <QPoint>
#include <string>

struct StoredSettings
{
    QPoint barPosition;  // Main/X, Main/Y
    QPoint viewPosition; // View/X, View/Y
    std::string skinName = "default.mbd";
    std::string lastFolder;
    std::string formatName = "GM.MID";
    bool showLength = false;
    bool showLyrics = false; // View/Lyrics
};

// Reads the nine keys from the file at path; a missing file or key gives its default.
StoredSettings ReadSettingsFile(const std::string &path);
// Writes the nine keys, in order, keeping every other line of the file, in one
// replacement of the file. Throws platform::ProfileError naming the file when it cannot
// be written; the old file is then untouched.
void WriteSettingsFile(const std::string &path, const StoredSettings &settings);
