#include "settings/contrast.h"

#include <gtest/gtest.h>

// Catches the threshold off by one, a comparison per channel instead of on the whole
// value, or the sign of colours with the top bit set ignored.
TEST(CaptionColor, WhiteUpToTheThresholdOnTheWholeSignedValue)
{
    EXPECT_EQ(CaptionColor(0x00777777), WhiteCaption);
    EXPECT_EQ(CaptionColor(0x00777778), BlackCaption);
    EXPECT_EQ(CaptionColor(0x00000000), WhiteCaption);
    EXPECT_EQ(CaptionColor(0x000000FF), WhiteCaption) << "pure red";
    EXPECT_EQ(CaptionColor(0x0000FFFF), WhiteCaption) << "yellow";
    EXPECT_EQ(CaptionColor(0x00FF0000), BlackCaption) << "pure blue";
    EXPECT_EQ(CaptionColor(0x00FFFFFF), BlackCaption);
    EXPECT_EQ(CaptionColor(0x80FFFFFF), WhiteCaption) << "negative";
    EXPECT_EQ(CaptionColor(0x01000000), BlackCaption) << "a positive top byte";
}
