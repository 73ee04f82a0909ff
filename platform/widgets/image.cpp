#include "image.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground, false);
    setMouseTracking(true);
    canvas_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    canvas_.fill(Qt::transparent);
}

void StretchCopyInto(QImage &picture, const QRect &destRect, const QImage &source,
                     const QRect &sourceRect)
{
    if (destRect.isEmpty())
        return;
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (source.isNull() || sourceRect.isEmpty()) {
        // Copying out of an empty skin gives an empty (see-through) picture.
        painter.fillRect(destRect, Qt::transparent);
    } else {
        painter.drawImage(destRect, source, sourceRect);
    }
}

void TImage::StretchCopy(const QRect &destRect, const QImage &source, const QRect &sourceRect)
{
    if (destRect.isEmpty())
        return;
    StretchCopyInto(canvas_, destRect, source, sourceRect);
    Changed(destRect);
}

void TImage::FillRect(const QRect &rect, const QColor &color)
{
    QPainter painter(&canvas_);
    painter.fillRect(rect, color);
    painter.end();
    Changed(rect);
}

void TImage::ClearCanvas()
{
    canvas_.fill(Qt::transparent);
    Changed();
}

void TImage::Changed(const QRect &rect)
{
    if (rect.isNull())
        update();
    else
        update(rect);
}

void TImage::SetPicture(const QImage &picture)
{
    picture_ = picture;
    update();
}

void TImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!picture_.isNull())
        painter.drawImage(rect(), picture_);
    painter.drawImage(0, 0, canvas_);
}

void TImage::resizeEvent(QResizeEvent *)
{
    if (canvas_.size() == size() || size().isEmpty())
        return;
    QImage grown(size(), QImage::Format_ARGB32_Premultiplied);
    grown.fill(Qt::transparent);
    QPainter painter(&grown);
    painter.drawImage(0, 0, canvas_);
    painter.end();
    canvas_ = grown;
}

void TImage::mousePressEvent(QMouseEvent *event)
{
    pressedInside_ = event->button() == Qt::LeftButton;
    const QPoint p = event->position().toPoint();
    emit MouseDown(event->button(), p.x(), p.y());
}

void TImage::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    emit MouseMove(p.x(), p.y());
}

void TImage::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressedInside_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressedInside_ = false;
    if (click)
        emit Click();
}

// The window system delivers the second press of a double click as this event alone: it is
// a press like any other, then the double click. Its release is no click, so a double click
// clicks once.
void TImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    pressedInside_ = false;
    const QPoint p = event->position().toPoint();
    emit MouseDown(event->button(), p.x(), p.y());
    if (event->button() == Qt::LeftButton)
        emit DblClick();
}
