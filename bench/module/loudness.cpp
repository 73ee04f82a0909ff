#include "loudness.h"

#include "tools/sonolux-render/offlinerender.h"
#include "tools/sonolux-render/onsets.h"

#include "platform/mbcs.h"
#include "platform/mci/mcierror.h"
#include "platform/mci/outputlevel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace bench {

namespace {

constexpr int kRate = 44100;
constexpr double kFluidSynthDefaultGain = 0.2;
constexpr double kTarget = -6.0;
constexpr double kLimitDb = -1.0;   // the output limiter's threshold
constexpr double kSilentDb = -90.0; // FluidSynth's floor of denormal reverb tails lies below

double Db(double amplitude)
{
    return amplitude > 0 ? 20 * std::log10(amplitude) : -INFINITY;
}

double PeakDb(const render::StereoAudio &audio)
{
    return Db(std::max(render::Peak(audio.left), render::Peak(audio.right)));
}

bool IsSongFile(const std::filesystem::path &path)
{
    const std::string extension = path.extension().string();
    return platform::SameTextAscii(extension, ".mid") || platform::SameTextAscii(extension, ".rmi");
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -INFINITY;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

std::vector<std::string> SongFilesUnder(const std::string &folder)
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (entry.is_regular_file() && IsSongFile(entry.path()))
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

bool MeasureLoudness(const std::string &path, const std::string &soundFont, LoudnessRow &row)
{
    render::RenderOptions options;
    options.soundFont = soundFont;
    options.sampleRate = kRate;
    options.maxTailFrames = 3 * kRate;
    try {
        const render::StereoAudio after = render::RenderToMemory(path, options);
        options.gainDb = Db(kFluidSynthDefaultGain / mci::OutputGain(0, 1));
        options.limit = false;
        const render::StereoAudio before = render::RenderToMemory(path, options);
        row.seconds = static_cast<double>(after.left.size()) / kRate;
        row.peakAfterDb = PeakDb(after);
        row.peakBeforeDb = PeakDb(before);
        // FluidSynth's output is linear in its gain.
        row.peakUnlimitedDb = row.peakBeforeDb + Db(mci::OutputGain(0, 1) / kFluidSynthDefaultGain);
    } catch (const mci::EMCIDeviceError &) {
        return false;
    }
    return true;
}

LoudnessSummary PrintLoudness(const std::vector<LoudnessRow> &rows)
{
    LoudnessSummary summary;
    summary.loudestDb = -INFINITY;
    std::vector<double> music;
    std::vector<double> musicBefore;
    std::printf("    %-40s %7s %11s %15s %11s\n", "song", "seconds", "before", "at base gain",
                "after");
    for (const LoudnessRow &row : rows) {
        if (row.peakAfterDb < kSilentDb)
            continue;
        std::printf("    %-40s %7.1f %6.1f dBFS %10.1f dBFS %6.1f dBFS%s\n",
                    row.name.substr(0, 40).c_str(), row.seconds, row.peakBeforeDb,
                    row.peakUnlimitedDb, row.peakAfterDb, row.music ? "  (song)" : "");
        summary.loudestDb = std::max(summary.loudestDb, row.peakAfterDb);
        summary.clipping += row.peakAfterDb >= 0 ? 1 : 0;
        summary.clippingBefore += row.peakBeforeDb >= 0 ? 1 : 0;
        summary.limited += row.peakUnlimitedDb > kLimitDb ? 1 : 0;
        if (row.music) {
            music.push_back(row.peakAfterDb);
            musicBefore.push_back(row.peakBeforeDb);
        }
    }
    summary.medianMusicDb = Median(music);
    summary.medianMusicBeforeDb = Median(musicBefore);
    summary.gainForMinus6 =
        kFluidSynthDefaultGain * std::pow(10.0, (kTarget - summary.medianMusicBeforeDb) / 20);
    return summary;
}

} // namespace bench
