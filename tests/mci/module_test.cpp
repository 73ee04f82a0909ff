// The module rules apart from FluidSynth: what SysEx asks, which preset a part plays, the
// glide and NRPN scales, and the output level settings.
#include "platform/mci/modulerules.h"
#include "platform/mci/modulesysex.h"
#include "platform/mci/outputlevel.h"
#include "platform/mci/outputlimiter.h"
#include "platform/mci/soundshaping.h"

#include "support/modulesongs.h"

#include <fluidsynth.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using mci::ModuleMode;
using mci::ModuleRequest;
using mci::Voice;
using namespace modulesongs;

std::vector<ModuleRequest> Decode(const mci::MidiMessage &m, int port = 0)
{
    return mci::DecodeModuleSysEx(mci::View(m, port));
}

bool IsReset(const std::vector<ModuleRequest> &requests, ModuleMode mode)
{
    return requests.size() == 1 && requests[0].kind == ModuleRequest::Kind::reset &&
           requests[0].mode == mode;
}

// Catches resets honoured only for one device ID (FluidSynth's own 0), a reset read from
// another maker's message, or a Roland message with a wrong checksum obeyed.
TEST(ModuleSysEx, ResetsWhateverTheDeviceId)
{
    for (const int id : {0x00, 0x10, 0x11, 0x1F, 0x7F}) {
        EXPECT_TRUE(IsReset(Decode(GsReset(id)), ModuleMode::gs)) << id;
        EXPECT_TRUE(IsReset(Decode(GmOn(id)), ModuleMode::gm)) << id;
    }
    for (const int id : {0x10, 0x13, 0x1F})
        EXPECT_TRUE(IsReset(Decode(XgOn(id)), ModuleMode::xg)) << id;
    EXPECT_TRUE(IsReset(Decode(Roland(0x10, 0x00, 0x00, 0x7F, {0x01})), ModuleMode::gs));
    EXPECT_TRUE(IsReset(Decode(Yamaha(0x10, 0x00, 0x00, 0x7F, {0x00})), ModuleMode::xg));
    EXPECT_TRUE(IsReset(Decode(Gm2On()), ModuleMode::gm2));
    EXPECT_TRUE(IsReset(Decode({0xF0, 0x7E, 0x7F, 0x09, 0x02, 0xF7}), mci::kPowerOnMode));

    EXPECT_TRUE(Decode(Roland(0x10, 0x40, 0x00, 0x7F, {0x00}, 1)).empty()); // checksum
    EXPECT_TRUE(Decode(Roland(0x20, 0x40, 0x00, 0x7F, {0x00})).empty());    // no GS device
    EXPECT_TRUE(Decode(Yamaha(0x00, 0x00, 0x00, 0x7E, {0x00})).empty());    // a bulk dump
    EXPECT_TRUE(Decode({0xF0, 0x42, 0x30, 0x00, 0x00, 0x7F, 0x00, 0xF7}).empty());
    EXPECT_TRUE(Decode({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00}).empty()); // cut short
}

// Catches rhythm parts put on the wrong part (GS numbers part 10 first) or the wrong port,
// and XG part numbers beyond port A lost.
TEST(ModuleSysEx, PartMessagesFindTheirPart)
{
    const auto part = [](const std::vector<ModuleRequest> &r) {
        return r.size() == 1 ? std::make_pair(r[0].part, r[0].value) : std::make_pair(-1, -1);
    };
    EXPECT_EQ(part(Decode(GsRhythmPart(0, 1))), std::make_pair(9, 1));
    EXPECT_EQ(part(Decode(GsRhythmPart(1, 2))), std::make_pair(0, 2));
    EXPECT_EQ(part(Decode(GsRhythmPart(9, 1))), std::make_pair(8, 1));
    EXPECT_EQ(part(Decode(GsRhythmPart(10, 2))), std::make_pair(10, 2));
    EXPECT_EQ(part(Decode(GsRhythmPart(15, 0))), std::make_pair(15, 0));
    EXPECT_EQ(part(Decode(GsRhythmPart(2, 1, true))), std::make_pair(16 + 1, 1));
    // Block 40 received on port B is port B's.
    EXPECT_EQ(part(Decode(GsRhythmPart(2, 1), 1)), std::make_pair(16 + 1, 1));
    EXPECT_EQ(part(Decode(XgPartMode(3, 2))), std::make_pair(3, 2));
    EXPECT_EQ(part(Decode(XgPartMode(0x1A, 1))), std::make_pair(0x1A, 1));
    EXPECT_TRUE(Decode(XgPartMode(0x40, 1)).empty());
    EXPECT_EQ(Decode(GsRhythmPart(2, 1))[0].kind, ModuleRequest::Kind::rhythmPart);
    EXPECT_EQ(Decode(XgPartMode(3, 2))[0].kind, ModuleRequest::Kind::xgPartMode);
}

