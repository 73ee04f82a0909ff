#include "preview.h"

#include "atlas.h"
#include "glyphs.h"
#include "pixelart.h"
#include "platform/widgets/fonts.h"

#include <QPainter>

namespace {

constexpr int Margin = 8;
constexpr QSize BarSize(640, 26);
constexpr QRgb PreviewBackground = 0xFF808080;

// Copies source onto dest, each pixel of dest taking the source pixel under its centre.
void StretchCopy(QImage &target, const QRect &dest, const QImage &source, const QRect &from)
{
    for (int y = 0; y < dest.height(); ++y) {
        const int sy = from.top() + (2 * y + 1) * from.height() / (2 * dest.height());
        for (int x = 0; x < dest.width(); ++x) {
            const int sx = from.left() + (2 * x + 1) * from.width() / (2 * dest.width());
            target.setPixel(dest.left() + x, dest.top() + y, source.pixel(sx, sy));
        }
    }
}

void Copy(QImage &target, QPoint at, const QImage &source, const QRect &from)
{
    StretchCopy(target, QRect(at, from.size()), source, from);
}

// A panel with a lowered one-pixel bevel around a back-coloured inside.
void LoweredPanel(QImage &bar, const QRect &rect, const TTheme &theme)
{
    FillRect(bar, rect, Mix(theme.barBottom, Qt::black, 0.45));
    FillRect(bar, QRect(rect.left() + 1, rect.bottom(), rect.width() - 1, 1),
             Mix(theme.barTop, Qt::white, 0.3));
    FillRect(bar, QRect(rect.right(), rect.top() + 1, 1, rect.height() - 1),
             Mix(theme.barTop, Qt::white, 0.3));
    FillRect(bar, rect.adjusted(1, 1, -1, -1), theme.back);
}

QImage RenderBar(const TTheme &theme, const QImage &skin)
{
    QImage bar(BarSize, QImage::Format_RGB32);
    StretchCopy(bar, bar.rect(), skin, atlas::BackgroundColumn);
    Copy(bar, QPoint(5, 5), skin, atlas::MenuFace);

    const QRect info(56, 3, 161, 18);
    LoweredPanel(bar, info, theme);
    const QPoint time = info.topLeft() + QPoint(7, 4);
    StretchCopy(bar, QRect(time, QSize(11, 12)), skin, atlas::PlayIcon);
    const int places[] = {15, 24, 36, 45};
    const int figures[] = {0, 3, 2, 5};
    for (int i = 0; i < 4; ++i)
        Copy(bar, time + QPoint(places[i], 0), skin, atlas::Digit(figures[i]));
    Copy(bar, time + QPoint(33, 0), skin, atlas::Colon);

    // The position bar a third of the way through, and the LIST label.
    const QRect position(info.left() + 78 + 1, info.top() + 11 + 1, 79, 4);
    FillRect(bar, position, theme.active);
    FillRect(bar, position.adjusted(1, 1, -1, -1), theme.back);
    FillRect(bar, QRect(position.left() + 1, position.top() + 1, 26, 2), theme.active);
    const QRect list(info.left() + 141, info.top() + 1, 16, 10);
    FillRect(bar, list, theme.back);
    StampCentred(bar, list, ListLabel(), {{'#', theme.active}});

    const QRect title(231, 3, 226, 18);
    LoweredPanel(bar, title, theme);
    {
        QPainter painter(&bar);
        painter.setFont(UiFont(12));
        painter.setPen(theme.active);
        painter.setClipRect(title.adjusted(1, 1, -1, -1));
        painter.drawText(QPoint(title.left() + 1 + 6, title.top() + 1 + 3 + 12),
                         QString::fromUtf8("星空のセレナーデ / Starlight Serenade  -[03:25]-"));
    }

    const QPoint buttons(472, 5);
    for (int i = 0; i < atlas::ButtonCount; ++i)
        Copy(bar, buttons + QPoint(1 + 23 * i, 0), skin, atlas::ButtonFace(i));
    Copy(bar, buttons + QPoint(121, 0), skin, atlas::OpenFace);
    Copy(bar, buttons + QPoint(155, 0), skin, atlas::CloseFace);
    return bar;
}

// The play list window's caption strip over its button row.
QImage RenderListButtons(const TTheme &theme, const QImage &skin)
{
    QImage strip(110, 36, QImage::Format_RGB32);
    StretchCopy(strip, QRect(0, 0, 110, 12), skin, atlas::BackgroundColumn);
    FillRect(strip, QRect(0, 12, 110, 24), theme.back);
    for (int j = 0; j < atlas::ListButtonCount; ++j)
        Copy(strip, QPoint(5 + 25 * j, 13), skin, atlas::ListFace(j));
    return strip;
}

} // namespace

QImage RenderPreview(const TTheme &theme, const QImage &skin)
{
    const QImage bar = RenderBar(theme, skin);
    const QImage buttons = RenderListButtons(theme, skin);
    const QSize skinView = skin.size() * 4;
    const QSize barView = bar.size() * 2;
    const QSize buttonsView = buttons.size() * 2;

    QImage preview(Margin * 2 + barView.width(),
                   Margin * 4 + skinView.height() + barView.height() + buttonsView.height(),
                   QImage::Format_RGB32);
    preview.fill(PreviewBackground);
    QPainter painter(&preview);
    painter.drawImage(QRect(QPoint(Margin, Margin), skinView), skin);
    const int barTop = Margin * 2 + skinView.height();
    painter.drawImage(QRect(QPoint(Margin, barTop), barView), bar);
    painter.drawImage(QRect(QPoint(Margin, barTop + barView.height() + Margin), buttonsView),
                      buttons);
    return preview;
}
