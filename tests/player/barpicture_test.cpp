// The bar's picture as the renderer draws it against the bar window itself.
#include "playerfixture.h"

#include "ui_main.h"

#include "app/design.h"
#include "barpicture/barpicture.h"
#include "platform/mci/smfwriter.h"

using testing_support::PlayerTest;

namespace {

class BarPictureTest : public PlayerTest
{
protected:
    barpicture::TBarLook Look() const
    {
        const QPalette panel = bar_->Form()->InfoPanel->palette();
        return {SkinBitmap,
                ToQColor(BackColor),
                ToQColor(ActiveColor),
                ToQColor(NoActiveColor),
                bar_->font(),
                bar_->Form()->List_Btn->font(),
                panel.color(QPalette::Dark),
                panel.color(QPalette::Light)};
    }
    QImage Window() const { return bar_->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage Rendered(const barpicture::TBarState &state) const
    {
        return barpicture::RenderBar(Look(), state).convertToFormat(QImage::Format_RGB32);
    }
};

// Catches the renderer and the window parting ways: a part in another place, another
// panel bevel, font or label colour, or a fill drawn to another width than the bar's.
TEST_F(BarPictureTest, RendererDrawsWhatTheWindowShows)
{
    bar_->ResetDisplay();
    bar_->ShowIcon(StateIcon::Stop);
    barpicture::TBarState state;
    EXPECT_EQ(Window(), Rendered(state)) << "before any song";

    Enqueue(Song("song.mid", 205000), "Starlight Serenade");
    view_->Queue().SetLastIndex(0);
    bar_->StartCurrentSong();
    Advance(68000);
    bar_->Timer1Timer();
    for (int tick = 0; tick < 12; ++tick)
        bar_->TitleTimerTimer();
    state.time = "01:08";
    state.icon = StateIcon::Play;
    state.positionFill = barpicture::PositionFillWidth(68000, 205000, 80);
    state.showTitle = true;
    state.titleLine = barpicture::TitleLine(bar_->TitleText(), ShowLength, 205);
    state.titleOffset = bar_->TitleOffset() + 1;
    // The scroll draws over its last line; the renderer draws one line on a cleared box.
    bar_->ClearTitle();
    bar_->DrawTitleText(state.titleLine, state.titleOffset);
    EXPECT_GT(state.positionFill, 1);
    EXPECT_EQ(Window(), Rendered(state)) << "playing, the title scrolled";

    bar_->List_BtnClick();
    bar_->PauseSong();
    state.listShown = true;
    state.icon = StateIcon::Pause;
    EXPECT_EQ(Window(), Rendered(state)) << "paused with the play list shown";
}

// Counts the pixels in columns [from, to) of image that are of color's kind: red or blue
// ink (smoothed edges included) on the white box.
int CountColor(const QImage &image, const QColor &color, int from, int to)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = std::max(from, 0); x < std::min(to, image.width()); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int redness = pixel.red() - pixel.blue();
            count += color == Qt::red ? redness > 64 : -redness > 64;
        }
    }
    return count;
}

QFont LyricFont()
{
    QFont font;
    font.setPixelSize(12);
    return font;
}

// Catches the sung part drawn in the wrong colour or on the wrong side of the split.
TEST(LyricLine, HalfSungLineSplitsActiveAndNoActive)
{
    const QColor back(Qt::white), active(Qt::red), noActive(Qt::blue);
    QImage box(224, 16, QImage::Format_RGB32);
    const QString text = QStringLiteral("HHHHHHHHHH");
    const int width = QFontMetrics(LyricFont()).horizontalAdvance(text);
    ASSERT_LT(width, 224);
    const int half = barpicture::LyricSungWidth(LyricFont(), text, 5, 0, 0);
    barpicture::DrawLyricLine(box, LyricFont(), back, active, noActive, text, half);
    EXPECT_GT(CountColor(box, active, 0, half), 0);
    EXPECT_EQ(CountColor(box, noActive, 0, half), 0);
    EXPECT_GT(CountColor(box, noActive, half, 224), 0);
    EXPECT_EQ(CountColor(box, active, half, 224), 0);
    // Half of the sixth syllable sung moves the split half a letter on.
    const int more = barpicture::LyricSungWidth(LyricFont(), text, 5, 1, 0.5);
    EXPECT_GT(more, half);
    EXPECT_LT(more, barpicture::LyricSungWidth(LyricFont(), text, 6, 0, 0));
}

// Catches a wide line that keeps its start in view while the sung point leaves the box,
// or one scrolled past its end.
TEST(LyricLine, WideLineKeepsTheSungPointInView)
{
    EXPECT_EQ(barpicture::LyricOffset(200, 150, 224), 0) << "a line that fits stays put";
    EXPECT_EQ(barpicture::LyricOffset(600, 50, 224), 0);
    EXPECT_EQ(barpicture::LyricOffset(600, 300, 224), 112 - 300);
    EXPECT_EQ(barpicture::LyricOffset(600, 590, 224), 224 - 600) << "the end stays at the edge";

    const QColor back(Qt::white), active(Qt::red), noActive(Qt::blue);
    QImage box(224, 16, QImage::Format_RGB32);
    const QString text(60, QLatin1Char('H'));
    const int sung = barpicture::LyricSungWidth(LyricFont(), text, 30, 0, 0);
    ASSERT_GT(sung, 224);
    barpicture::DrawLyricLine(box, LyricFont(), back, active, noActive, text, sung);
    EXPECT_GT(CountColor(box, active, 0, 112), 0);
    EXPECT_EQ(CountColor(box, noActive, 0, 112), 0);
    EXPECT_GT(CountColor(box, noActive, 112, 224), 0);
    EXPECT_EQ(CountColor(box, active, 112, 224), 0);
}

// Catches the bar showing lyrics with the option off or for a song without them, the
// title not coming back between lines, or the window and the renderer parting ways.
TEST_F(BarPictureTest, TitleBoxShowsTheLineBeingSung)
{
    mci::SmfWriter sung(500, 0);
    sung.Tempo(0, 500000);
    sung.Meta(0, 0x03, "Karaoke").Meta(1000, 0x05, "Twin").Meta(1500, 0x05, "kle ");
    sung.Meta(2000, 0x05, "star").EndAt(20000);
    Enqueue(program_.Write("sung.mid", sung.Bytes()), "Karaoke");
    Enqueue(Song("plain.mid", 20000), "Plain");
    view_->Queue().SetLastIndex(1);
    bar_->StartCurrentSong();
    Advance(1750);
    bar_->TitleTimerTimer();
    EXPECT_FALSE(bar_->LyricShown()) << "option off";

    ShowLyrics = true;
    bar_->TitleTimerTimer();
    ASSERT_TRUE(bar_->LyricShown());
    barpicture::TBarState state;
    state.icon = StateIcon::Play;
    state.time = "00:00";
    state.showTitle = true;
    state.showLyric = true;
    state.lyricText = QStringLiteral("Twinkle star");
    state.lyricSungWidth = barpicture::LyricSungWidth(bar_->font(), state.lyricText, 4, 4, 0.5);
    EXPECT_EQ(Window(), Rendered(state)) << "Twin sung, half of kle";

    Advance(15000);
    bar_->TitleTimerTimer();
    EXPECT_FALSE(bar_->LyricShown()) << "after the last line";

    bar_->NextSong(true);
    bar_->TitleTimerTimer();
    EXPECT_FALSE(bar_->LyricShown()) << "a song without lyrics";
}

} // namespace
