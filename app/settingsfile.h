#pragma once
// The settings file "Sonolux.ini": eight keys, read and written in a fixed order.

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
};

// Reads the eight keys from the file at path; a missing file or key gives its default.
StoredSettings ReadSettingsFile(const std::string &path);
// Writes the eight keys, in order, keeping every other line of the file, in one
// replacement of the file. Throws platform::ProfileError naming the file when it cannot
// be written; the old file is then untouched.
void WriteSettingsFile(const std::string &path, const StoredSettings &settings);
