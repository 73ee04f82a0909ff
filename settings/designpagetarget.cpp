#include "designpagetarget.h"

#include "colorpanel.h"
#include "platform/widgets/image.h"

void ShowSkinPicture(TImage &image, const QImage &picture)
{
    image.SetPicture(picture);
    if (!picture.isNull())
        image.resize(picture.size());
}

TDesignPageTarget::TDesignPageTarget(const std::array<TColorPanel *, 3> &panels, TImage *picture)
    : panels_(panels)
    , picture_(picture)
{
}

void TDesignPageTarget::SetColor(TDesignColor which, TColor color)
{
    panels_.at(static_cast<std::size_t>(which))->SetColor(color);
}

void TDesignPageTarget::SetBitmap(const QImage &bitmap)
{
    ShowSkinPicture(*picture_, bitmap);
}
