#include "settings/setting_form.h"

#include "fakedialogs.h"

#include "app/appstate.h"
#include "app/datafolder.h"
#include "platform/files.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/smfwriter.h"
#include "support/tempfolder.h"

#include <QListWidget>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const std::vector<mci::OutputChoice> Offered = {
    {{"fluidsynth", "", "/usr/share/sounds/sf2/FluidR3_GM.sf2", ""}, "FluidSynth: FluidR3_GM.sf2"},
    {{"alsa", "SC-88Pro:0", "", ""}, "ALSA: SC-88Pro - Port 0 (20:0)"},
    {{"none", "", "", ""}, "No sound"},
};

// A song of one short note.
std::string ShortSong()
{
    mci::SmfWriter song(480, 0);
    song.Event(0, {0x90, 60, 100}).Event(48, {0x80, 60, 64}).EndAt(96);
    return song.Bytes();
}

class OutputPage : public testing::Test
{
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.Path() + "/");
        ::mkdir((folder / "format").c_str(), 0700);
        ::mkdir((folder / "skin").c_str(), 0700);
        SkinName = "none.mbd";
        // A foreign file: ignored without a message.
        folder.Write("skin/none.mbd", "This is not a design file at all.");
    }

    void TearDown() override
    {
        EXPECT_TRUE(answers.reports.empty()) << answers.reports.front();
        window.reset();
    }

    // Opens the window on its Output page; listOutputs empty for the system's outputs.
    QListWidget *OpenOutputPage(TSetting::TOutputLister listOutputs)
    {
        window = std::make_unique<TSetting>([] {}, nullptr, std::make_unique<FakeDialogs>(answers),
                                            std::move(listOutputs));
        window->show();
        auto *pages = window->findChild<QTabWidget *>("PageControl1");
        const int index = pages->indexOf(window->findChild<QWidget *>("Output"));
        EXPECT_EQ(index, pages->count() - 1) << "the last page";
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {},
                          pages->tabBar()->tabRect(index).center());
        return window->findChild<QListWidget *>("OutputList");
    }

    static void ClickRow(QListWidget *list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    static QStringList Rows(const QListWidget *list)
    {
        QStringList rows;
        for (int row = 0; row < list->count(); ++row)
            rows << list->item(row)->text();
        return rows;
    }

    testing_support::TempFolder folder;
    DialogAnswers answers;
    std::unique_ptr<TSetting> window;
};

} // namespace

// Catches the page not showing the output in use, or a choice written anywhere but the
// device's own file, or losing the audio driver set there.
TEST_F(OutputPage, ChoiceIsWrittenToMidimapIniAtOnce)
{
    mci::WriteOutputConfig(folder.Path(), {"alsa", "SC-88Pro:0", "", "pulseaudio"});
    QListWidget *list = OpenOutputPage([] { return Offered; });
    EXPECT_EQ(Rows(list), (QStringList{"FluidSynth: FluidR3_GM.sf2",
                                       "ALSA: SC-88Pro - Port 0 (20:0)", "No sound"}));
    EXPECT_EQ(list->currentRow(), 1);

    ClickRow(list, 2);
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path()),
              (mci::OutputConfig{"none", "", "", "pulseaudio"}));
    EXPECT_FALSE(platform::FileExists(folder / "Sonolux.ini"));

    ClickRow(list, 0);
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path()).soundFont,
              "/usr/share/sounds/sf2/FluidR3_GM.sf2");
    window->close();
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path()).device, "fluidsynth") << "kept without OK";
}

// Catches a configured module that is switched off being shown as another output, or
// its row rewriting the file.
TEST_F(OutputPage, UnavailableOutputKeepsARowOfItsOwn)
{
    mci::WriteOutputConfig(folder.Path(), {"alsa", "SC-55:0", "", ""});
    const std::string before = platform::ReadFile(folder / "midimap.ini");
    QListWidget *list = OpenOutputPage([] { return Offered; });
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentRow(), 3);
    EXPECT_TRUE(list->item(3)->text().contains("SC-55:0"));
    ClickRow(list, 3);
    EXPECT_EQ(platform::ReadFile(folder / "midimap.ini"), before);
}

