// The bar's picture as the renderer draws it against the bar window itself.
#include "playerfixture.h"

#include "ui_main.h"

#include "app/design.h"
#include "barpicture/barpicture.h"

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

} // namespace
