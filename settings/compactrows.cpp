#include "compactrows.h"

#include <QListWidget>
#include <QProxyStyle>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

constexpr int CheckBoxSide = CompactRowHeight - 2;

class TCompactRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int height = std::max(CompactRowHeight, option.fontMetrics.height());
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), height);
    }
};

// The list's own style: the application's, with check boxes one pixel inside the row.
class TCompactRowStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
            return CheckBoxSide;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void UseCompactRows(QListWidget *list)
{
    list->setItemDelegate(new TCompactRowDelegate(list));
    auto *style = new TCompactRowStyle;
    style->setParent(list);
    list->setStyle(style);
}
