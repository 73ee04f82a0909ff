#include "settings/designfile.h"

#include "app/appstate.h"
#include "platform/files.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using Scratch = testing_support::TempFolder;

namespace {

// Records what a reader hands over, in order.
class RecordingTarget : public TDesignTarget
{
public:
    void SetColor(TDesignColor which, TColor color) override
    {
        calls.push_back("color" + std::to_string(which));
        colors[which] = color;
    }
    void SetBitmap(const QImage &image) override
    {
        calls.push_back("bitmap");
        bitmap = image;
    }

    std::vector<std::string> calls;
    TColor colors[3] = {0, 0, 0};
    QImage bitmap;
};

std::string Le32(TColor value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

const std::string Signature = "Sono Lux Design File";
const std::string Colors = Le32(0x00112233) + Le32(0x00445566) + Le32(0x00778899);

QImage Pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 5 % 256, y * 11 % 256, (x * y) % 256));
    }
    return image;
}

bool SamePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
        }
    }
    return true;
}

const std::vector<std::string> ThreeColors = {"color0", "color1", "color2"};

// Reads contents as a design file and expects Error naming the file, after exactly calls.
template<typename Error>
void ExpectReadFailure(const Scratch &dir, const std::string &contents,
                       const std::vector<std::string> &calls)
{
    const std::string path = dir.Write("damaged.mbd", contents);
    RecordingTarget target;
    try {
        ReadDesign(path, target);
        ADD_FAILURE() << "no error for " << contents.size() << " bytes";
    } catch (const Error &error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    } catch (const std::exception &error) {
        ADD_FAILURE() << "wrong error for " << contents.size() << " bytes: " << error.what();
    }
    EXPECT_EQ(target.calls, calls) << contents.size() << " bytes";
}

} // namespace

// Catches colours or pixels lost, reordered or byte-swapped between writer and reader.
TEST(DesignFile, WrittenDesignReadsBackUnchanged)
{
    Scratch dir;
    const QImage skin = Pattern(SkinWidth, SkinHeight);
    WriteDesignFile(dir / "a.mbd", 0x00C0FFEE, 0x01020304, 0x00000000, skin);

    RecordingTarget target;
    ReadDesign(dir / "a.mbd", target);
    EXPECT_EQ(target.calls, (std::vector<std::string>{"color0", "color1", "color2", "bitmap"}));
    EXPECT_EQ(target.colors[dcBack], 0x00C0FFEEu);
    EXPECT_EQ(target.colors[dcActive], 0x01020304u) << "a non-zero top byte is kept";
    EXPECT_EQ(target.colors[dcNoActive], 0u);
    EXPECT_TRUE(SamePixels(target.bitmap, skin));

    // A skin of another size is stored and read without complaint.
    const QImage odd = Pattern(10, 5);
    WriteDesignFile(dir / "odd.mbd", 1, 2, 3, odd);
    RecordingTarget oddTarget;
    ReadDesign(dir / "odd.mbd", oddTarget);
    EXPECT_TRUE(SamePixels(oddTarget.bitmap, odd));
}

// Catches a wrong byte layout: the signature, then colours little-endian in their order.
TEST(DesignFile, LayoutIsByteExactAndEmptyPictureWritesNothing)
{
    Scratch dir;
    WriteDesignFile(dir / "plain.mbd", 0x00112233, 0x00445566, 0x00778899, QImage());
    EXPECT_EQ(platform::ReadFile(dir / "plain.mbd"), Signature + Colors);

    WriteDesignFile(dir / "skin.mbd", 0x00112233, 0x00445566, 0x00778899, Pattern(3, 2));
    const std::string data = platform::ReadFile(dir / "skin.mbd");
    ASSERT_GT(data.size(), 34u);
    EXPECT_EQ(data.substr(0, 34), Signature + Colors + "BM");
}

// Catches a replaced design keeping the tail of a longer old file, or a failed save
// creating a file.
TEST(DesignFile, WritingReplacesWholeFilesOrNothing)
{
    Scratch dir;
    const std::string path = dir / "night.mbd";
    WriteDesignFile(path, 1, 2, 3, Pattern(SkinWidth, SkinHeight));
    WriteDesignFile(path, 4, 5, 6, QImage());
    EXPECT_EQ(platform::ReadFile(path).size(), 32u);
    EXPECT_EQ(platform::ListFolder(dir.Path()).size(), 1u) << "no temporary file is left";

    const std::string missingFolder = dir / "no-such-folder/x.mbd";
    EXPECT_THROW(WriteDesignFile(missingFolder, 1, 2, 3, QImage()), std::runtime_error);
    EXPECT_FALSE(platform::FileExists(missingFolder));
}

// Catches a look-alike file being taken for a design or reported as an error.
TEST(DesignFile, ForeignSignatureChangesNothingSilently)
{
    Scratch dir;
    for (const std::string &head :
         {std::string("sono lux design file"), std::string("SONO LUX DESIGN FILE"),
          std::string("Sono Lux Design Fil\0", 20)}) {
        const std::string path = dir.Write("foreign.mbd", head + Colors + "BM");
        RecordingTarget target;
        EXPECT_NO_THROW(ReadDesign(path, target));
        EXPECT_TRUE(target.calls.empty()) << head;
    }
}

// Catches a design with no bitmap being refused, or the old skin surviving it.
TEST(DesignFile, ExactlyThirtyTwoBytesGivesColoursAndAnEmptySkin)
{
    Scratch dir;
    const std::string path = dir.Write("bare.mbd", Signature + Colors);
    RecordingTarget target;
    target.bitmap = Pattern(2, 2);
    ReadDesign(path, target);
    EXPECT_EQ(target.calls, (std::vector<std::string>{"color0", "color1", "color2", "bitmap"}));
    EXPECT_EQ(target.colors[dcNoActive], 0x00778899u);
    EXPECT_TRUE(target.bitmap.isNull());
}

