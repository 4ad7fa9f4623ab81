#pragma once

#include "core/engine/rect.h"

#include <QImage>
#include <QRect>
#include <span>

namespace ormica {

// The figures a selection is drawn with.
enum TFigure : std::uint8_t { fgLine = 0, fgRectangle = 1, fgEllipse = 2, fgRoundRect = 3 };

// Inverts the pixels of a figure between two points on a 24-bit picture (a
// black pen in not-xor mode): drawing the same figure again restores every
// pixel exactly. Solid or dotted (every other pixel along the outline).
// The rectangle's outline runs through both corner pixels. Parts outside the
// picture are clipped. Returns the area touched, for a partial repaint.
QRect InvertFigure(QImage& picture, TPoint p1, TPoint p2, int figure, bool dotted);

// Inverts a solid polyline through the points, each pixel once (a shared
// corner too), so that drawing it again restores the picture.
QRect InvertPolyline(QImage& picture, std::span<const TPoint> points);

}  // namespace ormica
