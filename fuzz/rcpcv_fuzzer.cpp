// The RCP converter on any bytes: the song file (RCP, R36, G36) and the control files
// (CM6, GSD) it may name. Whatever converts must come out as a Standard MIDI File that
// the player's own song reader accepts.

#include "fuzzsupport.h"

#include "outside/rcpcv/control_files.h"
#include "outside/rcpcv/converter.h"
#include "outside/rcpcv/smf_writer.h"
#include "platform/mci/smfparser.h"

#include <cstdint>

namespace {

void CheckSetup(const std::vector<rcpcv::SetupMessage> &messages)
{
    for (const rcpcv::SetupMessage &message : messages) {
        const std::string &bytes = message.bytes;
        if (bytes.size() < 2 || static_cast<unsigned char>(bytes.front()) != 0xF0 ||
            static_cast<unsigned char>(bytes.back()) != 0xF7)
            fuzzing::Fail("a setup message is not one system-exclusive message");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const rcpcv::ByteView file(data, size);
    CheckSetup(rcpcv::Cm6Messages(file, 0));
    CheckSetup(rcpcv::GsdMessages(file, 1));

    rcpcv::Song song;
    if (rcpcv::ConvertSong(file, rcpcv::ConvertOptions{}, song) != rcpcv::ConvertStatus::kOk)
        return 0;
    const std::string smf = rcpcv::WriteSmf(song);
    try {
        mci::ParseSong(reinterpret_cast<const std::uint8_t *>(smf.data()), smf.size());
    } catch (const mci::SongFormatError &error) {
        fuzzing::Fail(std::string("the converted song is refused by the song reader: ") +
                      error.what());
    }
    return 0;
}