// Catches short or damaged files being accepted, crashing, or undoing colours already read.
TEST(DesignFile, DamagedFilesFailWithTheFileNamedAndColoursReadStayApplied)
{
    Scratch dir;
    ExpectReadFailure<EDesignReadError>(dir, "", {});
    ExpectReadFailure<EDesignReadError>(dir, Signature.substr(0, 10), {});
    ExpectReadFailure<EDesignReadError>(dir, Signature + Colors.substr(0, 6), {"color0"});
    ExpectReadFailure<EDesignReadError>(dir, Signature + Colors.substr(0, 11),
                                        {"color0", "color1"});
    for (std::size_t extra = 1; extra <= 13; ++extra)
        ExpectReadFailure<EDesignReadError>(
            dir, Signature + Colors + std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0", extra),
            ThreeColors);
    ExpectReadFailure<EInvalidBitmap>(dir, Signature + Colors + "PNG is not a bitmap", ThreeColors);
    ExpectReadFailure<EInvalidBitmap>(dir, Signature + Colors + "BM" + std::string(40, '\xFF'),
                                      ThreeColors);

    // A bitmap cut short inside its pixel rows.
    WriteDesignFile(dir / "whole.mbd", 1, 2, 3, Pattern(SkinWidth, SkinHeight));
    const std::string whole = platform::ReadFile(dir / "whole.mbd");
    ExpectReadFailure<EInvalidBitmap>(dir, whole.substr(0, whole.size() - 1), ThreeColors);
}

// Catches an unopenable path (missing file, a folder) crashing or passing silently.
TEST(DesignFile, UnreadablePathsRaiseReadErrors)
{
    Scratch dir;
    RecordingTarget target;
    EXPECT_THROW(ReadDesign(dir / "missing.mbd", target), EDesignReadError);
    ::mkdir((dir / "folder.mbd").c_str(), 0700);
    EXPECT_THROW(ReadDesign(dir / "folder.mbd", target), EDesignReadError);
    EXPECT_TRUE(target.calls.empty());
}

// Catches a pipe or device named as the design (via the settings' skin name) blocking start.
TEST(DesignFile, PipesAndDevicesAreRefusedWithoutWaiting)
{
    Scratch dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.mbd").c_str(), 0600), 0);
    RecordingTarget target;
    EXPECT_THROW(ReadDesign(dir / "pipe.mbd", target), EDesignReadError);
    EXPECT_THROW(ReadDesign("/dev/zero", target), EDesignReadError);
    EXPECT_TRUE(target.calls.empty());
}

// Catches the program's design values being filled wrongly or reset by a failed read.
TEST(DesignFile, ProgramDesignValuesFollowTheReadingRules)
{
    Scratch dir;
    const QImage skin = Pattern(SkinWidth, SkinHeight);
    WriteDesignFile(dir / "good.mbd", 0x00010203, 0x00040506, 0x00070809, skin);
    ReadDesignFile(dir / "good.mbd");
    EXPECT_EQ(BackColor, 0x00010203u);
    EXPECT_EQ(ActiveColor, 0x00040506u);
    EXPECT_EQ(NoActiveColor, 0x00070809u);
    EXPECT_TRUE(SamePixels(SkinBitmap, skin));

    ReadDesignFile(dir.Write("foreign.mbd", "Not a design at all, really"));
    EXPECT_EQ(BackColor, 0x00010203u);
    EXPECT_TRUE(SamePixels(SkinBitmap, skin));

    EXPECT_THROW(ReadDesignFile(dir.Write("bad.mbd", Signature + Colors + "XX-not-a-bitmap")),
                 EInvalidBitmap);
    EXPECT_EQ(BackColor, 0x00112233u) << "colours read before the failure stay applied";
    EXPECT_EQ(NoActiveColor, 0x00778899u);
    EXPECT_TRUE(SamePixels(SkinBitmap, skin)) << "the skin is kept when its bitmap fails";
}

// Catches saved designs landing outside the skin folder or under the wrong name.
TEST(DesignSaveName, ExtensionIsReplacedAndTheFolderCannotBeLeft)
{
    const std::string oldDataFolder = DataFolder;
    DataFolder = "/opt/sonolux/";
    EXPECT_EQ(UserSkinFolder(), "/opt/sonolux/skin/");
    EXPECT_EQ(DesignSavePath("night"), "/opt/sonolux/skin/night.mbd");
    EXPECT_EQ(DesignSavePath("night.txt"), "/opt/sonolux/skin/night.mbd");
    EXPECT_EQ(DesignSavePath("night.mbd"), "/opt/sonolux/skin/night.mbd");
    EXPECT_EQ(DesignSavePath("night.Blue.MBD"), "/opt/sonolux/skin/night.Blue.mbd");
    EXPECT_EQ(DesignSavePath("\x96\xe9.txt"), "/opt/sonolux/skin/\x96\xe9.mbd"); // Shift-JIS

    EXPECT_THROW(DesignSavePath(""), EDesignNameError);
    EXPECT_THROW(DesignSavePath("../night"), EDesignNameError);
    EXPECT_THROW(DesignSavePath("/etc/night"), EDesignNameError);
    EXPECT_THROW(DesignSavePath("sub/night.mbd"), EDesignNameError);
    EXPECT_THROW(DesignSavePath(std::string("night\0.txt", 10)), EDesignNameError);
    DataFolder = oldDataFolder;
}
