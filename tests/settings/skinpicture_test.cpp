#include "settings/skinpicture.h"

#include "settings/bmpimage.h"
#include "support/tempfolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Expects loading path to fail with Error naming the file.
template<typename Error>
void ExpectLoadFailure(const std::string &path)
{
    try {
        LoadSkinPicture(path);
        ADD_FAILURE() << "no error for " << path;
    } catch (const Error &error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    } catch (const std::exception &error) {
        ADD_FAILURE() << "wrong error for " << path << ": " << error.what();
    }
}

} // namespace

// Catches a BMP refused for the letter case of its name, or its pixels altered.
TEST(SkinPicture, LoadsBmpFilesWhateverTheCaseOfTheExtension)
{
    testing_support::TempFolder folder;
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(4, 2, qRgb(200, 100, 0));
    for (const char *name : {"a.bmp", "B.BMP", "c.Bmp"}) {
        const QImage loaded = LoadSkinPicture(folder.Write(name, EncodeBmp(image)));
        ASSERT_EQ(loaded.size(), image.size()) << name;
        EXPECT_EQ(loaded.pixel(4, 2), image.pixel(4, 2)) << name;
    }
}

// Catches other picture kinds, damaged or missing files, or huge files being read into
// memory instead of refused with the file named.
TEST(SkinPicture, RefusesWhatIsNotAUsableBmpWithTheFileNamed)
{
    testing_support::TempFolder folder;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    ExpectLoadFailure<EInvalidBitmap>(folder.Write("skin.png", EncodeBmp(image)));
    ExpectLoadFailure<EInvalidBitmap>(folder.Write("noext", EncodeBmp(image)));
    ExpectLoadFailure<EInvalidBitmap>(folder.Write("junk.bmp", "BM and nothing more"));
    ExpectLoadFailure<EInvalidBitmap>(folder.Write("empty.bmp", ""));
    ExpectLoadFailure<std::runtime_error>(folder / "missing.bmp");

    // Larger than any accepted bitmap: refused by its size (a sparse file, never read).
    const std::string huge = folder / "huge.bmp";
    std::ofstream(huge).close();
    ASSERT_EQ(::truncate(huge.c_str(), MaxBitmapFileBytes + 1), 0);
    ExpectLoadFailure<EInvalidBitmap>(huge);
}
