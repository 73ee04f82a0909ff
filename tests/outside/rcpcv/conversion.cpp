#include "conversion.h"

#include "outside/rcpcv/converter.h"
#include "outside/rcpcv/smf_writer.h"

#include <gtest/gtest.h>

namespace rcpcv_test {

std::string ConvertToSmf(const std::string &song, const std::string &controlFolder)
{
    rcpcv::Song converted;
    rcpcv::ConvertOptions options;
    options.controlFolder = controlFolder;
    const rcpcv::ByteView bytes(reinterpret_cast<const uint8_t *>(song.data()), song.size());
    EXPECT_EQ(rcpcv::ConvertSong(bytes, options, converted), rcpcv::ConvertStatus::kOk);
    return rcpcv::WriteSmf(converted);
}

MidiFile ConvertToMidi(const std::string &song, const std::string &controlFolder)
{
    return ParseSmf(ConvertToSmf(song, controlFolder));
}

MidiTrack MusicTrack(const std::string &song)
{
    const MidiFile file = ConvertToMidi(song);
    EXPECT_EQ(file.tracks.size(), 2u);
    return file.tracks.size() > 1 ? file.tracks[1] : MidiTrack{};
}

} // namespace rcpcv_test
