#include "base/trimstring.h"

#include <gtest/gtest.h>

namespace {

// Catches a trim that stops one byte short, runs past the other end when everything is
// padding, or reads a high byte as padding through sign extension.
TEST(Trim, TakesPaddingOffBothEndsOnly)
{
    EXPECT_EQ(base::Trim(" \t a b \t ", base::IsSpaceOrTab), "a b");
    EXPECT_EQ(base::Trim("\r\n song \n", base::IsSpaceOrLineBreak), "song");
    EXPECT_EQ(base::Trim(" \t ", base::IsSpaceOrTab), "");
    EXPECT_EQ(base::Trim("", base::IsSpaceOrTab), "");
    EXPECT_EQ(base::Trim("\x01 \x82\xA0 \x1F", base::IsBlankOrControl), "\x82\xA0");
    EXPECT_EQ(base::TrimEnd("  keep \n", base::IsSpaceOrLineBreak), "  keep");

    const unsigned char field[] = {' ', 0x00, 'T', 0xFF, ' ', 0x7F};
    const base::ByteRange range = base::Trimmed(field, sizeof field, base::IsBlankOrControl);
    EXPECT_EQ(range.begin, 2u);
    EXPECT_EQ(range.end, 6u) << "DEL and 0xFF are no padding";
}

} // namespace
