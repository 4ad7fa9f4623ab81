#pragma once

#include "core/engine/color.h"

#include <QColor>

namespace ormica {

// A colour of the program (system colours resolved) as Qt paints it.
inline QColor ToQColor(TColor color)
{
    const TBGRTriple c = ColorToBGR(ResolveColor(color));
    return QColor(c.r, c.g, c.b);
}

}  // namespace ormica
