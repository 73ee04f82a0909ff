#include "app/settingsfile.h"
#include "app/startup.h"

#include "platform/files.h"
#include "platform/instance.h"
#include "support/scopedenv.h"
#include "support/tempfolder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using Scratch = testing_support::TempFolder;

// Catches a first start that does not use the designed defaults.
TEST(SettingsFile, MissingFileGivesDefaults)
{
    Scratch dir;
    const StoredSettings s = ReadSettingsFile(dir / "Sonolux.ini");
    EXPECT_EQ(s.barPosition, QPoint(0, 0));
    EXPECT_EQ(s.viewPosition, QPoint(0, 0));
    EXPECT_EQ(s.skinName, "default.mbd");
    EXPECT_EQ(s.lastFolder, "");
    EXPECT_EQ(s.formatName, "GM.MID");
    EXPECT_FALSE(s.showLength);
    EXPECT_FALSE(s.showLyrics);
}

// Catches keys written out of order, in the wrong sections, or a boolean not as "0"/"1".
TEST(SettingsFile, WritesTheKeysInOrder)
{
    Scratch dir;
    StoredSettings s;
    s.barPosition = QPoint(-1200, 40);
    s.viewPosition = QPoint(10, -5);
    s.lastFolder = "/home/u/曲";
    s.showLyrics = true;
    WriteSettingsFile(dir / "Sonolux.ini", s);
    EXPECT_EQ(platform::ReadFile(dir / "Sonolux.ini"),
              "[Main]\nX=-1200\nY=40\n\n[View]\nX=10\nY=-5\nLyrics=1\n\n[Design]\n"
              "Skin=default.mbd\n\n[History]\nDir=/home/u/曲\n\n[Other]\nFormat=GM.MID\nTime=0\n");
    const StoredSettings back = ReadSettingsFile(dir / "Sonolux.ini");
    EXPECT_EQ(back.barPosition, QPoint(-1200, 40));
    EXPECT_EQ(back.viewPosition, QPoint(10, -5));
    EXPECT_EQ(back.lastFolder, "/home/u/曲");
    EXPECT_TRUE(back.showLyrics);
}

// Catches the lyrics option read from the wrong key, or a file of an older version (no
// Lyrics key) whose other values no longer read back after a save.
TEST(SettingsFile, OlderFileGainsTheLyricsKeyAndKeepsItsValues)
{
    Scratch dir;
    const std::string path =
        dir.Write("Sonolux.ini", "[Main]\nX=5\nY=6\n[View]\nX=7\nY=8\n[Other]\nTime=1\nLyrics=1\n");
    StoredSettings s = ReadSettingsFile(path);
    EXPECT_FALSE(s.showLyrics) << "Lyrics belongs to [View], not [Other]";
    EXPECT_TRUE(s.showLength);
    s.showLyrics = true;
    WriteSettingsFile(path, s);
    const StoredSettings back = ReadSettingsFile(path);
    EXPECT_TRUE(back.showLyrics);
    EXPECT_EQ(back.viewPosition, QPoint(7, 8));
    EXPECT_TRUE(back.showLength);
}

// Catches hexadecimal or garbage positions read wrongly, and other lines being lost.
TEST(SettingsFile, ReadsHexAndGarbageAndKeepsForeignLines)
{
    Scratch dir;
    const std::string path =
        dir.Write("Sonolux.ini", "[Main]\nX=0x20\nY=abc\n[Mine]\nkeep=1\n[Other]\nTime=2\n");
    const StoredSettings s = ReadSettingsFile(path);
    EXPECT_EQ(s.barPosition, QPoint(32, 0));
    EXPECT_TRUE(s.showLength);
    WriteSettingsFile(path, s);
    EXPECT_NE(platform::ReadFile(path).find("[Mine]\nkeep=1\n"), std::string::npos);
}

// Catches a save failure that goes unreported or does not name the file.
TEST(SettingsFile, FailedSaveNamesTheFile)
{
    Scratch dir;
    try {
        WriteSettingsFile(dir / "missing/Sonolux.ini", StoredSettings{});
        FAIL() << "no error";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find(dir / "missing/Sonolux.ini"), std::string::npos);
    }
}

// Catches the debug switch accepted in another case or position.
TEST(StartUp, DebugSwitchIsExactAndFirst)
{
    const char *exact[] = {"sonolux", "/DEBUG"};
    const char *lower[] = {"sonolux", "/debug"};
    const char *second[] = {"sonolux", "x", "/DEBUG"};
    const char *none[] = {"sonolux"};
    EXPECT_TRUE(IsDebugSwitch(2, exact));
    EXPECT_FALSE(IsDebugSwitch(2, lower));
    EXPECT_FALSE(IsDebugSwitch(3, second));
    EXPECT_FALSE(IsDebugSwitch(1, none));
}

// The application the single-instance checks need for their local socket.
class CoreApplication
{
public:
    CoreApplication()
        : app_(argc_, argv_)
    {
    }

private:
    int argc_ = 1;
    char name_[18] = "settingsfile_test";
    char *argv_[2] = {name_, nullptr};
    QCoreApplication app_;
};

// Catches a second copy started although one runs, or "/DEBUG" not bypassing the check.
TEST(StartUp, SecondCopyIsRefusedUnlessDebugging)
{
    const CoreApplication app;
    Scratch runtime;
    ::chmod(runtime.Path().c_str(), 0700);
    const testing_support::ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.Path());

    const char *plain[] = {"sonolux"};
    const char *debug[] = {"sonolux", "/DEBUG"};
    const char *lower[] = {"sonolux", "/debug"};
    platform::SingleInstance first(BarWindowClass);
    EXPECT_FALSE(MustRefuseStart(1, plain, first));
    EXPECT_TRUE(first.IsClaimed());
    platform::SingleInstance second(BarWindowClass);
    EXPECT_TRUE(MustRefuseStart(1, plain, second));
    EXPECT_TRUE(MustRefuseStart(2, lower, second));
    EXPECT_FALSE(MustRefuseStart(2, debug, second));
    EXPECT_FALSE(second.IsClaimed()) << "a debugging copy runs beside the first, not in its place";
}

// Catches a start that goes on (or crashes) when no private folder for the check exists,
// and a debugging start stopped by it.
TEST(StartUp, NoPrivateFolderIsReportedUnlessDebugging)
{
    const CoreApplication app;
    Scratch base;
    Scratch cache;
    const testing_support::ScopedEnv runtime("XDG_RUNTIME_DIR", ""); // an empty one is unset
    const testing_support::ScopedEnv tmpdir("TMPDIR", base.Path());
    const testing_support::ScopedEnv cacheHome("XDG_CACHE_HOME", cache.Path());
    const std::string own = "sonolux-" + std::to_string(::getuid());
    ASSERT_EQ(::symlink(cache.Path().c_str(), (base / own).c_str()), 0);
    ASSERT_EQ(::mkdir((cache / own).c_str(), 0755), 0);
    ASSERT_EQ(::chmod((cache / own).c_str(), 0755), 0);

    const char *plain[] = {"sonolux"};
    const char *debug[] = {"sonolux", "/DEBUG"};
    platform::SingleInstance instance(BarWindowClass);
    EXPECT_THROW(MustRefuseStart(1, plain, instance), std::runtime_error);
    EXPECT_FALSE(MustRefuseStart(2, debug, instance));
}
