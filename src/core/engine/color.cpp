#include "core/engine/color.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

namespace ormica {

TBGRTriple ColorToBGR(TColor color)
{
    return {std::uint8_t(color >> 16), std::uint8_t(color >> 8), std::uint8_t(color)};
}

namespace {

QPalette::ColorRole roleOf(TColor color)
{
    switch (color & 0xFF) {
    case 5:
        return QPalette::Base;  // window background
    case 8:
        return QPalette::Text;  // window text
    case 15:
        return QPalette::Button;  // button face
    case 18:
        return QPalette::ButtonText;  // button text
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    default:
        return QPalette::Window;
    }
}

}  // namespace

TColor ResolveColor(TColor color)
{
    if (color <= 0x00FFFFFF)
        return color;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return color == clWindowText ? clBlack : (color == clWindow ? clWhite : RGBToColor(240, 240, 240));
    const QColor c = QGuiApplication::palette().color(QPalette::Active, roleOf(color));
    return RGBToColor(c.red(), c.green(), c.blue());
}

TBGRTriple ColorToBGRTriple(TColor color)
{
    if (color <= 0x00FFFFFF)
        return ColorToBGR(color);
    // Resolve through a one-pixel bitmap, as any painted pixel would be.
    QImage pixel(1, 1, QImage::Format_BGR888);
    if (pixel.isNull())
        return {127, 127, 127};
    const TBGRTriple rgb = ColorToBGR(ResolveColor(color));
    pixel.fill(QColor(rgb.r, rgb.g, rgb.b));
    const uchar* p = pixel.constScanLine(0);
    return {p[0], p[1], p[2]};
}

}  // namespace ormica
