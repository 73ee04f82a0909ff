#include "designfile.h"

#include "base/uniquefd.h"

#include "app/appstate.h"
#include "app/datafolder.h"
#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char DesignSignature[21] = "Sono Lux Design File";
const char DesignFileExt[5] = ".mbd";

namespace {

constexpr std::size_t SignatureSize = sizeof DesignSignature - 1;
constexpr std::size_t ColorSize = 4;
constexpr std::size_t BitmapFileHeaderSize = 14;

// A design file open for reading from its start.
class TDesignStream
{
public:
    // O_NONBLOCK and the file type check keep a pipe or device named as the design (a
    // skin name in the settings file is a path below the skin folder) from blocking.
    explicit TDesignStream(const std::string &path)
        : path_(path)
        , fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY))
    {
        if (!fd_.Valid())
            throw EDesignReadError("Cannot open design file " + path_ + ": " +
                                   std::strerror(errno));
        struct stat info
        {
        };
        if (::fstat(fd_.Get(), &info) != 0 || !S_ISREG(info.st_mode))
            throw EDesignReadError("Cannot open design file " + path_ + ": it is not a file");
    }

    // count bytes, or fewer when the file ends first.
    std::string Read(std::size_t count)
    {
        std::string bytes(count, '\0');
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::read(fd_.Get(), bytes.data() + done, count - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw EDesignReadError("Cannot read design file " + path_ + ": " +
                                       std::strerror(errno));
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        bytes.resize(done);
        position_ += done;
        return bytes;
    }

    // Exactly count bytes; a file that ends first is a read error.
    std::string ReadExactly(std::size_t count)
    {
        std::string bytes = Read(count);
        if (bytes.size() < count)
            throw EDesignReadError("Cannot read design file " + path_ + ": it ends after " +
                                   std::to_string(position_) + " bytes, before its colours");
        return bytes;
    }

    // Everything up to the end of the file, refused as an invalid bitmap beyond limit bytes.
    std::string ReadRest(std::int64_t limit)
    {
        std::string rest;
        for (;;) {
            const std::string chunk = Read(64 * 1024);
            rest += chunk;
            if (static_cast<std::int64_t>(rest.size()) > limit)
                throw EInvalidBitmap("Invalid bitmap in design file " + path_ +
                                     ": it is larger than any picture accepted");
            if (chunk.empty())
                return rest;
        }
    }

private:
    std::string path_;
    base::UniqueFd fd_;
    std::size_t position_ = 0;
};

TColor DecodeColor(const std::string &bytes)
{
    TColor color = 0;
    for (std::size_t i = 0; i < ColorSize; ++i)
        color |= static_cast<TColor>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return color;
}

std::string EncodeColor(TColor color)
{
    std::string bytes(ColorSize, '\0');
    for (std::size_t i = 0; i < ColorSize; ++i)
        bytes[i] = static_cast<char>((color >> (8 * i)) & 0xFF);
    return bytes;
}

QImage ReadBitmap(TDesignStream &stream, const std::string &path)
{
    const std::string bitmap = stream.ReadRest(MaxBitmapFileBytes);
    if (bitmap.empty())
        return QImage();
    if (bitmap.size() < BitmapFileHeaderSize)
        throw EDesignReadError("Cannot read design file " + path + ": its bitmap part is only " +
                               std::to_string(bitmap.size()) +
                               " bytes, shorter than a bitmap file header");
    try {
        return DecodeBmp(bitmap);
    } catch (const EInvalidBitmap &error) {
        throw EInvalidBitmap("Invalid bitmap in design file " + path + ": " + error.what());
    }
}

} // namespace

void TProgramDesignTarget::SetColor(TDesignColor which, TColor color)
{
    switch (which) {
    case dcBack:
        BackColor = color;
        break;
    case dcActive:
        ActiveColor = color;
        break;
    case dcNoActive:
        NoActiveColor = color;
        break;
    }
}

void TProgramDesignTarget::SetBitmap(const QImage &bitmap)
{
    SkinBitmap = bitmap;
}

void ReadDesign(const std::string &path, TDesignTarget &target)
{
    TDesignStream stream(path);
    if (stream.ReadExactly(SignatureSize) != std::string(DesignSignature, SignatureSize))
        return;
    for (const TDesignColor which : {dcBack, dcActive, dcNoActive})
        target.SetColor(which, DecodeColor(stream.ReadExactly(ColorSize)));
    target.SetBitmap(ReadBitmap(stream, path));
}

void ReadDesignFile(const std::string &path)
{
    TProgramDesignTarget program;
    ReadDesign(path, program);
}

void WriteDesignFile(const std::string &path, TColor back, TColor active, TColor noActive,
                     const QImage &picture)
{
    std::string data(DesignSignature, SignatureSize);
    data += EncodeColor(back);
    data += EncodeColor(active);
    data += EncodeColor(noActive);
    if (!picture.isNull()) {
        try {
            data += EncodeBmp(picture);
        } catch (const std::runtime_error &error) {
            throw std::runtime_error("Cannot write design file " + path + ": " + error.what());
        }
    }
    platform::WriteFileAtomic(path, data);
}

std::string UserSkinFolder()
{
    return DataFolder + SkinSubfolder;
}

std::string DesignFilePath(const std::string &name)
{
    return FindDataFile(SkinSubfolder, name);
}

std::string DesignSavePath(const std::string &answer)
{
    if (answer.empty())
        throw EDesignNameError("No name was given for the design file.");
    if (answer.find('/') != std::string::npos)
        throw EDesignNameError("The design name \"" + answer +
                               "\" contains \"/\". Design files are saved in the skin folder; "
                               "enter a name without a folder.");
    if (answer.find('\0') != std::string::npos)
        throw EDesignNameError("The design name contains a NUL character.");
    return UserSkinFolder() + platform::ChangeFileExt(answer, DesignFileExt);
}
