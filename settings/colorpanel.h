#pragma once
// A colour panel of the Design page: a raised panel whose background is one colour of
// the design being edited, with its caption in the readable contrast colour.

#include "app/design.h"

#include <QLabel>

class TColorPanel : public QLabel
{
    Q_OBJECT
public:
    explicit TColorPanel(QWidget *parent = nullptr);

    // The panel's colour in the stored form, top byte included. Until SetColor it is the
    // standard face colour the panel is drawn in.
    TColor Color() const { return color_; }
    // Fills the panel with color and draws the caption in CaptionColor(color).
    void SetColor(TColor color);

signals:
    // A left press and release both on the panel.
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TColor color_;
    bool pressed_ = false;
};
