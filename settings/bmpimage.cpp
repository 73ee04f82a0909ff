#include "bmpimage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <array>

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t CoreHeaderSize = 12; // the old OS/2 header with 16-bit dimensions

enum TBmpCompression : std::uint32_t { bcRgb = 0, bcRle8 = 1, bcRle4 = 2, bcBitFields = 3 };

std::uint32_t ReadU16(const std::string &data, std::size_t offset)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(data[offset])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(data[offset + 1])) << 8;
}

std::uint32_t ReadU32(const std::string &data, std::size_t offset)
{
    return ReadU16(data, offset) | ReadU16(data, offset + 2) << 16;
}

std::int64_t ReadI32(const std::string &data, std::size_t offset)
{
    return static_cast<std::int32_t>(ReadU32(data, offset));
}

struct BmpHeader
{
    std::int64_t pixelOffset = 0;
    std::int64_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative for rows stored top-down
    std::uint32_t bitCount = 0;
    std::uint32_t compression = bcRgb;
};

bool KnownInfoHeaderSize(std::uint32_t size)
{
    static constexpr std::array<std::uint32_t, 7> sizes = {12, 40, 52, 56, 64, 108, 124};
    for (const std::uint32_t known : sizes) {
        if (size == known)
            return true;
    }
    return false;
}

BmpHeader ParseHeader(const std::string &data)
{
    if (data.size() < FileHeaderSize)
        throw EInvalidBitmap("it is shorter than a bitmap file header");
    if (data[0] != 'B' || data[1] != 'M')
        throw EInvalidBitmap("it does not begin with \"BM\"");
    if (data.size() < FileHeaderSize + 4)
        throw EInvalidBitmap("it ends inside the bitmap information header");

    BmpHeader header;
    header.pixelOffset = ReadU32(data, 10);
    const std::uint32_t headerSize = ReadU32(data, FileHeaderSize);
    if (!KnownInfoHeaderSize(headerSize))
        throw EInvalidBitmap("its information header has the unknown size " +
                             std::to_string(headerSize));
    header.headerSize = headerSize;
    if (data.size() < FileHeaderSize + headerSize)
        throw EInvalidBitmap("it ends inside the bitmap information header");

    const std::size_t info = FileHeaderSize;
    if (headerSize == CoreHeaderSize) {
        header.width = ReadU16(data, info + 4);
        header.height = ReadU16(data, info + 6);
        header.bitCount = ReadU16(data, info + 10);
    } else {
        header.width = ReadI32(data, info + 4);
        header.height = ReadI32(data, info + 8);
        header.bitCount = ReadU16(data, info + 14);
        header.compression = ReadU32(data, info + 16);
    }
    return header;
}

void CheckDimensions(const BmpHeader &header)
{
    const std::int64_t rows = header.height < 0 ? -header.height : header.height;
    if (header.width <= 0 || rows == 0)
        throw EInvalidBitmap("it claims the size " + std::to_string(header.width) + " x " +
                             std::to_string(header.height));
    if (header.width > MaxBitmapSide || rows > MaxBitmapSide ||
        header.width * rows > MaxBitmapPixels)
        throw EInvalidBitmap("it claims the size " + std::to_string(header.width) + " x " +
                             std::to_string(rows) + ", larger than any picture accepted");
}

void CheckFormat(const BmpHeader &header)
{
    const std::uint32_t bits = header.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw EInvalidBitmap("it has the unsupported colour depth " + std::to_string(bits));
    const std::uint32_t c = header.compression;
    const bool supported = c == bcRgb || (c == bcRle8 && bits == 8) || (c == bcRle4 && bits == 4) ||
                           (c == bcBitFields && (bits == 16 || bits == 32));
    if (!supported)
        throw EInvalidBitmap("it uses the unsupported compression " + std::to_string(c) + " at " +
                             std::to_string(bits) + " bits per pixel");
}

void CheckPixelData(const BmpHeader &header, std::size_t size)
{
    const auto total = static_cast<std::int64_t>(size);
    if (header.pixelOffset < static_cast<std::int64_t>(FileHeaderSize) + header.headerSize ||
        header.pixelOffset > total)
        throw EInvalidBitmap("its pixel data offset " + std::to_string(header.pixelOffset) +
                             " lies outside the image");
    // Compressed rows have no fixed length; uncompressed ones must all be present.
    if (header.compression == bcRle8 || header.compression == bcRle4)
        return;
    const std::int64_t stride = (header.width * header.bitCount + 31) / 32 * 4;
    const std::int64_t rows = header.height < 0 ? -header.height : header.height;
    if (stride * rows > total - header.pixelOffset)
        throw EInvalidBitmap("its pixel data is truncated");
}

} // namespace

QImage DecodeBmp(const std::string &data)
{
    if (static_cast<std::int64_t>(data.size()) > MaxBitmapFileBytes)
        throw EInvalidBitmap("it is larger than any picture accepted");
    const BmpHeader header = ParseHeader(data);
    CheckDimensions(header);
    CheckFormat(header);
    CheckPixelData(header, data.size());

    // The decoder copies the pixels into the image, so borrowing data here is safe.
    QImage image = QImage::fromData(
        QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())), "BMP");
    if (image.isNull())
        throw EInvalidBitmap("its pixel data cannot be decoded");
    return image;
}

std::string EncodeBmp(const QImage &image)
{
    if (image.isNull())
        throw std::invalid_argument("An empty picture has no bitmap image");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(image))
        throw std::runtime_error("Cannot encode the picture as a bitmap: " +
                                 writer.errorString().toStdString());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
