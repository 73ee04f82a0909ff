#include "platform/textcodec.h"

#include "platform/mbcs.h"

#include <gtest/gtest.h>

using namespace platform;

// Catches Shift-JIS titles shown as mojibake, or UTF-8 titles decoded as Shift-JIS.
TEST(TextCodec, DecodesUtf8ElseShiftJis)
{
    EXPECT_EQ(DecodeText("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"), QString::fromUtf8("テスト"));
    EXPECT_EQ(DecodeText("\x83\x65\x83\x58\x83\x67"), QString::fromUtf8("テスト"));
    EXPECT_EQ(DecodeText("\x87\x40"), QString::fromUtf8("①")) << "a CP932 extension character";
    EXPECT_EQ(DecodeText("plain"), QStringLiteral("plain"));
}

// Catches overlong forms and surrogates being accepted as UTF-8.
TEST(TextCodec, Utf8ValidationIsStrict)
{
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x8E\xB5"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xE3\x83"));
}

// Catches text encoded in UTF-8 while the process code page is Shift-JIS.
TEST(TextCodec, EncodesInTheProcessCodePage)
{
    EXPECT_EQ(EncodeText(QString::fromUtf8("曲")), "\xE6\x9B\xB2");
    SetCodePage(cpShiftJis);
    EXPECT_EQ(EncodeText(QString::fromUtf8("曲")), "\x8B\xC8");
    SetCodePage(cpUtf8);
}
