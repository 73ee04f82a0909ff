#include "dialogs/openfilter.h"

#include <gtest/gtest.h>

// Catches pairs read out of step, trailing ";" turning into empty patterns, or patterns
// left joined by ";" (which the toolkit would take as one pattern).
TEST(OpenFilter, PairsBecomeNameFiltersInOrder)
{
    EXPECT_EQ(NameFilters("Support Files|*.mid;*.rmi;*.lzh;|Midi Fles|*.mid;*.rmi;"),
              (QStringList{"Support Files (*.mid *.rmi *.lzh)", "Midi Fles (*.mid *.rmi)"}));
    EXPECT_EQ(NameFilters("Songs (SMF)|*.mid"), QStringList{"Songs (SMF) (*.mid)"});
    EXPECT_EQ(NameFilters("All| *.mid ; ;*.rcp"), QStringList{"All (*.mid *.rcp)"});
}

// Catches a name without patterns becoming a filter that matches nothing, or a crash on
// an empty or odd filter.
TEST(OpenFilter, IncompletePairsAreLeftOut)
{
    EXPECT_TRUE(NameFilters("").isEmpty());
    EXPECT_TRUE(NameFilters("Midi Files").isEmpty());
    EXPECT_EQ(NameFilters("Empty|;|Midi|*.mid|Dangling"), QStringList{"Midi (*.mid)"});
}

// Catches a Shift-JIS filter name shown as mojibake.
TEST(OpenFilter, ShiftJisNamesAreDecoded)
{
    // "曲" in Shift-JIS is 0x8B 0xC8.
    EXPECT_EQ(NameFilters("\x8B\xC8|*.mid"), QStringList{QString::fromUtf8("曲 (*.mid)")});
}
