#include "support/sf2builder.h"

#include <cmath>
#include <cstdint>
#include <random>

namespace testing_support {

namespace {

constexpr int kSampleFrames = 4410;
constexpr int kPadFrames = 46; // silence after each sample, as the format asks
constexpr int kRate = 44100;
constexpr std::uint16_t kGenInstrument = 41;
constexpr std::uint16_t kGenSampleModes = 54;
constexpr std::uint16_t kGenSampleId = 53;
constexpr std::uint16_t kGenRootKey = 58;

void Le(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void Name(std::string &out, const std::string &name)
{
    std::string field = name.substr(0, 19);
    field.resize(20, '\0');
    out += field;
}

std::string Chunk(const std::string &id, const std::string &body)
{
    std::string out = id;
    Le(out, static_cast<std::uint32_t>(body.size()), 4);
    out += body;
    if (body.size() % 2)
        out.push_back('\0');
    return out;
}

std::string List(const std::string &type, const std::string &body)
{
    return Chunk("LIST", type + body);
}

// A 16-bit sample as two little-endian bytes.
void Sample(std::string &out, long value)
{
    Le(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)), 2);
}

std::string Samples()
{
    std::string out;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-20000, 20000);
    for (int i = 0; i < kSampleFrames; ++i)
        Sample(out, std::lround(20000 * std::sin(2 * M_PI * i / 100.0)));
    out.append(2 * kPadFrames, '\0');
    for (int i = 0; i < kSampleFrames; ++i)
        Sample(out, noise(random));
    out.append(2 * kPadFrames, '\0');
    return out;
}

void Generator(std::string &out, std::uint16_t oper, std::uint16_t amount)
{
    Le(out, oper, 2);
    Le(out, amount, 2);
}

void SampleHeader(std::string &out, const std::string &name, std::uint32_t start, bool loop)
{
    Name(out, name);
    Le(out, start, 4);
    Le(out, start + kSampleFrames, 4);
    Le(out, loop ? start : start + 8, 4);
    Le(out, loop ? start + kSampleFrames : start + kSampleFrames - 8, 4);
    Le(out, kRate, 4);
    out.push_back(69); // original pitch
    out.push_back(0);
    Le(out, 0, 2);
    Le(out, name.empty() ? 0 : 1, 2); // mono
}

// Instrument 0 is the tone, 1 the noise; each has one zone on its own sample.
std::string InstrumentChunks()
{
    std::string inst, ibag, igen, shdr;
    for (int i = 0; i < 2; ++i) {
        Name(inst, i == 0 ? "tone" : "noise");
        Le(inst, static_cast<std::uint32_t>(i), 2);
        Le(ibag, static_cast<std::uint32_t>(3 * i), 2);
        Le(ibag, 0, 2);
        Generator(igen, kGenRootKey, 69);
        Generator(igen, kGenSampleModes, i == 0 ? 1 : 0);
        Generator(igen, kGenSampleId, static_cast<std::uint16_t>(i));
    }
    Name(inst, "EOI");
    Le(inst, 2, 2);
    Le(ibag, 6, 2);
    Le(ibag, 0, 2);
    Generator(igen, 0, 0);
    SampleHeader(shdr, "sine", 0, true);
    SampleHeader(shdr, "noise", kSampleFrames + kPadFrames, false);
    SampleHeader(shdr, "EOS", 0, false);
    return Chunk("inst", inst) + Chunk("ibag", ibag) + Chunk("imod", std::string(10, '\0')) +
           Chunk("igen", igen) + Chunk("shdr", shdr);
}

std::string PresetChunks(const std::vector<Sf2Preset> &presets)
{
    std::string phdr, pbag, pgen;
    std::uint32_t index = 0;
    for (const Sf2Preset &preset : presets) {
        Name(phdr, std::to_string(preset.bank) + ":" + std::to_string(preset.program));
        Le(phdr, static_cast<std::uint32_t>(preset.program), 2);
        Le(phdr, static_cast<std::uint32_t>(preset.bank), 2);
        Le(phdr, index, 2);
        Le(phdr, 0, 4);
        Le(phdr, 0, 4);
        Le(phdr, 0, 4);
        Le(pbag, index, 2);
        Le(pbag, 0, 2);
        Generator(pgen, kGenInstrument, preset.bank == 128 ? 1 : 0);
        ++index;
    }
    Name(phdr, "EOP");
    Le(phdr, 0, 2);
    Le(phdr, 0, 2);
    Le(phdr, index, 2);
    phdr.append(12, '\0');
    Le(pbag, index, 2);
    Le(pbag, 0, 2);
    Generator(pgen, 0, 0);
    return Chunk("phdr", phdr) + Chunk("pbag", pbag) + Chunk("pmod", std::string(10, '\0')) +
           Chunk("pgen", pgen);
}

} // namespace

std::string MakeSf2(const std::vector<Sf2Preset> &presets)
{
    std::string version;
    Le(version, 2, 2);
    Le(version, 1, 2);
    const std::string info = Chunk("ifil", version) + Chunk("isng", std::string("EMU8000\0", 8)) +
                             Chunk("INAM", std::string("test\0\0", 6));
    const std::string body = List("INFO", info) + List("sdta", Chunk("smpl", Samples())) +
                             List("pdta", PresetChunks(presets) + InstrumentChunks());
    return Chunk("RIFF", "sfbk" + body);
}

std::vector<Sf2Preset> GmPresets(const std::vector<int> &kits)
{
    std::vector<Sf2Preset> presets;
    for (int program = 0; program < 128; ++program)
        presets.push_back({0, program});
    for (const int kit : kits)
        presets.push_back({128, kit});
    return presets;
}

} // namespace testing_support