// Catches master volume read from the wrong bytes (GM's 14-bit value is LSB first) or
// not at all, and a message setting consecutive addresses read as its first alone.
TEST(ModuleSysEx, MasterVolumeAndConsecutiveAddresses)
{
    const auto level = [](const std::vector<ModuleRequest> &r) {
        return r.size() == 1 && r[0].kind == ModuleRequest::Kind::masterVolume ? r[0].level : -1.0;
    };
    EXPECT_DOUBLE_EQ(level(Decode(GmMasterVolume(16383))), 1.0);
    EXPECT_NEAR(level(Decode(GmMasterVolume(0x2000))), 0.5, 0.001);
    EXPECT_DOUBLE_EQ(level(Decode(Roland(0x10, 0x40, 0x00, 0x04, {127}))), 1.0);
    EXPECT_DOUBLE_EQ(level(Decode(Roland(0x10, 0x40, 0x00, 0x04, {0}))), 0.0);
    EXPECT_NEAR(level(Decode(Yamaha(0x10, 0x00, 0x00, 0x04, {64}))), 64 / 127.0, 1e-9);

    // 40 1A 15 and 40 1A 16 in one message: the rhythm part is among them.
    const auto requests = Decode(Roland(0x10, 0x40, 0x1A, 0x14, {0x01, 0x02}));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].part, 10);
    EXPECT_EQ(requests[0].value, 2);
    // XG 08 00 06..07: the part mode is the second byte.
    const auto xg = Decode(Yamaha(0x10, 0x08, 0x05, 0x06, {0x10, 0x01}));
    ASSERT_EQ(xg.size(), 1u);
    EXPECT_EQ(xg[0].part, 5);
}

mci::PresetCatalogue Presets()
{
    mci::PresetCatalogue presets;
    for (int program = 0; program < 128; ++program)
        presets.Add(0, program);
    for (const int kit : {0, 8, 25, 56})
        presets.Add(128, kit);
    presets.Add(8, 4);
    presets.Add(3, 6);
    presets.Add(64, 33);
    return presets;
}

Voice Choose(ModuleMode mode, int msb, int lsb, int program, bool drum = false)
{
    return mci::ChooseVoice(mode, mci::PartSelection{msb, lsb, program, drum}, Presets());
}

// Catches each module's bank rules broken: GM obeying bank select, GS reading the LSB or
// not falling back to the capital tone, XG kits and SFX sounds left silent or played as
// pianos.
TEST(ModuleRules, EachModeChoosesAsItsModuleDoes)
{
    EXPECT_EQ(Choose(ModuleMode::gm, 8, 0, 4), (Voice{false, 0, 4}));
    EXPECT_EQ(Choose(ModuleMode::gm, 0, 0, 25, true), (Voice{true, 128, 25}));

    EXPECT_EQ(Choose(ModuleMode::gs, 8, 3, 4), (Voice{false, 8, 4}));
    EXPECT_EQ(Choose(ModuleMode::gs, 16, 0, 4), (Voice{false, 0, 4}));
    EXPECT_EQ(Choose(ModuleMode::gs, 0, 3, 6), (Voice{false, 0, 6}));
    EXPECT_EQ(Choose(ModuleMode::gs, 8, 0, 25, true), (Voice{true, 128, 25}));
    EXPECT_EQ(Choose(ModuleMode::gs, 0, 0, 26, true), (Voice{true, 128, 0}));

    EXPECT_EQ(Choose(ModuleMode::xg, 0, 3, 6), (Voice{false, 3, 6}));
    EXPECT_EQ(Choose(ModuleMode::xg, 0, 8, 6), (Voice{false, 0, 6}));
    EXPECT_EQ(Choose(ModuleMode::xg, 127, 0, 8, true), (Voice{true, 128, 8}));
    EXPECT_EQ(Choose(ModuleMode::xg, 127, 0, 1, true), (Voice{true, 128, 0}));
    EXPECT_EQ(Choose(ModuleMode::xg, 126, 0, 0, true), (Voice{true, 128, 56}));
    EXPECT_EQ(Choose(ModuleMode::xg, 64, 0, 33), (Voice{false, 64, 33}));
    EXPECT_EQ(Choose(ModuleMode::xg, 64, 0, 48), (Voice{false, 0, 123}));

    EXPECT_EQ(Choose(ModuleMode::gm2, 121, 3, 6), (Voice{false, 3, 6}));
    EXPECT_EQ(Choose(ModuleMode::gm2, 121, 9, 6), (Voice{false, 0, 6}));
    EXPECT_EQ(Choose(ModuleMode::gm2, 120, 0, 8, true), (Voice{true, 128, 8}));

    mci::PresetCatalogue kitless;
    kitless.Add(0, 5);
    kitless.Add(128, 48);
    EXPECT_EQ(mci::ChooseVoice(ModuleMode::gs, {0, 0, 0, true}, kitless), (Voice{true, 128, 48}));
    EXPECT_EQ(mci::ChooseVoice(ModuleMode::gs, {0, 0, 7, false}, kitless), (Voice{false, 0, 5}));
}

