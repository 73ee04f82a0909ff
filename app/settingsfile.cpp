#include "settingsfile.h"

#include "platform/profile.h"

StoredSettings ReadSettingsFile(const std::string &path)
{
    const platform::ProfileFile ini(path);
    StoredSettings s;
    s.barPosition.setX(ini.ReadInteger("Main", "X", 0));
    s.barPosition.setY(ini.ReadInteger("Main", "Y", 0));
    s.viewPosition.setX(ini.ReadInteger("View", "X", 0));
    s.viewPosition.setY(ini.ReadInteger("View", "Y", 0));
    s.skinName = ini.ReadString("Design", "Skin", "default.mbd");
    s.lastFolder = ini.ReadString("History", "Dir", "");
    s.formatName = ini.ReadString("Other", "Format", "GM.MID");
    s.showLength = ini.ReadBool("Other", "Time", false);
    s.showLyrics = ini.ReadBool("View", "Lyrics", false);
    return s;
}

void WriteSettingsFile(const std::string &path, const StoredSettings &s)
{
    platform::ProfileFile(path).WriteValues({
        {"Main", "X", std::to_string(s.barPosition.x())},
        {"Main", "Y", std::to_string(s.barPosition.y())},
        {"View", "X", std::to_string(s.viewPosition.x())},
        {"View", "Y", std::to_string(s.viewPosition.y())},
        {"Design", "Skin", s.skinName},
        {"History", "Dir", s.lastFolder},
        {"Other", "Format", s.formatName},
        {"Other", "Time", s.showLength ? "1" : "0"},
        {"View", "Lyrics", s.showLyrics ? "1" : "0"},
    });
}
