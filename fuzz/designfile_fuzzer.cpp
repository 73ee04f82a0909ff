// The design file reader on any file, and the bitmap decoder on any bytes: each either
// gives colours and a picture within the accepted bounds or refuses with its error.

#include "fuzzsupport.h"

#include "settings/designfile.h"

#include <cstdint>

namespace {

class RecordingTarget final : public TDesignTarget
{
public:
    void SetColor(TDesignColor, TColor) override { ++colors; }
    void SetBitmap(const QImage &picture) override
    {
        bitmaps++;
        bitmap = picture;
    }

    int colors = 0;
    int bitmaps = 0;
    QImage bitmap;
};

void CheckBounds(const QImage &picture)
{
    if (picture.isNull())
        return;
    if (picture.width() > MaxBitmapSide || picture.height() > MaxBitmapSide ||
        std::int64_t{picture.width()} * picture.height() > MaxBitmapPixels)
        fuzzing::Fail("a picture beyond the accepted bounds was decoded");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        const QImage picture = DecodeBmp(std::string(reinterpret_cast<const char *>(data), size));
        if (picture.isNull())
            fuzzing::Fail("DecodeBmp gave a null picture");
        CheckBounds(picture);
    } catch (const EInvalidBitmap &) {
    }

    const std::string path = fuzzing::PrivateFolder() + "/design.mbd";
    fuzzing::WriteWholeFile(path, data, size);
    RecordingTarget target;
    try {
        ReadDesign(path, target);
        if (target.bitmaps != (target.colors == 3 ? 1 : 0))
            fuzzing::Fail("the picture was handed over without all three colours");
        CheckBounds(target.bitmap);
    } catch (const EDesignReadError &) {
    } catch (const EInvalidBitmap &) {
    }
    return 0;
}
