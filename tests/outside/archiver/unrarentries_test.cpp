// The RAR engine's C entries when the work inside them throws: this program replaces the
// allocation functions, which the engine's library uses too, so that an allocation can be
// made to fail on demand.
#include "archivebuilders.h"
#include "outside/include/archiver_api.h"
#include "outside/include/unrar_engine.h"
#include "platform/dynlib.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

namespace {

std::atomic<bool> failNextAllocation{false};

void *Allocate(std::size_t size)
{
    if (failNextAllocation.exchange(false))
        throw std::bad_alloc();
    if (void *memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

} // namespace

void *operator new(std::size_t size)
{
    return Allocate(size);
}

void *operator new[](std::size_t size)
{
    return Allocate(size);
}

void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    try {
        return Allocate(size);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

void *operator new[](std::size_t size, const std::nothrow_t &tag) noexcept
{
    return operator new(size, tag);
}

void operator delete(void *memory) noexcept
{
    std::free(memory);
}

void operator delete[](void *memory) noexcept
{
    std::free(memory);
}

void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void *memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete(void *memory, const std::nothrow_t &) noexcept
{
    std::free(memory);
}

void operator delete[](void *memory, const std::nothrow_t &) noexcept
{
    std::free(memory);
}

namespace {

class UnrarEntries : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::SetLibrarySearchFolder(SONOLUX_DIST_DIR);
        engine_ = platform::DynamicLibrary::Load("libunrar.so");
        ASSERT_TRUE(engine_.IsLoaded()) << platform::DynamicLibrary::LastError();
        open_ = engine_.Entry<UNRAR_ENGINE_OPEN>("UnrarEngineOpen");
        next_ = engine_.Entry<UNRAR_ENGINE_NEXT>("UnrarEngineNext");
        read_ = engine_.Entry<UNRAR_ENGINE_READ>("UnrarEngineRead");
        close_ = engine_.Entry<UNRAR_ENGINE_CLOSE>("UnrarEngineClose");
        ASSERT_TRUE(open_ && next_ && read_ && close_);
    }

    testing_support::TempFolder folder_;
    platform::DynamicLibrary engine_;
    UNRAR_ENGINE_OPEN open_ = nullptr;
    UNRAR_ENGINE_NEXT next_ = nullptr;
    UNRAR_ENGINE_READ read_ = nullptr;
    UNRAR_ENGINE_CLOSE close_ = nullptr;
};

// Catches an exception escaping an entry into its C caller (the helper would terminate
// instead of reporting the archive as unreadable).
TEST_F(UnrarEntries, MemoryRunningOutInsideAnEntryAnswersACode)
{
    // A path too long for a string's own buffer: the entry's first step allocates.
    const std::string path = folder_ / (std::string(80, 'n') + ".rar");
    UNRAR_ENGINE *engine = nullptr;
    char message[64] = "";
    failNextAllocation = true;
    EXPECT_EQ(open_(path.c_str(), &engine, message, sizeof message), ERROR_MORE_HEAP_MEMORY);
    EXPECT_EQ(engine, nullptr);
    failNextAllocation = false;

    const std::string rar = folder_.Write(
        "songs.rar", archiver_testing::BuildRar4({{std::string(40, 'a') + ".mid", "MThd"}}));
    ASSERT_EQ(open_(rar.c_str(), &engine, message, sizeof message), 0) << message;
    UNRAR_MEMBER member{};
    failNextAllocation = true;
    EXPECT_EQ(next_(engine, &member), ERROR_MORE_HEAP_MEMORY);
    failNextAllocation = false;
    close_(engine);
}

} // namespace
