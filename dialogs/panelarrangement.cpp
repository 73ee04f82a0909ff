#include "panelarrangement.h"

#include "hostpanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <algorithm>

namespace {

// The right control reaches down past the bottom row.
bool RightTakesFullHeight(TOtDialogControlAlign align)
{
    return align == otdaRight || align == otdaRightBottom;
}

bool RightStretches(TOtDialogControlAlign align)
{
    return RightTakesFullHeight(align) || align == otdaBottomRight;
}

bool BottomStretches(TOtDialogControlAlign align)
{
    return align == otdaBottom || align == otdaBottomRight || align == otdaRightBottom;
}

} // namespace

PanelArrangement::PanelArrangement(QGridLayout &grid, HostPanel *right, HostPanel *bottom)
    : grid_(grid)
    , right_(right)
    , bottom_(bottom)
    , standardRows_(grid.rowCount())
    , standardColumns_(grid.columnCount())
{
}

void PanelArrangement::Apply(TOtDialogControlAlign align)
{
    if (right_)
        PlaceRight(align);
    if (bottom_)
        PlaceBottom(align);
    grid_.invalidate();
}

int PanelArrangement::Bx() const
{
    return grid_.contentsMargins().left();
}

QSize PanelArrangement::Room() const
{
    QSize room(0, 0);
    if (right_)
        room.rwidth() += HorizontalGap() + right_->DesignSize().width();
    if (bottom_)
        room.rheight() += std::max(0, grid_.verticalSpacing()) + bottom_->DesignSize().height();
    return room;
}

// The grid puts its own spacing between columns; the right panel's box adds the rest of bx.
int PanelArrangement::HorizontalGap() const
{
    return std::max(Bx(), std::max(0, grid_.horizontalSpacing()));
}

void PanelArrangement::PlaceRight(TOtDialogControlAlign align)
{
    const bool stretch = RightStretches(align);
    right_->setSizePolicy(QSizePolicy::Fixed,
                          stretch ? QSizePolicy::Expanding : QSizePolicy::Fixed);
    if (rightBox_) {
        grid_.removeItem(rightBox_);
    } else {
        rightBox_ = new QHBoxLayout;
        const int spacing = std::max(0, grid_.horizontalSpacing());
        rightBox_->setContentsMargins(HorizontalGap() - spacing, 0, 0, 0);
        rightBox_->addWidget(right_);
    }
    rightBox_->setAlignment(right_, stretch ? Qt::AlignLeft : Qt::AlignLeft | Qt::AlignTop);
    const int rows = standardRows_ + (RightTakesFullHeight(align) && bottom_ ? 1 : 0);
    grid_.addLayout(rightBox_, 0, standardColumns_, rows, 1);
}

void PanelArrangement::PlaceBottom(TOtDialogControlAlign align)
{
    const bool stretch = BottomStretches(align);
    bottom_->setSizePolicy(stretch ? QSizePolicy::Expanding : QSizePolicy::Fixed,
                           QSizePolicy::Fixed);
    grid_.removeWidget(bottom_);
    const int columns = standardColumns_ + (right_ && !RightTakesFullHeight(align) ? 1 : 0);
    const Qt::Alignment alignment = stretch ? Qt::Alignment() : Qt::AlignLeft | Qt::AlignTop;
    grid_.addWidget(bottom_, standardRows_, 0, 1, columns, alignment);
}