// Catches parts that ignore drum bank numbers in XG and GM2, or take them in GM and GS.
TEST(ModuleRules, BankMakesDrumsOnlyWhereTheModuleSaysSo)
{
    EXPECT_TRUE(mci::DrumByBank(ModuleMode::xg, {127, 0, 0, false}));
    EXPECT_TRUE(mci::DrumByBank(ModuleMode::xg, {126, 0, 0, false}));
    EXPECT_FALSE(mci::DrumByBank(ModuleMode::xg, {0, 0, 0, true}));
    EXPECT_TRUE(mci::DrumByBank(ModuleMode::gm2, {120, 0, 0, false}));
    EXPECT_FALSE(mci::DrumByBank(ModuleMode::gm2, {121, 0, 0, true}));
    EXPECT_FALSE(mci::DrumByBank(ModuleMode::gs, {127, 0, 0, false}));
    EXPECT_TRUE(mci::DrumByBank(ModuleMode::gs, {0, 0, 0, true}));
    EXPECT_FALSE(mci::DrumByBank(ModuleMode::gm, {127, 0, 0, false}));
}

// Catches a glide as FluidSynth's raw milliseconds (CC 5 = 64 would glide 8 s) or at a
// fixed time whatever the interval.
TEST(SoundShaping, GlidesAtAModuleRate)
{
    EXPECT_EQ(mci::GlideMs(64, 0), 0);
    EXPECT_NEAR(mci::GlideMs(0, 12), 10, 1);
    EXPECT_NEAR(mci::GlideMs(64, 12), 239, 2);
    EXPECT_NEAR(mci::GlideMs(64, -24), 2 * mci::GlideMs(64, 12), 1);
    EXPECT_NEAR(mci::GlideMs(78, 12), 2 * mci::GlideMs(64, 12), 2);
    EXPECT_EQ(mci::GlideMs(127, 127), 16383);
}

// Catches NRPNs mapped to the wrong generator, with the sign reversed, or drum instrument
// NRPNs taken for part ones.
TEST(SoundShaping, PartNrpnsBecomeGeneratorOffsets)
{
    const auto one = [](int lsb, int value) {
        const auto offsets = mci::NrpnOffsets(0x01, lsb, value);
        return offsets.empty() ? std::make_pair(-1, 0.0f)
                               : std::make_pair(offsets[0].generator, offsets[0].amount);
    };
    EXPECT_EQ(one(0x20, 0x30), std::make_pair(int{GEN_FILTERFC}, -640.0f));
    EXPECT_EQ(one(0x21, 0x50), std::make_pair(int{GEN_FILTERQ}, 32.0f));
    EXPECT_EQ(one(0x08, 0x41), std::make_pair(int{GEN_VIBLFOFREQ}, 25.0f));
    EXPECT_EQ(one(0x0A, 0x40), std::make_pair(int{GEN_VIBLFODELAY}, 0.0f));
    EXPECT_EQ(one(0x09, 0x00), std::make_pair(int{GEN_VIBLFOTOPITCH}, 0.0f));
    EXPECT_NEAR(one(0x09, 0x7F).second, 50.0f, 0.01f);
    const auto attack = mci::NrpnOffsets(0x01, 0x63, 0x20);
    ASSERT_EQ(attack.size(), 2u);
    EXPECT_EQ(attack[0].generator, GEN_VOLENVATTACK);
    EXPECT_EQ(attack[1].generator, GEN_MODENVATTACK);
    EXPECT_EQ(attack[1].amount, -32 * 30.0f);
    EXPECT_TRUE(mci::NrpnOffsets(0x18, 36, 0x50).empty());
    EXPECT_TRUE(mci::NrpnOffsets(0x01, 0x30, 0x50).empty());
}

