#include "settings/bmpimage.h"

#include <gtest/gtest.h>
#include <random>

namespace {

void PutU16(std::string &data, std::size_t offset, std::uint32_t value)
{
    data[offset] = static_cast<char>(value & 0xFF);
    data[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string &data, std::size_t offset, std::uint32_t value)
{
    PutU16(data, offset, value & 0xFFFF);
    PutU16(data, offset + 2, value >> 16);
}

// A 24-bit BMP with a 40-byte information header, every pixel byte set to fill.
std::string Bmp24(std::int32_t width, std::int32_t height, char fill = '\x40')
{
    const std::size_t stride = (static_cast<std::size_t>(width) * 24 + 31) / 32 * 4;
    const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
    std::string data(54, '\0');
    data[0] = 'B';
    data[1] = 'M';
    PutU32(data, 2, static_cast<std::uint32_t>(54 + stride * rows));
    PutU32(data, 10, 54);
    PutU32(data, 14, 40);
    PutU32(data, 18, static_cast<std::uint32_t>(width));
    PutU32(data, 22, static_cast<std::uint32_t>(height));
    PutU16(data, 26, 1);
    PutU16(data, 28, 24);
    data.append(stride * rows, fill);
    return data;
}

QImage Pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    }
    return image;
}

} // namespace

// Catches header fields taken at face value: absurd sizes, unknown layouts, missing pixels.
TEST(BmpDecode, RefusesHeadersThatLieOrAreUnsupported)
{
    const std::string good = Bmp24(4, 3);
    ASSERT_NO_THROW(DecodeBmp(good));

    auto with = [&](std::size_t offset, std::uint32_t value, bool wide = true) {
        std::string data = good;
        if (wide)
            PutU32(data, offset, value);
        else
            PutU16(data, offset, value);
        return data;
    };
    EXPECT_THROW(DecodeBmp("BA" + good.substr(2)), EInvalidBitmap);
    EXPECT_THROW(DecodeBmp(good.substr(0, 16)), EInvalidBitmap);
    EXPECT_THROW(DecodeBmp(with(14, 41)), EInvalidBitmap); // header size
    EXPECT_THROW(DecodeBmp(with(18, 0)), EInvalidBitmap);  // width 0
    EXPECT_THROW(DecodeBmp(with(18, static_cast<std::uint32_t>(-4))), EInvalidBitmap);
    EXPECT_THROW(DecodeBmp(with(22, 0)), EInvalidBitmap);           // height 0
    EXPECT_THROW(DecodeBmp(with(22, 0x80000000u)), EInvalidBitmap); // height INT_MIN
    EXPECT_THROW(DecodeBmp(with(18, 100000)), EInvalidBitmap);      // too wide
    EXPECT_THROW(DecodeBmp(with(28, 7, false)), EInvalidBitmap);    // depth
    EXPECT_THROW(DecodeBmp(with(30, 1)), EInvalidBitmap);           // RLE8 at 24 bits
    EXPECT_THROW(DecodeBmp(with(30, 4)), EInvalidBitmap);           // embedded JPEG
    EXPECT_THROW(DecodeBmp(with(10, 20)), EInvalidBitmap);          // pixels in header
    EXPECT_THROW(DecodeBmp(with(10, 100000)), EInvalidBitmap);      // pixels past end

    // Each side within bounds, but together far too many pixels to allocate.
    std::string huge = Bmp24(1, 1);
    PutU32(huge, 18, 8000);
    PutU32(huge, 22, 8000);
    EXPECT_THROW(DecodeBmp(huge), EInvalidBitmap);
}

// Catches a cut-off file being shown with black rows instead of being refused.
TEST(BmpDecode, EveryTruncationIsRefused)
{
    const std::string whole = EncodeBmp(Pattern(147, 63));
    ASSERT_NO_THROW(DecodeBmp(whole));
    for (std::size_t length = 0; length < whole.size(); ++length)
        ASSERT_THROW(DecodeBmp(whole.substr(0, length)), EInvalidBitmap) << "length " << length;
}

// Catches crashes or runaway allocations on damaged headers and compressed data.
TEST(BmpDecode, DamagedDataNeverCrashes)
{
    std::mt19937 random(20240607);
    const std::string whole = EncodeBmp(Pattern(21, 9));
    std::string rle = Bmp24(16, 16);
    PutU16(rle, 28, 8);
    PutU32(rle, 30, 1);
    PutU32(rle, 46, 0);
    for (int round = 0; round < 3000; ++round) {
        std::string data = round % 2 == 0 ? whole : rle;
        const int flips = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < flips; ++i) {
            const std::size_t at = round % 2 == 0 ? random() % 60 : 54 + random() % 200;
            data[at] = static_cast<char>(random() & 0xFF);
        }
        try {
            const QImage image = DecodeBmp(data);
            EXPECT_FALSE(image.isNull());
            EXPECT_LE(static_cast<std::int64_t>(image.width()) * image.height(), MaxBitmapPixels);
        } catch (const EInvalidBitmap &) {
        }
    }
}

// Catches rows read in the wrong order: BMP rows run bottom-up unless the height is negative.
TEST(BmpDecode, RowOrderFollowsTheSignOfTheHeight)
{
    const std::string redThenBlue("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
    const std::string topDown = Bmp24(1, -2).substr(0, 54) + redThenBlue;
    const std::string bottomUp = Bmp24(1, 2).substr(0, 54) + redThenBlue;

    const QImage down = DecodeBmp(topDown);
    ASSERT_EQ(down.size(), QSize(1, 2));
    EXPECT_EQ(down.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(down.pixel(0, 1), qRgb(0, 0, 255));
    const QImage up = DecodeBmp(bottomUp);
    ASSERT_EQ(up.size(), QSize(1, 2));
    EXPECT_EQ(up.pixel(0, 0), qRgb(0, 0, 255));
}

// Catches a palette picture being widened or its colours changed on the way to a file.
TEST(BmpEncode, KeepsColourDepthAndPixels)
{
    QImage indexed(30, 7, QImage::Format_Indexed8);
    indexed.setColorCount(3);
    indexed.setColor(0, qRgb(10, 20, 30));
    indexed.setColor(1, qRgb(200, 100, 50));
    indexed.setColor(2, qRgb(0, 255, 0));
    for (int y = 0; y < indexed.height(); ++y) {
        for (int x = 0; x < indexed.width(); ++x)
            indexed.setPixel(x, y, static_cast<uint>((x + y) % 3));
    }
    const std::string data = EncodeBmp(indexed);
    const int bitsPerPixel = static_cast<unsigned char>(data[28]);
    EXPECT_LE(bitsPerPixel, 8);
    const QImage back = DecodeBmp(data);
    ASSERT_EQ(back.size(), indexed.size());
    for (int y = 0; y < back.height(); ++y) {
        for (int x = 0; x < back.width(); ++x)
            ASSERT_EQ(back.pixel(x, y), indexed.pixel(x, y)) << x << "," << y;
    }
    EXPECT_THROW(EncodeBmp(QImage()), std::invalid_argument);
}