// Catches a failed write being shown as the new choice; it must be reported.
TEST_F(OutputPage, FailedWriteIsReportedAndTheSelectionReturns)
{
    ::mkdir((folder / "midimap.ini").c_str(), 0700); // a folder where the file should be
    QListWidget *list = OpenOutputPage([] { return Offered; });
    EXPECT_EQ(list->currentRow(), 0) << "no file: FluidSynth with the default SoundFont";
    ClickRow(list, 2);
    ASSERT_EQ(answers.reports.size(), 1u);
    EXPECT_NE(answers.reports.front().find("midimap.ini"), std::string::npos);
    answers.reports.clear();
    EXPECT_EQ(list->currentRow(), 0);
}

// Catches the device not following the page: a device on the program folder must open
// and play the next song through the output chosen there (no sound: no audio device).
TEST_F(OutputPage, DeviceUsesTheChoiceAtItsNextOpen)
{
    mci::WriteOutputConfig(folder.Path(), {"no-such-device", "", "", ""});
    mci::TMediaPlayer player(ExeFolder);
    player.SetFileName(folder.Write("song.mid", ShortSong()));
    EXPECT_THROW(player.Open(), mci::EMCIDeviceError);

    QListWidget *list = OpenOutputPage({}); // the outputs found on this system
    ASSERT_GE(list->count(), 2);
    EXPECT_EQ(list->currentRow(), list->count() - 1) << "the unknown device's own row";
    const QList<QListWidgetItem *> noSound = list->findItems("No sound", Qt::MatchExactly);
    ASSERT_EQ(noSound.size(), 1);
    ClickRow(list, list->row(noSound.front()));
    EXPECT_EQ(mci::ReadOutputConfig(ExeFolder).device, "none");

    player.Open();
    player.Play();
    EXPECT_EQ(player.Mode(), mci::mpPlaying);
    EXPECT_GT(player.Length(), 0);
    player.Stop();
}

// Catches Loops and the output choice resetting each other in "midimap.ini", the page
// losing track of Loops after a choice (so that setting it back to off writes nothing), or
// the device not being given the new value.
TEST_F(OutputPage, LoopsAndTheOutputChoiceKeepEachOther)
{
    mci::WriteOutputConfig(folder.Path(), {"alsa", "SC-88Pro:0", "", ""});
    mci::WriteLoops(folder.Path(), 3);
    QListWidget *list = OpenOutputPage([] { return Offered; });
    mci::TMediaPlayer player(ExeFolder);
    window->SetApplyLoops([&player](int loops) { player.SetLoops(loops); });
    auto *loops = window->findChild<QSpinBox *>("OutputLoops");
    ASSERT_NE(loops, nullptr);
    EXPECT_EQ(loops->value(), 3);

    ClickRow(list, 2);
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path()).loops, 3) << "a choice keeps Loops";
    loops->setValue(5);
    const mci::OutputConfig written = mci::ReadOutputConfig(folder.Path());
    EXPECT_EQ(written.loops, 5);
    EXPECT_EQ(written.device, "none") << "Loops keeps the choice";
    EXPECT_EQ(player.Loops(), 5);

    ClickRow(list, 0);
    loops->setValue(0);
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path()).loops, 0);
    EXPECT_EQ(mci::ReadOutputConfig(folder.Path()).device, "fluidsynth");
    EXPECT_EQ(player.Loops(), 0);
}

// Catches a Loops value that could not be written being shown (and given to the device) as
// if it had been.
TEST_F(OutputPage, LoopsThatCannotBeWrittenAreReportedAndTheBoxReturns)
{
    ::mkdir((folder / "midimap.ini").c_str(), 0700);
    OpenOutputPage([] { return Offered; });
    int applied = -1;
    window->SetApplyLoops([&applied](int loops) { applied = loops; });
    auto *loops = window->findChild<QSpinBox *>("OutputLoops");
    loops->setValue(2);
    ASSERT_EQ(answers.reports.size(), 1u);
    answers.reports.clear();
    EXPECT_EQ(loops->value(), 0);
    EXPECT_EQ(applied, -1);
}