// Catches a Gain or Volume setting that breaks the level (text taken as 0 dB volume 0,
// no clamping) or that does not read back what was written.
TEST(OutputLevel, SettingsReadAndClamp)
{
    EXPECT_DOUBLE_EQ(mci::ParseGainDb(""), 0.0);
    EXPECT_DOUBLE_EQ(mci::ParseGainDb("-3.5"), -3.5);
    EXPECT_DOUBLE_EQ(mci::ParseGainDb("+6"), 6.0);
    EXPECT_DOUBLE_EQ(mci::ParseGainDb("loud"), 0.0);
    EXPECT_DOUBLE_EQ(mci::ParseGainDb("99"), mci::kMaxGainDb);
    EXPECT_DOUBLE_EQ(mci::ParseVolume(""), 1.0);
    EXPECT_DOUBLE_EQ(mci::ParseVolume("72.5"), 0.725);
    EXPECT_DOUBLE_EQ(mci::ParseVolume("150"), 1.0);
    EXPECT_DOUBLE_EQ(mci::ParseVolume("-5"), 0.0);
    EXPECT_EQ(mci::FormatVolume(0.725), "72.5");
    EXPECT_EQ(mci::FormatVolume(0.4), "40");
    EXPECT_EQ(mci::FormatVolume(2.0), "100");
    EXPECT_DOUBLE_EQ(mci::ParseVolume(mci::FormatVolume(0.333)), 0.333);
    EXPECT_NEAR(mci::OutputGain(-6.0206, 0.5), mci::kBaseGain * 0.25, 1e-6);
    EXPECT_DOUBLE_EQ(mci::OutputGain(0, 3.0), mci::kBaseGain);
}

// Catches a limiter that lets a hot passage clip, colours a signal that never reaches its
// threshold, or keeps the level down once the passage is over.
TEST(PeakLimiter, HoldsPeaksAtTheThresholdAndLeavesTheRestAlone)
{
    constexpr int kRate = 1000;
    mci::PeakLimiter limiter(kRate);
    std::vector<float> left(3 * kRate), right(3 * kRate);
    for (int i = 0; i < 3 * kRate; ++i) {
        const float amplitude = i < kRate ? 4.0f : 0.5f;
        left[static_cast<std::size_t>(i)] = amplitude * std::sin(i * 0.3f);
        right[static_cast<std::size_t>(i)] = -0.5f * left[static_cast<std::size_t>(i)];
    }
    const std::vector<float> input = left;
    limiter.Process(left.data(), right.data(), 3 * kRate);
    float loudest = 0;
    for (const float sample : left)
        loudest = std::max(loudest, std::fabs(sample));
    EXPECT_LE(loudest, mci::PeakLimiter::kThreshold);
    EXPECT_GT(loudest, 0.99f * mci::PeakLimiter::kThreshold);
    EXPECT_NEAR(right[100] / left[100], -0.5f, 1e-6) << "both channels take the same gain";
    EXPECT_NEAR(limiter.DeepestReductionDb(), 20 * std::log10(4.0 / 0.891251), 0.05);
    // A quarter-second release: a second after the loud part the signal passes unchanged.
    for (int i = 2 * kRate; i < 3 * kRate; ++i)
        ASSERT_EQ(left[static_cast<std::size_t>(i)], input[static_cast<std::size_t>(i)]) << i;

    mci::PeakLimiter quiet(kRate);
    std::vector<float> calm(input.begin() + kRate, input.end());
    std::vector<float> other = calm;
    quiet.Process(calm.data(), other.data(), static_cast<int>(calm.size()));
    EXPECT_EQ(calm, std::vector<float>(input.begin() + kRate, input.end()));
    EXPECT_EQ(quiet.DeepestReductionDb(), 0.0);
}

} // namespace
