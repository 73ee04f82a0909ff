#include "preview.h"

#include "pixelart.h"

#include "app/skinatlas.h"
#include "barpicture/barpicture.h"
#include "platform/widgets/fonts.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace {

constexpr int Margin = 8;
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

// The bar playing a song a third of the way through, its title scrolled in a little.
QImage RenderBar(const TTheme &theme, const QImage &skin)
{
    const QPalette panel = QGuiApplication::palette();
    const barpicture::TBarLook look{skin,
                                    theme.back,
                                    theme.active,
                                    theme.noActive,
                                    UiFont(12),
                                    SmallFont(8),
                                    panel.color(QPalette::Dark),
                                    panel.color(QPalette::Light)};
    barpicture::TBarState state;
    state.time = "03:25";
    state.icon = StateIcon::Play;
    state.positionFill = barpicture::PositionFillWidth(1, 3, 80);
    state.showTitle = true;
    state.titleLine = barpicture::TitleLine("星空のセレナーデ / Starlight Serenade", true, 205);
    state.titleOffset = 6;
    return barpicture::RenderBar(look, state).convertToFormat(QImage::Format_RGB32);
}

// The play list window's caption strip over its button row.
QImage RenderListButtons(const TTheme &theme, const QImage &skin)
{
    QImage strip(110, 36, QImage::Format_RGB32);
    StretchCopy(strip, QRect(0, 0, 110, 12), skin, SkinAtlas::BackgroundColumn);
    FillRect(strip, QRect(0, 12, 110, 24), theme.back);
    for (int j = 0; j < SkinAtlas::ListButtonCount; ++j)
        Copy(strip, QPoint(5 + 25 * j, 13), skin, SkinAtlas::ListButtonFace(j));
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
