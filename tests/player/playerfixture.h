#pragma once
// A bar window on the silent sequencer output with a virtual clock, in a program folder of
// its own (reset file and default design copied from the built program folder), with a
// private temporary folder. Nothing sounds and nothing waits for real time.

#include "app/appstate.h"
#include "app/datafolder.h"
#include "app/skinatlas.h"
#include "player/main.h"
#include "playlist/view.h"

#include "platform/mci/clock.h"
#include "platform/mci/silentoutput.h"
#include "support/smfbuilder.h"
#include "support/tempfolder.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

class PlayerTest : public ::testing::Test
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
    // Closes the next modal window (message box) as soon as it opens; its text is kept.
    void AnswerNextModal();
    // The state icon place as drawn now, and as the given skin picture draws it.
    QImage IconShown() const;
    QImage IconPicture(const QRect &source) const;
    // Count of the reset file's SysEx sent so far.
    int ResetsSent();

    TempFolder program_;
    TempFolder runtime_;
    std::shared_ptr<mci::VirtualClock> clock_;
    std::shared_ptr<mci::SilentOutput> output_;
    std::unique_ptr<Tview_form> view_;
    std::unique_ptr<TMidi_main> bar_;
    QString lastModalText_;
};

} // namespace testing_support
