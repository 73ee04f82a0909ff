#include "barpicture/barpicture.h"

#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>

namespace barpicture {

namespace {

// The bar's layout: where each component sits (inside its panel for the panels' parts).
constexpr QRect MenuButton(5, 3, 51, 14);
constexpr QRect InfoPanel(56, 3, 161, 18);
constexpr QRect TimeDisplay(7, 4, 66, 13);
constexpr QRect PositionBar(78, 11, 80, 5);
constexpr QRect ListLabel(141, 1, 16, 10);
constexpr QRect TitlePanel(231, 3, 226, 18);
constexpr QRect TitleBox(1, 1, 224, 16);
constexpr QRect ControlButtons(472, 5, 169, 17);

QImage Canvas(const QSize &size)
{
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

// A panel filled with back and framed by a one-pixel sunken bevel.
void DrawPanel(QPainter &painter, const QRect &rect, const TBarLook &look)
{
    painter.fillRect(rect, look.back);
    QPalette bevel;
    bevel.setColor(QPalette::Dark, look.panelShadow);
    bevel.setColor(QPalette::Light, look.panelLight);
    qDrawShadePanel(&painter, rect, bevel, true, 1);
}

QImage TimePicture(const TBarLook &look, const TBarState &state)
{
    QImage time = Canvas(TimeDisplay.size());
    DrawTime(time, look.skin, state.time);
    DrawIcon(time, look.skin, state.icon);
    return time;
}

QImage PositionPicture(const TBarLook &look, const TBarState &state)
{
    QImage position = Canvas(PositionBar.size());
    DrawEmptyPositionBar(position, look.back, look.active);
    DrawPositionFill(position, look.active, state.positionFill);
    return position;
}

void DrawInfoPanel(QPainter &painter, const TBarLook &look, const TBarState &state)
{
    DrawPanel(painter, InfoPanel, look);
    const QPoint origin = InfoPanel.topLeft();
    painter.drawImage(origin + TimeDisplay.topLeft(), TimePicture(look, state));
    painter.drawImage(origin + PositionBar.topLeft(), PositionPicture(look, state));
    const QRect label = ListLabel.translated(origin);
    painter.fillRect(label, look.back);
    painter.save();
    painter.setFont(look.listFont);
    painter.setPen(state.listShown ? look.noActive : look.active);
    painter.drawText(label, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("LIST"));
    painter.restore();
}

void DrawTitlePanel(QPainter &painter, const TBarLook &look, const TBarState &state)
{
    DrawPanel(painter, TitlePanel, look);
    if (!state.showTitle)
        return;
    QImage title = Canvas(TitleBox.size());
    if (state.showLyric) {
        DrawLyricLine(title, look.titleFont, look.back, look.active, look.noActive, state.lyricText,
                      state.lyricSungWidth);
    } else {
        ClearTitle(title, look.back);
        DrawTitleText(title, look.titleFont, look.back, look.active, state.titleLine,
                      state.titleOffset);
    }
    painter.drawImage(TitlePanel.topLeft() + TitleBox.topLeft(), title);
}

} // namespace

QImage RenderBar(const TBarLook &look, const TBarState &state)
{
    QImage bar = Canvas(BarSize);
    DrawBackground(bar, look.skin);
    QPainter painter(&bar);
    QImage menu = Canvas(MenuButton.size());
    DrawMenuFace(menu, look.skin);
    painter.drawImage(MenuButton.topLeft(), menu);
    DrawInfoPanel(painter, look, state);
    DrawTitlePanel(painter, look, state);
    QImage buttons = Canvas(ControlButtons.size());
    DrawControlButtons(buttons, look.skin);
    painter.drawImage(ControlButtons.topLeft(), buttons);
    return bar;
}

} // namespace barpicture
