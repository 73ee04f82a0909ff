#include "skinpicture.h"

#include "bmpimage.h"
#include "platform/files.h"
#include "platform/mbcs.h"

#include <sys/stat.h>

const char SkinPictureExt[5] = ".bmp";

namespace {

// The size of the file at path, or -1 when it cannot be examined (the read then reports).
std::int64_t FileSize(const std::string &path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0)
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}

} // namespace

QImage LoadSkinPicture(const std::string &path)
{
    const std::string ext = platform::ExtractFileExt(path);
    if (!platform::SameTextAscii(ext, SkinPictureExt))
        throw EInvalidBitmap("Cannot load the picture " + path +
                             ": only BMP pictures (\".bmp\") can be a skin.");
    if (FileSize(path) > MaxBitmapFileBytes)
        throw EInvalidBitmap("Cannot load the picture " + path +
                             ": it is larger than any picture accepted.");
    const std::string data = platform::ReadFile(path);
    try {
        return DecodeBmp(data);
    } catch (const EInvalidBitmap &error) {
        throw EInvalidBitmap("Invalid bitmap " + path + ": " + error.what());
    }
}
