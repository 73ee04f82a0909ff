#pragma once
// An image component: a picture the size of the widget that the program draws into
// (as into a canvas) and that the widget shows. Pixels never drawn stay transparent, so
// the parent shows through them, as the transparent images of the forms require.
// Mouse presses, moves, clicks and double-clicks are reported in widget coordinates. Every
// press of any button is a MouseDown, the second of a double click too (it is followed by
// DblClick for the left button); a left press released inside is a Click, except the
// second press of a double click.

#include <QImage>
#include <QWidget>

// Stretches sourceRect of source onto destRect of picture, replacing what was there (its
// transparency too); an empty source or source rectangle makes destRect see-through.
// Rectangles exclude their right and bottom edges. What TImage::StretchCopy draws.
void StretchCopyInto(QImage &picture, const QRect &destRect, const QImage &source,
                     const QRect &sourceRect);

class TImage : public QWidget
{
    Q_OBJECT
public:
    explicit TImage(QWidget *parent = nullptr);

    // The picture; its size follows the widget's (content kept at the top left).
    QImage &Canvas() { return canvas_; }
    const QImage &Canvas() const { return canvas_; }

    // Stretches sourceRect of source onto destRect of the picture and repaints that part.
    // Rectangles exclude their right and bottom edges, as the forms' rectangles do.
    void StretchCopy(const QRect &destRect, const QImage &source, const QRect &sourceRect);
    // Fills rect of the picture with color (opaque) and repaints that part.
    void FillRect(const QRect &rect, const QColor &color);
    // Makes the whole picture transparent again.
    void ClearCanvas();
    // Repaints rect (all of it when null) after drawing into Canvas() directly.
    void Changed(const QRect &rect = QRect());

    // When set, the picture is shown stretched over the whole widget (the caption strips).
    void SetPicture(const QImage &picture);
    const QImage &Picture() const { return picture_; }

signals:
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void Click();
    void DblClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QImage canvas_;
    QImage picture_;
    bool pressedInside_ = false;
};
