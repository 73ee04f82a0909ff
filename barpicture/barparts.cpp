#include "barpicture/barparts.h"

#include "app/skinatlas.h"
#include "platform/textcodec.h"
#include "platform/widgets/image.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdio>

using namespace SkinAtlas;

namespace barpicture {

namespace {

constexpr int TitleY = 3;

QRect Copy(QImage &canvas, const QRect &place, const QImage &skin, const QRect &picture)
{
    StretchCopyInto(canvas, place, skin, picture);
    return place;
}

QRect Fill(QImage &canvas, const QRect &rect, const QColor &color)
{
    QPainter painter(&canvas);
    painter.fillRect(rect, color);
    return rect;
}

QRect IconPicture(StateIcon icon)
{
    switch (icon) {
    case StateIcon::Play:
        return PlayIcon;
    case StateIcon::Stop:
        return StopIcon;
    case StateIcon::Pause:
        return PauseIcon;
    case StateIcon::Open:
        return OpenIcon;
    case StateIcon::Idle:
        break;
    }
    return IdleIcon;
}

} // namespace

QRect DrawBackground(QImage &canvas, const QImage &skin)
{
    return Copy(canvas, canvas.rect(), skin, BackgroundColumn);
}

QRect DrawMenuFace(QImage &canvas, const QImage &skin)
{
    return Copy(canvas, MenuFacePlace, skin, MenuFace);
}

QRect DrawControlButtons(QImage &canvas, const QImage &skin)
{
    QRect changed;
    for (int i = 0; i < ButtonCount; ++i)
        changed |= Copy(canvas, ButtonPlace(i), skin, ButtonFace(i));
    changed |= Copy(canvas, OpenPlace, skin, OpenFace);
    return changed | Copy(canvas, CloseFacePlace, skin, CloseFace);
}

QRect DrawDigit(QImage &canvas, const QImage &skin, char digit, int place)
{
    if (digit < '0' || digit > '9' || place < 0 || place > 3)
        return QRect();
    return Copy(canvas, DigitPlace[place], skin, Digit(digit - '0'));
}

QRect DrawColon(QImage &canvas, const QImage &skin)
{
    return Copy(canvas, ColonPlace, skin, Colon);
}

QRect DrawIcon(QImage &canvas, const QImage &skin, StateIcon icon)
{
    return Copy(canvas, IconPlace, skin, IconPicture(icon));
}

QRect DrawTime(QImage &canvas, const QImage &skin, const std::string &text)
{
    static constexpr std::size_t positions[4] = {0, 1, 3, 4};
    QRect changed;
    for (int place = 0; place < 4; ++place) {
        const std::size_t i = positions[place];
        changed |= DrawDigit(canvas, skin, i < text.size() ? text[i] : ' ', place);
    }
    return changed | DrawColon(canvas, skin);
}

QRect DrawEmptyPositionBar(QImage &canvas, const QColor &back, const QColor &active)
{
    const QRect outline = Rect(1, 1, canvas.width(), canvas.height());
    Fill(canvas, outline, active);
    Fill(canvas, outline.adjusted(1, 1, -1, -1), back);
    return outline;
}

QRect DrawPositionFill(QImage &canvas, const QColor &active, int width)
{
    if (width < 1)
        return QRect();
    return Fill(canvas, QRect(QPoint(1, 1), QPoint(width - 1, canvas.height() - 2)), active);
}

int PositionFillWidth(std::int64_t position, std::int64_t length, int barWidth)
{
    if (length <= 0)
        return 0;
    return static_cast<int>((position * barWidth - 2) / length);
}

QRect ClearTitle(QImage &canvas, const QColor &back)
{
    return Fill(canvas, canvas.rect(), back);
}

QRect DrawTitleText(QImage &canvas, const QFont &font, const QColor &back, const QColor &active,
                    const std::string &text, int x)
{
    const QString shown = platform::DecodeText(text);
    const QFontMetrics metrics(font);
    const QRect cell(x, TitleY, metrics.horizontalAdvance(shown), metrics.height());
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(active);
    painter.setBackground(back);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
    return cell;
}

std::string TitleLine(const std::string &title, bool showLength, long long lengthSeconds)
{
    return title + (showLength ? " -[" + FormatTime(lengthSeconds) + "]-" : std::string(" "));
}

int TitleLineWidth(const QFont &font, const std::string &line)
{
    return QFontMetrics(font).horizontalAdvance(platform::DecodeText(line));
}

int LyricSungWidth(const QFont &font, const QString &text, int sung, int singing, double fraction)
{
    const QFontMetrics metrics(font);
    const int before = metrics.horizontalAdvance(text.left(sung));
    if (singing <= 0 || fraction <= 0)
        return before;
    const int through = metrics.horizontalAdvance(text.left(sung + singing));
    return before + static_cast<int>((through - before) * std::min(fraction, 1.0));
}

int LyricOffset(int textWidth, int sungWidth, int boxWidth)
{
    if (textWidth <= boxWidth)
        return 0;
    return std::clamp(boxWidth / 2 - sungWidth, boxWidth - textWidth, 0);
}

QRect DrawLyricLine(QImage &canvas, const QFont &font, const QColor &back, const QColor &active,
                    const QColor &noActive, const QString &text, int sungWidth)
{
    ClearTitle(canvas, back);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int x = LyricOffset(width, sungWidth, canvas.width());
    const QRect cell(x, TitleY, width, metrics.height());
    QPainter painter(&canvas);
    painter.setFont(font);
    const auto draw = [&](const QColor &color, const QRect &clip) {
        painter.setClipRect(clip);
        painter.setPen(color);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    };
    const int split = x + std::clamp(sungWidth, 0, width);
    draw(noActive, QRect(QPoint(split, 0), QPoint(canvas.width() - 1, canvas.height() - 1)));
    if (split > x)
        draw(active, QRect(QPoint(x, 0), QPoint(split - 1, canvas.height() - 1)));
    return canvas.rect();
}

} // namespace barpicture

std::string FormatTime(long long seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%2.2lld:%2.2lld", seconds / 60, seconds % 60);
    return text;
}
