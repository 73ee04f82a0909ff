#pragma once
// A player core on the silent sequencer output with a virtual clock, in a program folder of
// its own (reset file copied from the built program folder), with a private temporary
// folder. No window, nothing sounds and nothing waits for real time.

#include "app/appstate.h"
#include "app/datafolder.h"
#include "core/bindings.h"
#include "core/playercore.h"

#include "platform/mci/clock.h"
#include "platform/mci/silentoutput.h"
#include "support/smfbuilder.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

// Appends an entry for path as the intake does, without the title probe.
void EnqueueSong(PlayQueue &queue, const std::string &path, const std::string &title);
// Count of the reset file's SysEx sent to output so far.
int CountResets(mci::SilentOutput &output);

class CoreTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a song of lengthMs into the program folder and returns its path.
    std::string Song(const std::string &name, std::uint32_t lengthMs,
                     const std::string &title = std::string());
    // Appends an entry as the intake does, without the title probe.
    void Enqueue(const std::string &path, const std::string &title = std::string());
    void Advance(std::int64_t ms);
    // Count of the reset file's SysEx sent so far.
    int ResetsSent();
    // The index of the entry carrying the play mark, or -1.
    int Marked() const;
    mci::TMediaPlayer &Device() { return core_->MediaPlayer1(); }
    PlayQueue &Queue() { return core_->Queue(); }

    TempFolder program_;
    std::shared_ptr<mci::VirtualClock> clock_;
    std::shared_ptr<mci::SilentOutput> output_;
    std::unique_ptr<TPlayerCore> core_;
    // How often the core said an intake found no song.
    int noSongs_ = 0;
};

} // namespace testing_support
