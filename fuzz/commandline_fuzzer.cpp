// The archiver libraries' command-line reading, in each library's syntax (byte 0 picks
// it), with "@file" items read from response files: the rest of the input is both the
// command line and the response file "list" in the private folder.

#include "fuzzsupport.h"

#include "outside/arcclient/commandline.h"

#include <cstdint>
#include <unistd.h>

namespace {

constexpr arc::CommandStyle styles[] = {arc::CommandStyle::Lha, arc::CommandStyle::Zip,
                                        arc::CommandStyle::Cab, arc::CommandStyle::Tar,
                                        arc::CommandStyle::Rar};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // Relative response file names are found in the private folder.
    static const bool entered = ::chdir(fuzzing::PrivateFolder().c_str()) == 0;
    if (!entered)
        fuzzing::Fail("cannot enter the private folder");

    const arc::CommandStyle style = styles[data[0] % 5];
    const std::string line(reinterpret_cast<const char *>(data + 1), size - 1);
    fuzzing::WriteWholeFile("list", line);

    for (const arc::CommandToken &token : arc::TokenizeCommandLine(line)) {
        if (token.text.find('"') != std::string::npos)
            fuzzing::Fail("a token keeps a double quote");
        if (!token.quoted && token.text.empty())
            fuzzing::Fail("an unquoted empty token");
    }
    std::vector<std::string> items;
    if (!arc::ReadResponseFile("list", items))
        fuzzing::Fail("a readable response file was refused");

    arc::ExtractRequest request;
    std::string error;
    const int code = arc::ParseCommandLine(style, line, request, error);
    if (code == 0 && request.archive.empty())
        fuzzing::Fail("a command line without an archive was accepted");
    if (code != 0 && error.empty())
        fuzzing::Fail("a refused command line has no explanation");
    return 0;
}
