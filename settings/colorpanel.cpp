#include "colorpanel.h"

#include "contrast.h"

#include <QMouseEvent>
#include <QPalette>

TColorPanel::TColorPanel(QWidget *parent)
    : QLabel(parent)
    , color_(FromQColor(palette().color(QPalette::Button)))
{
}

void TColorPanel::SetColor(TColor color)
{
    color_ = color;
    QPalette colors = palette();
    colors.setColor(QPalette::Window, ToQColor(color));
    colors.setColor(QPalette::WindowText, ToQColor(CaptionColor(color)));
    setPalette(colors);
    setAutoFillBackground(true);
}

void TColorPanel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TColorPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit Click();
}
