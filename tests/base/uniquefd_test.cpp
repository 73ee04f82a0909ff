#include "base/uniquefd.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <utility>

namespace {

bool IsOpen(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

// Catches a descriptor closed twice after a move (the second close could hit a file opened
// meanwhile by another thread), or left open by Reset and the destructor.
TEST(UniqueFd, ClosesWhatItOwnsExactlyOnce)
{
    int raw = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(raw, 0);
    {
        base::UniqueFd first(raw);
        base::UniqueFd second(std::move(first));
        EXPECT_FALSE(first.Valid());
        EXPECT_EQ(second.Get(), raw);
        base::UniqueFd third;
        third = std::move(second);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));

    raw = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    base::UniqueFd owner(raw);
    owner.Reset(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    EXPECT_FALSE(IsOpen(raw)) << "Reset closes the old descriptor";
    const int kept = owner.Release();
    EXPECT_TRUE(IsOpen(kept)) << "Release hands it over";
    owner.Reset(kept);
    EXPECT_TRUE(owner.Close());
    EXPECT_FALSE(IsOpen(kept));
    EXPECT_TRUE(owner.Close()) << "nothing left to close";
}

} // namespace
