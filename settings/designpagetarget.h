#pragma once
// The settings window's Design page as a place to read a design file into: its three
// colour panels and its skin picture. The program's design values are not touched.

#include "designfile.h"

#include <QImage>
#include <array>

class TColorPanel;
class TImage;

// Shows picture in image, which takes the picture's size. A null picture empties the image
// and leaves its size as it was.
void ShowSkinPicture(TImage &image, const QImage &picture);

class TDesignPageTarget final : public TDesignTarget
{
public:
    // panels in the order back, active, no-active; none of the pointers may be null and
    // all must outlive the target.
    TDesignPageTarget(const std::array<TColorPanel *, 3> &panels, TImage *picture);

    void SetColor(TDesignColor which, TColor color) override;
    void SetBitmap(const QImage &bitmap) override;

private:
    std::array<TColorPanel *, 3> panels_;
    TImage *picture_;
};
