#include "settings/designfile.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

const std::string SkinFolderOfDist = SONOLUX_DIST_DIR "/skin/";
const char *const ShippedDesigns[] = {"default.mbd", "light.mbd", "classic.mbd"};

// Collects what the program's reader hands over.
class Design : public TDesignTarget
{
public:
    explicit Design(const std::string &fileName) { ReadDesign(SkinFolderOfDist + fileName, *this); }
    void SetColor(TDesignColor which, TColor color) override { colors[which] = color; }
    void SetBitmap(const QImage &image) override { skin = image; }

    QColor Color(TDesignColor which) const { return ToQColor(colors[which]); }

    TColor colors[3] = {0, 0, 0};
    QImage skin;
};

struct AtlasPicture
{
    std::string name;
    QRect rect;
    bool onPanel; // drawn on the time display, over the panel's back colour
};

// The skin's pictures, as the bar and the play list window cut them out.
std::vector<AtlasPicture> AtlasPictures()
{
    std::vector<AtlasPicture> pictures;
    for (int d = 0; d <= 9; ++d)
        pictures.push_back({"digit " + std::to_string(d), QRect(8 * d, 0, 7, 11), true});
    pictures.push_back({"colon", QRect(80, 0, 1, 11), true});
    pictures.push_back({"menu button", QRect(82, 1, 45, 9), false});
    pictures.push_back({"close button", QRect(129, 1, 8, 9), false});
    pictures.push_back({"background column", QRect(139, 0, 1, 25), false});
    pictures.push_back({"play icon", QRect(1, 12, 11, 11), true});
    pictures.push_back({"stop icon", QRect(13, 12, 9, 11), true});
    pictures.push_back({"pause icon", QRect(25, 12, 11, 11), true});
    pictures.push_back({"open icon", QRect(37, 12, 11, 11), true});
    pictures.push_back({"idle icon", QRect(49, 12, 11, 11), true});
    for (int i = 0; i < 5; ++i)
        pictures.push_back({"button " + std::to_string(i), QRect(1 + 22 * i, 24, 20, 16), false});
    pictures.push_back({"open button", QRect(111, 24, 20, 16), false});
    for (int j = 0; j < 4; ++j)
        pictures.push_back(
            {"play list button " + std::to_string(j), QRect(1 + 21 * j, 42, 20, 20), false});
    return pictures;
}

std::map<QRgb, int> ColourCounts(const QImage &image, const QRect &rect)
{
    std::map<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    }
    return counts;
}

double Luminance(const QColor &c)
{
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

double Contrast(const QColor &a, const QColor &b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

// Catches a shipped design the program cannot read, of the wrong size, or with text
// colours that cannot be read on its panels.
TEST(ShippedDesigns, ReadBackWithReadableColours)
{
    for (const char *fileName : ShippedDesigns) {
        SCOPED_TRACE(fileName);
        const Design design(fileName);
        ASSERT_EQ(design.skin.size(), QSize(SkinWidth, SkinHeight));
        EXPECT_NE(design.colors[dcBack], design.colors[dcActive]);
        EXPECT_NE(design.colors[dcActive], design.colors[dcNoActive]);
        EXPECT_GE(Contrast(design.Color(dcActive), design.Color(dcBack)), 4.5);
        EXPECT_GE(Contrast(design.Color(dcNoActive), design.Color(dcBack)), 3.0);
    }
}

// Catches an atlas picture missing, misplaced, or drawn on a ground that shows as a box on
// the time display's panel.
TEST(ShippedDesigns, EveryAtlasPictureIsDrawnInItsPlace)
{
    for (const char *fileName : ShippedDesigns) {
        SCOPED_TRACE(fileName);
        const Design design(fileName);
        ASSERT_EQ(design.skin.size(), QSize(SkinWidth, SkinHeight));
        const QRgb back = design.Color(dcBack).rgb();
        for (const AtlasPicture &picture : AtlasPictures()) {
            const auto counts = ColourCounts(design.skin, picture.rect);
            EXPECT_GE(counts.size(), 2u) << picture.name << " is blank";
            if (!picture.onPanel)
                continue;
            // The ground around the symbol must be the panel's colour, or it shows as a box.
            const int pixels = picture.rect.width() * picture.rect.height();
            const auto ground = counts.find(back);
            EXPECT_TRUE(ground != counts.end() && ground->second * 4 >= pixels)
                << picture.name << " is not drawn on the back colour";
        }
    }
}

// Catches figures that repeat or are shifted so that two digits look alike.
TEST(ShippedDesigns, TheTenDigitsDiffer)
{
    for (const char *fileName : ShippedDesigns) {
        SCOPED_TRACE(fileName);
        const Design design(fileName);
        std::set<std::vector<QRgb>> digits;
        for (int d = 0; d <= 9; ++d) {
            std::vector<QRgb> pixels;
            for (int y = 0; y < 11; ++y) {
                for (int x = 0; x < 7; ++x)
                    pixels.push_back(design.skin.pixel(8 * d + x, y));
            }
            digits.insert(pixels);
        }
        EXPECT_EQ(digits.size(), 10u);
    }
}
