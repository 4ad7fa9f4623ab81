#include "core/engine/rect.h"

#include <QImage>
#include <algorithm>

namespace ormica {

TRect NormalizeRect(TPoint a, TPoint b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool IsRectEmpty(const TRect& r)
{
    return r.Left >= r.Right || r.Top >= r.Bottom;
}

bool IntersectRect(TRect& result, const TRect& a, const TRect& b)
{
    result = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
              std::min(a.Bottom, b.Bottom)};
    if (IsRectEmpty(result)) {
        result = {};
        return false;
    }
    return true;
}

TRect ClipRectToBitmap(const QImage& bitmap, const TRect& r)
{
    TRect c = r;
    c.Left = std::max(c.Left, 0);
    c.Top = std::max(c.Top, 0);
    c.Right = std::min(c.Right, bitmap.width() - 1);
    c.Bottom = std::min(c.Bottom, bitmap.height() - 1);
    return c;
}

}  // namespace ormica
