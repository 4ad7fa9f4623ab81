#include "ui/engine/flow_layout.h"

#include <QWidget>

namespace ormica {

TFlowLayout::TFlowLayout(QWidget* parent, int hSpacing, int vSpacing)
    : QLayout(parent), hSpacing_(hSpacing), vSpacing_(vSpacing)
{
}

TFlowLayout::~TFlowLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void TFlowLayout::addItem(QLayoutItem* item)
{
    items_.append(item);
}

int TFlowLayout::count() const
{
    return int(items_.size());
}

QLayoutItem* TFlowLayout::itemAt(int index) const
{
    return items_.value(index);
}

QLayoutItem* TFlowLayout::takeAt(int index)
{
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

Qt::Orientations TFlowLayout::expandingDirections() const
{
    return {};
}

bool TFlowLayout::hasHeightForWidth() const
{
    return true;
}

int TFlowLayout::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false);
}

QSize TFlowLayout::minimumSize() const
{
    // The widest item alone on its row.
    QSize size;
    for (const QLayoutItem* item : items_)
        if (!item->isEmpty())
            size = size.expandedTo(item->sizeHint());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize TFlowLayout::sizeHint() const
{
    // Everything on one row.
    int width = 0;
    bool first = true;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        width += item->sizeHint().width() + (first ? 0 : hSpacing_);
        first = false;
    }
    const QMargins m = contentsMargins();
    width += m.left() + m.right();
    return QSize(width, heightForWidth(width));
}

void TFlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int TFlowLayout::arrange(const QRect& rect, bool apply) const
{
    const QMargins m = contentsMargins();
    const QRect area = rect.marginsRemoved(m);
    int y = area.y();
    QList<QLayoutItem*> row;
    int rowWidth = 0;
    int rowHeight = 0;
    bool anyRow = false;
    auto placeRow = [&] {
        if (row.isEmpty())
            return;
        if (anyRow)
            y += vSpacing_;
        if (apply) {
            int x = area.x();
            for (QLayoutItem* item : row) {
                const QSize s = item->sizeHint();
                item->setGeometry(QRect(QPoint(x, y + (rowHeight - s.height()) / 2), s));
                x += s.width() + hSpacing_;
            }
        }
        y += rowHeight;
        anyRow = true;
        row.clear();
        rowWidth = 0;
        rowHeight = 0;
    };
    for (QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        const QSize s = item->sizeHint();
        const int needed = row.isEmpty() ? s.width() : rowWidth + hSpacing_ + s.width();
        if (!row.isEmpty() && needed > area.width())
            placeRow();
        rowWidth = row.isEmpty() ? s.width() : needed;
        rowHeight = qMax(rowHeight, s.height());
        row.append(item);
    }
    placeRow();
    return y - rect.y() + m.bottom();
}

}  // namespace ormica
