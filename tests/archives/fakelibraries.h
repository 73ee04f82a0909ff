#pragma once
// A temporary program folder for the archive layer's tests: fake archiver libraries are
// placed in it under the file names the back-ends load, and removed again. While the object
// lives it is the folder libraries are searched in first; when it goes, every archiver
// library is unloaded, so the next test starts with nothing loaded.

#include "archives/archiveroptions.h"
#include "outside/include/archiver_api.h"
#include "support/tempfolder.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace archives_test {

class FakeLibraryFolder
{
public:
    FakeLibraryFolder();
    ~FakeLibraryFolder();
    FakeLibraryFolder(const FakeLibraryFolder &) = delete;
    FakeLibraryFolder &operator=(const FakeLibraryFolder &) = delete;

    const testing_support::TempFolder &Folder() const { return folder_; }

    // Copies the fake built as "fake" (default: dllName lower-cased without ".dll") to the
    // file dllName stands for ("UNLHA32.DLL" -> libunlha32.so).
    void Place(const std::string &dllName, const std::string &fake = std::string()) const;
    void Remove(const std::string &dllName) const;
    // Whether the process has the library of dllName from this folder loaded.
    bool IsLoaded(const std::string &dllName) const;
    // The loaded fake's record of calls, one line each (empty when it is not loaded).
    std::string Calls(const std::string &dllName) const;
    // The command line of the loaded fake's last command call.
    std::string LastCommandLine(const std::string &dllName) const;

private:
    std::string LibraryPath(const std::string &dllName) const;
    void *Loaded(const std::string &dllName) const;

    testing_support::TempFolder folder_;
};

// A window that records the messages sent to it and answers them with 0.
class RecordingWindow
{
public:
    RecordingWindow();
    HWND Handle() { return &window_; }
    const std::vector<std::uint32_t> &Messages() const { return messages_; }

private:
    static std::intptr_t Proc(ARC_WINDOW *window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam);

    ARC_WINDOW window_;
    std::vector<std::uint32_t> messages_;
};

// The five member masks and the options the player extracts with (e 1, n 1, x 0).
const archives::TStringList &PlayerMasks();
archives::TArchiverOptions PlayerOptions();

// Base of the tests that use fake libraries.
class FakeLibraryTest : public ::testing::Test
{
protected:
    FakeLibraryFolder libs;
};

} // namespace archives_test
