#include "loader_module.h"

#include "platform/files.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

using loader_testing::LoaderModule;
using loader_testing::Outcome;

namespace {

const std::string Fixtures = SONOLUX_FIXTURES_DIR;

// Skips the calling test when a fixture is absent, as the shared data may be incomplete.
#define REQUIRE_FIXTURE(path)                                                                      \
    if (!platform::FileExists(path))                                                               \
    GTEST_SKIP() << "fixture missing: " << (path)

} // namespace

// Catches titles of real song files read wrongly: track names at various offsets, files
// without one, a damaged file, and the three RCP layouts.
TEST(LoaderFixtureTest, TitlesOfRealSongFiles)
{
    LoaderModule module;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"midi/jazz-soft-test-midi-files/test-c-major-scale.mid", "C Major Scale Test"},
        {"midi/jazz-soft-test-midi-files/test-vlq-4-byte.mid", "4-Byte VLQ"},
        {"midi/jazz-soft-test-midi-files/test-smpte-offset.mid", "SMPTE Offset Test"},
        {"midi/jazz-soft-test-midi-files/test-non-midi-track.mid", "Non-MIDI Track Test"},
        {"midi/midly/PiDamaged.mid", "MIDI out #28"},
        {"midi/jazz-soft-test-midi-files/test-empty-file.mid", "Not found Title!"},
        {"midi/jazz-soft-test-midi-files/test-not-a-midi-file.mid", "Not found Title!"},
        {"midi/midi-encoding-test/ja-ShiftJIS.mid", "Not found Title!"},
        {"rcp/test_18trk_v2.rcp", "Test song"},
        {"rcp/test_36trk_v2.rcp", "TEST SONG"},
        {"rcp/test_song.g36", "Test song"},
        {"rmi/midly/Beethoven.rmi", ""},
    };
    for (const auto &[file, title] : cases) {
        const std::string path = Fixtures + "/" + file;
        REQUIRE_FIXTURE(path);
        const Outcome outcome = module.ComLoad(path);
        EXPECT_EQ(outcome.code, 0) << file;
        EXPECT_EQ(outcome.text, title) << file;
    }
}

// Catches real files rewritten although they need no unwrapping, and a wrapped real song
// not copied byte for byte.
TEST(LoaderFixtureTest, HeaderCheckOfRealSongFiles)
{
    LoaderModule module;
    testing_support::TempFolder work;
    for (const std::string file :
         {"rmi/midly/Beethoven.rmi", "rmi/spessasynth/hybrid_song_2_20.rmi",
          "midi/midly/PiDamaged.mid"}) {
        const std::string path = Fixtures + "/" + file;
        REQUIRE_FIXTURE(path);
        const Outcome outcome = module.MacCheck(path, work.Path());
        EXPECT_EQ(outcome.code, 0) << file;
        EXPECT_EQ(outcome.text, path) << file;
    }
    EXPECT_FALSE(platform::FileExists(work / "TEMP.MID"));

    const std::string song = Fixtures + "/midi/jazz-soft-test-midi-files/test-karaoke-kar.mid";
    REQUIRE_FIXTURE(song);
    const std::string smf = platform::ReadFile(song);
    const std::string wrapped = work.Write("wrapped.mid", std::string(128, '\0') + smf);
    const Outcome outcome = module.MacCheck(wrapped, work.Path());
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.text, work / "TEMP.MID");
    EXPECT_EQ(platform::ReadFile(work / "TEMP.MID"), smf);

    const std::string empty = Fixtures + "/midi/jazz-soft-test-midi-files/test-empty-file.mid";
    REQUIRE_FIXTURE(empty);
    EXPECT_EQ(module.MacCheck(empty, work.Path()).text, "ファイルの末尾以降を読み込みました");
}
