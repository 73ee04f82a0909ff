#include "platform/mci/mediaplayer.h"

#include "platform/mci/silentoutput.h"
#include "platform/mci/smfparser.h"
#include "platform/mci/songfile.h"

#include "fixturepaths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

using namespace std::chrono_literals;

mci::Song ParseFile(const std::string &relative)
{
    const std::string bytes = mci::ReadSongFile(fixtures::Path(relative));
    return mci::ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

std::vector<std::string> SongFixtures()
{
    std::vector<std::string> files;
    for (const char *folder : {"midi", "rmi"}) {
        for (const auto &entry :
             std::filesystem::recursive_directory_iterator(fixtures::Path(folder))) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".mid" || ext == ".rmi"))
                files.push_back(entry.path().string());
        }
    }
    return files;
}

// Catches real files that crash, hang, fail without a reason or never end; broken ones accepted.
TEST(Fixtures, EverySongOpensAndPlaysToItsEndOrFailsWithAReason)
{
    const std::map<std::string, std::string> refused = {
        {"èmpty.mid", "holds no track"},
        {"test-empty-file.mid", "is not a MIDI file"},
        {"test-not-a-midi-file.mid", "is not a MIDI file"},
        {"MIDIBadHeaderChunk.mid", "is not a MIDI file"},
        {"MIDIBadHeaderFormat.mid", "unknown MIDI file format (3)"},
        {"MIDIBadHeaderSMTPE.mid", "SMPTE time division is invalid"},
        {"MIDIBadTrackHdr.mid", "holds no track"},
    };
    const std::vector<std::string> files = SongFixtures();
    ASSERT_GT(files.size(), 100u);
    std::size_t failures = 0;
    for (const std::string &path : files) {
        SCOPED_TRACE(path);
        const std::string name = std::filesystem::path(path).filename().string();
        mci::SilentOutput::Options options;
        options.keepLog = false;
        auto clock = std::make_shared<mci::VirtualClock>();
        mci::TMediaPlayer player(std::make_shared<mci::SilentOutput>(clock, options));
        player.SetFileName(path);
        try {
            player.Open();
        } catch (const mci::EMCIDeviceError &error) {
            ++failures;
            ASSERT_EQ(refused.count(name), 1u) << error.what();
            const std::string text = error.what();
            EXPECT_EQ(text.rfind("\"" + path + "\" ", 0), 0u) << text;
            EXPECT_THAT(text, testing::HasSubstr(refused.at(name)));
            EXPECT_EQ(text.back(), '.');
            EXPECT_EQ(player.Mode(), mci::mpNotReady);
            continue;
        }
        EXPECT_EQ(refused.count(name), 0u) << "opened";
        player.SetTimeFormat(mci::TMPTimeFormats::tfMilliseconds);
        player.Play();
        ASSERT_TRUE(player.WaitForEnd(std::chrono::milliseconds::max()));
        EXPECT_EQ(player.Position(), player.Length());
        EXPECT_EQ(player.Mode(), mci::mpStopped);
    }
    EXPECT_EQ(failures, refused.size());
}

// Catches notes lost to running status after meta/SysEx or to stray system bytes.
TEST(Fixtures, TolerantReadingKeepsEveryNote)
{
    const std::string folder = "midi/jazz-soft-test-midi-files/";
    for (const char *name : {"test-running-status-metaevent.mid", "test-c-major-scale.mid",
                             "test-illegal-message-all.mid", "test-non-midi-track.mid",
                             "test-corrupt-file-missing-byte.mid", "test-vlq-4-byte.mid"}) {
        const mci::Song song = ParseFile(folder + name);
        EXPECT_EQ(song.events.size(), 16u) << name;
        EXPECT_EQ(song.lengthNs, 4000000000) << name;
    }
    EXPECT_EQ(ParseFile(folder + "test-running-status-sysex.mid").events.size(), 17u);
    // Format 2 plays its two tracks one after the other: twice as long as format 1.
    EXPECT_EQ(ParseFile(folder + "test-2-tracks-type-2.mid").lengthNs,
              2 * ParseFile(folder + "test-2-tracks-type-1.mid").lengthNs);
    // The header claims 22 bytes, but the track follows its 6 at once.
    EXPECT_EQ(ParseFile("midi/nfroidure-midifile/MIDIBadHeaderLength.mid").events.size(),
              ParseFile("midi/nfroidure-midifile/MIDIOkFormat0.mid").events.size());
}

// Catches damaged files read no further than the damage, or past the end of the file.
TEST(Fixtures, TruncatedFilesKeepWhatTheyHold)
{
    const mci::Song pi = ParseFile("midi/midly/PiDamaged.mid");
    EXPECT_EQ(pi.tracks, 3); // the header says 30; the third is cut off by the end of the file
    EXPECT_GT(pi.events.size(), 16000u);
    const mci::Song sysex = ParseFile("midi/midly/SysExTest.mid");
    ASSERT_EQ(sysex.events.size(), 2u);
    EXPECT_EQ(sysex.Message(sysex.events[1]).size, 1u + 256u); // F0 and 256 bytes ending in F7
}

// Catches RMID data chunks missed behind INFO, icons or an embedded SoundFont.
TEST(Fixtures, RiffMidiFilesPlayTheirDataChunk)
{
    const mci::Song beethoven = ParseFile("rmi/midly/Beethoven.rmi");
    EXPECT_EQ(beethoven.format, 1);
    EXPECT_EQ(beethoven.tracks, 15);
    EXPECT_GE(beethoven.tempo.SegmentCount(), 100u);
    for (const char *name :
         {"rmi/spessasynth/hybrid_song_2_20.rmi", "rmi/spessasynth/unreeeal_superhero_3.rmi"}) {
        const mci::Song song = ParseFile(name);
        EXPECT_EQ(song.tracks, 11) << name;
        EXPECT_GT(song.events.size(), 30000u) << name;
    }
}

} // namespace
