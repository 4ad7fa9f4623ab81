#pragma once

#include <cstdint>

class QImage;

namespace ormica {

struct TPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Inclusive corners: (Right, Bottom) belongs to the rectangle.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

TRect NormalizeRect(TPoint a, TPoint b);

// Empty when Left >= Right or Top >= Bottom: a one-pixel-wide strip counts as empty.
bool IsRectEmpty(const TRect& r);

// The common part of a and b; all zeros and false when it is empty.
bool IntersectRect(TRect& result, const TRect& a, const TRect& b);

// Raises negative Left/Top to 0 and lowers Right/Bottom to the last column/row.
TRect ClipRectToBitmap(const QImage& bitmap, const TRect& r);

}  // namespace ormica
