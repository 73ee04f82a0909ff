// The bar's drawing: skin pictures, colours, time display, position bar and title.
#include "main.h"

#include "ui_main.h"

#include "app/appstate.h"
#include "settings/skinatlas.h"

#include "app/design.h"
#include "platform/textcodec.h"
#include "playlist/view.h"

#include <QPainter>
#include <cstdio>

using namespace SkinAtlas;

namespace {

constexpr int TitleY = 3;

void SetPanelColors(QWidget *widget, TColor background, TColor text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ToQColor(background));
    palette.setColor(QPalette::WindowText, ToQColor(text));
    widget->setPalette(palette);
}

} // namespace

std::string FormatTime(long long seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%2.2lld:%2.2lld", seconds / 60, seconds % 60);
    return text;
}

void TMidi_main::DrawSkin()
{
    DrawButtons();
    ui->BackImage->StretchCopy(ui->BackImage->rect(), SkinBitmap, BackgroundColumn);
    ui->SetButton->StretchCopy(MenuFacePlace, SkinBitmap, MenuFace);
    ui->ControlButtons->StretchCopy(CloseFacePlace, SkinBitmap, CloseFace);
    if (view_form_ != nullptr)
        view_form_->DrawButtons();
}

void TMidi_main::DrawButtons()
{
    for (int i = 0; i < 5; ++i)
        ui->ControlButtons->StretchCopy(ButtonPlace(i), SkinBitmap, ButtonFace(i));
    ui->ControlButtons->StretchCopy(OpenPlace, SkinBitmap, OpenFace);
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
    ui->TimeDiaplay->StretchCopy(ColonPlace, SkinBitmap, Colon);
    shownTime_ = FormatTime(0);

    // An empty position bar: an ActiveColor outline around a BackColor interior.
    TImage *bar = ui->Pos_Bar;
    const QRect outline = Rect(1, 1, bar->width(), bar->height());
    bar->FillRect(outline, ToQColor(ActiveColor));
    bar->FillRect(outline.adjusted(1, 1, -1, -1), ToQColor(BackColor));
}

void TMidi_main::DrawDigit(char digit, int place)
{
    if (digit < '0' || digit > '9' || place < 0 || place > 3)
        return;
    ui->TimeDiaplay->StretchCopy(DigitPlace[place], SkinBitmap, Digit(digit - '0'));
}

void TMidi_main::UpdateTimeDisplay(const std::string &text)
{
    // Characters 1, 2, 4 and 5 of the text go to the four digit places.
    static constexpr std::size_t positions[4] = {0, 1, 3, 4};
    for (int place = 0; place < 4; ++place) {
        const std::size_t i = positions[place];
        const char c = i < text.size() ? text[i] : ' ';
        if (c != shownTime_[i]) {
            DrawDigit(c, place);
            shownTime_[i] = c;
        }
    }
    ui->TimeDiaplay->StretchCopy(ColonPlace, SkinBitmap, Colon);
}

void TMidi_main::ShowIcon(StateIcon icon)
{
    QRect source;
    switch (icon) {
    case StateIcon::Play:
        source = PlayIcon;
        break;
    case StateIcon::Stop:
        source = StopIcon;
        break;
    case StateIcon::Pause:
        source = PauseIcon;
        break;
    case StateIcon::Open:
        source = OpenIcon;
        break;
    case StateIcon::Idle:
        source = IdleIcon;
        break;
    }
    ui->TimeDiaplay->StretchCopy(IconPlace, SkinBitmap, source);
}

void TMidi_main::ClearTitle()
{
    TImage *box = ui->TitlePanel_Image;
    box->FillRect(box->rect(), ToQColor(BackColor));
}

void TMidi_main::DrawTitleText(const std::string &text, int x)
{
    TImage *box = ui->TitlePanel_Image;
    const QString shown = platform::DecodeText(text);
    QPainter painter(&box->Canvas());
    painter.setFont(font());
    painter.setPen(ToQColor(ActiveColor));
    painter.setBackground(ToQColor(BackColor));
    painter.setBackgroundMode(Qt::OpaqueMode);
    const QFontMetrics metrics(font());
    const QRect cell(x, TitleY, metrics.horizontalAdvance(shown), metrics.height());
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    painter.end();
    box->Changed();
}

void TMidi_main::SetTitleText(const std::string &title)
{
    titleText_ = title;
    titleOffset_ = 0;
}

void TMidi_main::TitleTimerTimer()
{
    // The title moves left one pixel a tick, and re-enters from the right once it has left.
    std::string text = titleText_;
    if (ShowLength)
        text += " -[" + FormatTime(MediaPlayer1().Length() / 1000) + "]-";
    else
        text += " ";
    DrawTitleText(text, titleOffset_);
    --titleOffset_;
    const int width = QFontMetrics(font()).horizontalAdvance(platform::DecodeText(text));
    if (titleOffset_ < -width)
        titleOffset_ = ui->TitlePanel_Image->width();
}

void TMidi_main::RepaintDesign()
{
    DrawSkin();
    ApplyColors();
    ResetDisplay();
    ShowModeIcon(MediaPlayer1().Mode());
}
