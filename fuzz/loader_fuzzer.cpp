// The loader module's entries on any file: the title probe (ComLoad) as a MIDI and as an
// RCP song, and the foreign-header check (MacCheck). The module's sources are linked in,
// so the fuzzer sees their coverage; the file goes to a private folder, as the player's
// songs lie on disk.

#include "fuzzsupport.h"

#include "loader/sonolux_module.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct Buffer
{
    unsigned char bytes[256] = {};

    explicit Buffer(const std::string &text = std::string())
    {
        bytes[0] = static_cast<unsigned char>(text.size());
        std::memcpy(bytes + 1, text.data(), text.size());
    }
    std::string Text() const
    {
        return std::string(reinterpret_cast<const char *>(bytes + 1), bytes[0]);
    }
};

std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A MIDI title is "Not found Title!" or text that stands in the file after the first FF 03
// within its first 500 bytes and the length byte after that pair.
void CheckMidiTitle(const std::string &file, const std::string &title)
{
    if (title == "Not found Title!")
        return;
    const std::size_t pair = file.substr(0, 500).find("\xFF\x03");
    if (pair == std::string::npos || pair + 2 >= file.size())
        fuzzing::Fail("a MIDI title was found where the file has no FF 03 with a length");
    const auto length = static_cast<unsigned char>(file[pair + 2]);
    if (title.size() > length || file.compare(pair + 3, title.size(), title) != 0)
        fuzzing::Fail("the MIDI title is not the text after the first FF 03");
}

// An RCP title lies within the 64 bytes at offset 32.
void CheckRcpTitle(const std::string &file, const std::string &title)
{
    if (title.empty())
        return;
    const std::string field = file.size() > 32 ? file.substr(32, 64) : std::string();
    if (title.size() > 64 || field.find(title) == std::string::npos)
        fuzzing::Fail("the RCP title is not taken from its field");
}

void CheckHeader(const std::string &folder, const std::string &song, const std::string &file)
{
    const std::string work = folder + "/TEMP.MID";
    std::filesystem::remove(work);
    Buffer result;
    const int code = MacCheck(result.bytes, Buffer(song).bytes, Buffer(folder).bytes);
    if (file.empty()) {
        if (code == 0)
            fuzzing::Fail("an empty file passed the header check");
        return;
    }
    if (code != 0)
        fuzzing::Fail("the header check failed on a readable file: " + result.Text());
    if (file[0] != '\0') {
        if (result.Text() != song || std::filesystem::exists(work))
            fuzzing::Fail("a file without a foreign header was not passed back unchanged");
        return;
    }
    const std::size_t mt = file.find("MT", 1);
    const std::string expected = mt == std::string::npos ? std::string() : file.substr(mt);
    if (result.Text() != work || ReadAll(work) != expected)
        fuzzing::Fail("the work file is not the file from its first \"MT\"");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string &folder = fuzzing::PrivateFolder();
    const std::string file(reinterpret_cast<const char *>(data), size);
    // Messages come in the code page of the environment; both are tried.
    setenv("SONOLUX_CODEPAGE", size % 2 == 0 ? "932" : "65001", 1);

    const std::string midi = folder + "/song.mid";
    fuzzing::WriteWholeFile(midi, file);
    Buffer title;
    if (ComLoad(title.bytes, Buffer(midi).bytes) != 0)
        fuzzing::Fail("the title probe failed on a readable file: " + title.Text());
    CheckMidiTitle(file, title.Text());

    const std::string rcp = folder + "/song.rcp";
    fuzzing::WriteWholeFile(rcp, file);
    if (ComLoad(title.bytes, Buffer(rcp).bytes) != 0)
        fuzzing::Fail("the title probe failed on a readable RCP file: " + title.Text());
    CheckRcpTitle(file, title.Text());

    CheckHeader(folder, midi, file);

    // Nothing but the two songs and the work file may be left behind.
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "song.mid" && name != "song.rcp" && name != "TEMP.MID")
            fuzzing::Fail("the module left " + name + " behind");
    }
    return 0;
}
