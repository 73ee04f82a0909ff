#include "fakelibraries.h"

#include "archives/archiverfactory.h"
#include "platform/dynlib.h"
#include "platform/mbcs.h"

#include <dlfcn.h>
#include <filesystem>

namespace archives_test {
namespace {

const std::string fakeFolder = SONOLUX_TEST_BINARY_DIR "/archives/fakes/";

} // namespace

FakeLibraryFolder::FakeLibraryFolder()
{
    platform::SetLibrarySearchFolder(folder_.Path());
}

FakeLibraryFolder::~FakeLibraryFolder()
{
    archives::FreeArchiverDLLs();
    platform::SetLibrarySearchFolder("");
}

std::string FakeLibraryFolder::LibraryPath(const std::string &dllName) const
{
    return folder_ / platform::MapLibraryName(dllName);
}

void FakeLibraryFolder::Place(const std::string &dllName, const std::string &fake) const
{
    std::string name = fake;
    if (name.empty()) {
        name = platform::AsciiLowerCase(dllName);
        name.resize(name.size() - 4);
    }
    std::filesystem::copy_file(fakeFolder + "libfake_" + name + ".so", LibraryPath(dllName),
                               std::filesystem::copy_options::overwrite_existing);
}

void FakeLibraryFolder::Remove(const std::string &dllName) const
{
    std::filesystem::remove(LibraryPath(dllName));
}

void *FakeLibraryFolder::Loaded(const std::string &dllName) const
{
    return ::dlopen(LibraryPath(dllName).c_str(), RTLD_LAZY | RTLD_NOLOAD);
}

bool FakeLibraryFolder::IsLoaded(const std::string &dllName) const
{
    void *handle = Loaded(dllName);
    if (handle != nullptr)
        ::dlclose(handle);
    return handle != nullptr;
}

std::string FakeLibraryFolder::Calls(const std::string &dllName) const
{
    void *handle = Loaded(dllName);
    if (handle == nullptr)
        return std::string();
    const auto calls = reinterpret_cast<const char *(*)()>(::dlsym(handle, "FakeCalls"));
    const std::string text = calls != nullptr ? calls() : "";
    ::dlclose(handle);
    return text;
}

std::string FakeLibraryFolder::LastCommandLine(const std::string &dllName) const
{
    void *handle = Loaded(dllName);
    if (handle == nullptr)
        return std::string();
    const auto line = reinterpret_cast<const char *(*)()>(::dlsym(handle, "FakeLastCommandLine"));
    const std::string text = line != nullptr ? line() : "";
    ::dlclose(handle);
    return text;
}

RecordingWindow::RecordingWindow()
    : window_{&RecordingWindow::Proc, this}
{
}

std::intptr_t RecordingWindow::Proc(ARC_WINDOW *window, std::uint32_t message, std::uintptr_t,
                                    std::intptr_t)
{
    static_cast<RecordingWindow *>(window->context)->messages_.push_back(message);
    return 0;
}

const archives::TStringList &PlayerMasks()
{
    static const archives::TStringList masks{"*.mid", "*.rmi", "*.rcp", "*.r36", "*.g36"};
    return masks;
}

archives::TArchiverOptions PlayerOptions()
{
    archives::TArchiverOptions options;
    options.e = 1;
    options.n = 1;
    options.x = 0;
    return options;
}

} // namespace archives_test
