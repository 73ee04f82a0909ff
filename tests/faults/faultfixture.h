#pragma once
// What the fault tests share: the player fixture with a device of the test's choosing, and
// small helpers to read what a failure said.

#include "player/playerfixture.h"

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// The text of the exception action throws; "(no error)" when it throws none.
std::string ErrorOf(const std::function<void()> &action);

// The names in folder, sorted.
std::vector<std::string> NamesIn(const std::string &folder);

class FaultTest : public PlayerTest
{
protected:
    // Replaces the bar by one playing through device, as the program makes it at start.
    void UseDevice(std::unique_ptr<mci::TMediaPlayer> device);
    // The length of the reset file in milliseconds, as the device reads it.
    std::int64_t ResetFileLengthMs() const;
};

} // namespace testing_support
