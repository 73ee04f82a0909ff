// The bar's drawing: skin pictures, colours, time display, position bar and title.
#include "main.h"

#include "ui_main.h"

#include "app/appstate.h"
#include "app/design.h"
#include "barpicture/barparts.h"
#include "playlist/view.h"

namespace {

void SetPanelColors(QWidget *widget, TColor background, TColor text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ToQColor(background));
    palette.setColor(QPalette::WindowText, ToQColor(text));
    widget->setPalette(palette);
}

// Draws a part into a component's picture and repaints what it changed.
template<typename Part>
void Redraw(TImage *component, Part part)
{
    const QRect changed = part(component->Canvas());
    if (!changed.isNull())
        component->Changed(changed);
}

} // namespace

void TMidi_main::DrawSkin()
{
    DrawButtons();
    Redraw(ui->BackImage,
           [](QImage &canvas) { return barpicture::DrawBackground(canvas, SkinBitmap); });
    Redraw(ui->SetButton,
           [](QImage &canvas) { return barpicture::DrawMenuFace(canvas, SkinBitmap); });
    if (view_form_ != nullptr)
        view_form_->DrawButtons();
}

void TMidi_main::DrawButtons()
{
    Redraw(ui->ControlButtons,
           [](QImage &canvas) { return barpicture::DrawControlButtons(canvas, SkinBitmap); });
}

void TMidi_main::ApplyColors()
{
    SetPanelColors(ui->InfoPanel, BackColor, ActiveColor);
    SetPanelColors(ui->TitlePanel, BackColor, ActiveColor);
    SetPanelColors(ui->List_Btn, BackColor, ActiveColor);
    if (view_form_ != nullptr)
        view_form_->ApplyColors();
}

void TMidi_main::ResetDisplay()
{
    for (int place = 0; place < 4; ++place)
        DrawDigit('0', place);
    Redraw(ui->TimeDiaplay,
           [](QImage &canvas) { return barpicture::DrawColon(canvas, SkinBitmap); });
    shownTime_ = FormatTime(0);
    Redraw(ui->Pos_Bar, [](QImage &canvas) {
        return barpicture::DrawEmptyPositionBar(canvas, ToQColor(BackColor), ToQColor(ActiveColor));
    });
}

void TMidi_main::DrawDigit(char digit, int place)
{
    Redraw(ui->TimeDiaplay,
           [&](QImage &canvas) { return barpicture::DrawDigit(canvas, SkinBitmap, digit, place); });
}

void TMidi_main::UpdateTimeDisplay(const std::string &text)
{
    // Characters 1, 2, 4 and 5 of the text go to the four digit places; only changed ones
    // are drawn again.
    static constexpr std::size_t positions[4] = {0, 1, 3, 4};
    for (int place = 0; place < 4; ++place) {
        const std::size_t i = positions[place];
        const char c = i < text.size() ? text[i] : ' ';
        if (c != shownTime_[i]) {
            DrawDigit(c, place);
            shownTime_[i] = c;
        }
    }
    Redraw(ui->TimeDiaplay,
           [](QImage &canvas) { return barpicture::DrawColon(canvas, SkinBitmap); });
}

void TMidi_main::DrawPosition(std::int64_t position, std::int64_t length)
{
    UpdateTimeDisplay(FormatTime(position / 1000));
    // The fill only grows; a song of length 0 has none.
    const int width = barpicture::PositionFillWidth(position, length, ui->Pos_Bar->width());
    Redraw(ui->Pos_Bar, [width](QImage &canvas) {
        return barpicture::DrawPositionFill(canvas, ToQColor(ActiveColor), width);
    });
}

void TMidi_main::ShowIcon(StateIcon icon)
{
    Redraw(ui->TimeDiaplay,
           [icon](QImage &canvas) { return barpicture::DrawIcon(canvas, SkinBitmap, icon); });
}

void TMidi_main::ClearTitle()
{
    Redraw(ui->TitlePanel_Image,
           [](QImage &canvas) { return barpicture::ClearTitle(canvas, ToQColor(BackColor)); });
}

void TMidi_main::DrawTitleText(const std::string &text, int x)
{
    Redraw(ui->TitlePanel_Image, [&](QImage &canvas) {
        return barpicture::DrawTitleText(canvas, font(), ToQColor(BackColor), ToQColor(ActiveColor),
                                         text, x);
    });
}

void TMidi_main::SetTitleText(const std::string &title)
{
    titleText_ = title;
    titleOffset_ = 0;
    lyricShown_ = false;
}

bool TMidi_main::DrawLyric()
{
    if (!ShowLyrics || !IsLoaded())
        return false;
    mci::TMediaPlayer &device = MediaPlayer1();
    const mci::LyricProgress now = device.LyricAt(device.Position());
    if (!now.Active())
        return false;
    const QFont &titleFont = font();
    const int sungWidth =
        barpicture::LyricSungWidth(titleFont, now.text, now.sung, now.singing, now.fraction);
    Redraw(ui->TitlePanel_Image, [&](QImage &canvas) {
        return barpicture::DrawLyricLine(canvas, titleFont, ToQColor(BackColor),
                                         ToQColor(ActiveColor), ToQColor(NoActiveColor), now.text,
                                         sungWidth);
    });
    return true;
}

void TMidi_main::TitleTimerTimer()
{
    const bool wasLyric = lyricShown_;
    lyricShown_ = DrawLyric();
    if (lyricShown_)
        return;
    // The title draws over its last frame; a lyric line is cleared away once.
    if (wasLyric)
        ClearTitle();
    // The title moves left one pixel a tick, and re-enters from the right once it has left.
    const std::string text =
        barpicture::TitleLine(titleText_, ShowLength, MediaPlayer1().Length() / 1000);
    DrawTitleText(text, titleOffset_);
    --titleOffset_;
    if (titleOffset_ < -barpicture::TitleLineWidth(font(), text))
        titleOffset_ = ui->TitlePanel_Image->width();
}

void TMidi_main::RepaintDesign()
{
    DrawSkin();
    ApplyColors();
    ResetDisplay();
    ShowModeIcon(MediaPlayer1().Mode());
}
