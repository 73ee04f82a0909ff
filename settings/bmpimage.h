#pragma once
// Windows BMP file images in memory: the form in which design files carry their skin.
// Decoding checks every size the header claims before the toolkit sees the data, so a
// damaged or hostile file can neither crash the program nor make it allocate gigabytes.

#include <QImage>
#include <cstdint>
#include <stdexcept>
#include <string>

// Raised for data that is not a usable BMP file image; the message says what is wrong.
class EInvalidBitmap : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Bounds on what a bitmap may claim. A skin is 147 x 63; these leave ample room for any
// other picture a user may choose and refuse only absurd claims.
constexpr std::int64_t MaxBitmapSide = 8192;
constexpr std::int64_t MaxBitmapPixels = std::int64_t{4096} * 4096;
// The longest BMP file image accepted: the pixel bound at 32 bits, headers and colour table.
constexpr std::int64_t MaxBitmapFileBytes = MaxBitmapPixels * 4 + 64 * 1024;

// Decodes a complete BMP file image (14-byte file header "BM", information header, colour
// table, pixels). The result is never null. Throws EInvalidBitmap when the data is not a
// BMP image, claims dimensions beyond the bounds above, holds fewer pixel bytes than its
// header needs, or cannot be decoded.
QImage DecodeBmp(const std::string &data);

// Encodes image as a complete BMP file image at its own colour depth (1, 4 or 8 bits with
// a colour table; deeper images as 24-bit, without alpha). Throws std::invalid_argument for
// a null image and std::runtime_error when encoding fails.
std::string EncodeBmp(const QImage &image);
