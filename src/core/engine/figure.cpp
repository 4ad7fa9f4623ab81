#include "core/engine/figure.h"

#include "core/engine/img_service.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>

namespace ormica {

namespace {

inline void invertPixel(QImage& picture, int x, int y)
{
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height())
        return;
    uchar* p = picture.scanLine(y) + 3 * x;
    p[0] = uchar(~p[0]);
    p[1] = uchar(~p[1]);
    p[2] = uchar(~p[2]);
}

// The outline walked once round, so that every pixel is inverted once and
// the dots of a dotted pen fall on every other pixel of the walk.
QRect invertRectangle(QImage& picture, const TRect& r, bool dotted)
{
    int step = 0;
    auto visit = [&](int x, int y) {
        if (!dotted || (step & 1) == 0)
            invertPixel(picture, x, y);
        ++step;
    };
    if (r.Left == r.Right || r.Top == r.Bottom) {  // a line one pixel wide
        for (int y = r.Top; y <= r.Bottom; ++y)
            for (int x = r.Left; x <= r.Right; ++x)
                visit(x, y);
    } else {
        for (int x = r.Left; x < r.Right; ++x)
            visit(x, r.Top);
        for (int y = r.Top; y < r.Bottom; ++y)
            visit(r.Right, y);
        for (int x = r.Right; x > r.Left; --x)
            visit(x, r.Bottom);
        for (int y = r.Bottom; y > r.Top; --y)
            visit(r.Left, y);
    }
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom));
}

// Every pixel the painter marks in a mask over the bounds is inverted once.
template <typename Paint>
QRect invertMasked(QImage& picture, const TRect& n, Paint paint)
{
    const QRect bounds = QRect(QPoint(n.Left, n.Top), QPoint(n.Right, n.Bottom)).adjusted(-1, -1, 1, 1) &
                         QRect(0, 0, picture.width(), picture.height());
    if (bounds.isEmpty())
        return {};
    QImage mask(bounds.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.translate(-bounds.topLeft());
        painter.setBrush(Qt::NoBrush);
        paint(painter);
    }
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* m = mask.constScanLine(y);
        for (int x = 0; x < mask.width(); ++x)
            if (m[x] >= 128)
                invertPixel(picture, bounds.x() + x, bounds.y() + y);
    }
    return bounds;
}

QPen maskPen(bool dotted)
{
    QPen pen(Qt::white, 0, dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCosmetic(true);
    return pen;
}

// Other figures: drawn by the painter.
QRect invertPainted(QImage& picture, TPoint p1, TPoint p2, int figure, bool dotted)
{
    const TRect n = NormalizeRect(p1, p2);
    return invertMasked(picture, n, [&](QPainter& painter) {
        painter.setPen(maskPen(dotted));
        const QRect box(QPoint(n.Left, n.Top), QPoint(n.Right, n.Bottom));
        switch (figure) {
        case fgLine:
            painter.drawLine(p1.x, p1.y, p2.x, p2.y);
            break;
        case fgEllipse:
            painter.drawEllipse(box);
            break;
        default: {
            // Corner ellipse (P1 - P2) / 2 on each axis, truncated.
            const int rx = std::abs((p1.x - p2.x) / 2);
            const int ry = std::abs((p1.y - p2.y) / 2);
            painter.drawRoundedRect(box, rx / 2.0, ry / 2.0);
            break;
        }
        }
    });
}

}  // namespace

QRect InvertFigure(QImage& picture, TPoint p1, TPoint p2, int figure, bool dotted)
{
    if (picture.isNull() || !Is24Bit(picture))
        return {};
    if (figure == fgRectangle)
        return invertRectangle(picture, NormalizeRect(p1, p2), dotted) & QRect(0, 0, picture.width(), picture.height());
    return invertPainted(picture, p1, p2, figure, dotted);
}

}  // namespace ormica

namespace ormica {

QRect InvertPolyline(QImage& picture, std::span<const TPoint> points)
{
    if (picture.isNull() || !Is24Bit(picture) || points.empty())
        return {};
    TRect n{points[0].x, points[0].y, points[0].x, points[0].y};
    QPolygon polygon;
    for (const TPoint& p : points) {
        n.Left = std::min(n.Left, p.x);
        n.Top = std::min(n.Top, p.y);
        n.Right = std::max(n.Right, p.x);
        n.Bottom = std::max(n.Bottom, p.y);
        polygon << QPoint(p.x, p.y);
    }
    return invertMasked(picture, n, [&](QPainter& painter) {
        painter.setPen(maskPen(false));
        painter.drawPolyline(polygon);
    });
}

}  // namespace ormica
