#include "core/transfer/graph_scale.h"

#include "core/engine/message_sink.h"
#include "core/transfer/graph_label.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace ormica {

namespace {

// Far beyond any image, yet safe to hand to a painter and to add to.
constexpr long double kPixelLimit = 1 << 28;

int roundPixel(long double v)
{
    if (std::isnan(v))
        return 0;
    return int(std::nearbyint(std::clamp(v, -kPixelLimit, kPixelLimit)));
}

// The axis goes through 0 when the range holds it inside, else along the end nearer to 0.
long double originOf(long double min, long double max)
{
    if (min < 0 && max > 0)
        return 0;
    if (min >= 0 && max > 0)
        return min;
    return max;
}

void warn(const QString& text)
{
    messages().warning(text);
}

}  // namespace

QString TGraphScale::NoArrayMessage()
{
    return QCoreApplication::translate("GraphScale", "TGraphXY : Массив функции не задан");
}
QString TGraphScale::ZeroScaleMessage()
{
    return QCoreApplication::translate("GraphScale", "TGraphXY : По одной из осей нулевой масштаб");
}
QString TGraphScale::TooFewPointsMessage()
{
    return QCoreApplication::translate("GraphScale", "TGraphXY : Чило точек функции меньше двух");
}
QString TGraphScale::ZeroRangeXMessage()
{
    return QCoreApplication::translate("GraphScale", "TGraphXY : Функция с нулевым размером диапазона X");
}
QString TGraphScale::WrongRangeXMessage()
{
    return QCoreApplication::translate("GraphScale", "TGraphXY : Функция с неправильным диапазоном по X");
}
QString TGraphScale::NoScaleXMessage()
{
    return QCoreApplication::translate("GraphScale", "GraphXY : Не могу вычислить масштаб для оси X");
}
QString TGraphScale::NoScaleYMessage()
{
    return QCoreApplication::translate("GraphScale", "GraphXY : Не могу вычислить масштаб для оси Y");
}
QString TGraphScale::GridZeroRangeXMessage()
{
    return QCoreApplication::translate("GraphScale", "TGraphXY : Функция с нулевым диапазоном по X");
}
QString TGraphScale::GridZeroRangeYMessage()
{
    return QCoreApplication::translate("GraphScale", "TGraphXY : Функция с нулевым диапазоном по Y");
}
QString TGraphScale::WrongScalesMessage()
{
    return QCoreApplication::translate("GraphScale", "TGraphXY : Неправильные масштабы по осям");
}
QString TGraphScale::DrawFailedMessage()
{
    return QCoreApplication::translate("GraphScale", "TGraphXY : не могу прорисовать график");
}
QString TGraphScale::DefaultCaption()
{
    return QCoreApplication::translate("GraphScale", "Панель VerarIZi1 для отображения табличных функций");
}

std::optional<TGraphLayout> TGraphScale::LayoutForPanel(QSize panel)
{
    if (panel.width() < kMinPanelWidth || panel.height() < kMinPanelHeight)
        return std::nullopt;
    TGraphLayout layout;
    layout.Bevel = QRect(6, 30, panel.width() - 12, panel.height() - 36);
    layout.Image = QRect(10, 34, panel.width() - 20, panel.height() - 44);
    layout.Caption = QPoint(6, 6);
    return layout;
}

void TGraphScale::Reset()
{
    DataXMin = DataXMax = DataYMin = DataYMax = 0;
    AxisXMin = AxisXMax = AxisYMin = AxisYMax = 0;
    RangeX = RangeY = 0;
    ScaleX = ScaleY = 0;
}

TGraphDrawPlan TGraphScale::DrawFunction(const TGraphArr* points)
{
    TGraphDrawPlan plan;
    if (!points) {
        warn(NoArrayMessage());
        return plan;
    }
    if (!ScalesPositive())
        plan.Redraw = SetFunction(*points);
    if (ScalesPositive())
        plan.Polyline = PlotPolyline(points);
    else
        warn(ZeroScaleMessage());
    return plan;
}

bool TGraphScale::SetFunction(const TGraphArr& points)
{
    ScaleX = ScaleY = 0;
    if (points.size() < 2) {
        warn(TooFewPointsMessage());
        return false;
    }
    DataXMin = DataXMax = points[0].X;
    DataYMin = DataYMax = points[0].Y;
    for (const TGraphPoint& p : points) {
        if (p.X < DataXMin)
            DataXMin = p.X;
        if (p.X > DataXMax)
            DataXMax = p.X;
        if (p.Y < DataYMin)
            DataYMin = p.Y;
        if (p.Y > DataYMax)
            DataYMax = p.Y;
    }
    if (!(DataXMin < DataXMax)) {
        warn(ZeroRangeXMessage());
        return false;
    }
    ComputeAxisX();
    ComputeAxisY();
    return true;
}

void TGraphScale::ComputeAxisX()
{
    if (DataXMax <= DataXMin) {
        warn(WrongRangeXMessage());
        return;
    }
    AxisXMin = DataXMin;
    AxisXMax = DataXMax;
    RangeX = std::fabs(DataXMax - DataXMin);
    OriginX = originOf(DataXMin, DataXMax);
    AxisPosX = OriginX;
    if (RangeX > 0) {
        ScaleX = (Width - 1) / RangeX;
    } else {
        ScaleX = 0;
        warn(NoScaleXMessage());
    }
}

void TGraphScale::ComputeAxisY()
{
    if (DataYMax != DataYMin) {
        AxisYMin = DataYMin;
        AxisYMax = DataYMax;
        RangeY = std::fabs(DataYMax - DataYMin);
        OriginY = originOf(DataYMin, DataYMax);
        ScaleY = (Height - 1) / RangeY;
    } else if (std::fabs(DataYMin) <= 1e-100L) {
        DataYMin = AxisYMin = -1;
        DataYMax = AxisYMax = 1;
        RangeY = 2;
        ScaleY = (Height - 1) / 2.0L;
        OriginY = 0;
    } else {
        const long double c = DataYMin;
        if (c > 0) {
            AxisYMin = 0;
            AxisYMax = 1.1L * c;
        } else {
            AxisYMin = 1.1L * c;
            AxisYMax = 0;
        }
        RangeY = std::fabs(1.1L * c);
        OriginY = 0;
        if (!(RangeY > 0)) {
            ScaleY = 0;
            warn(NoScaleYMessage());
            return;
        }
        ScaleY = (Height - 1) / RangeY;
    }
    AxisPosY = OriginY;
}

int TGraphScale::XToPixel(long double x) const
{
    if (ScaleX <= 0)
        return 0;
    return roundPixel((x - AxisXMin) * ScaleX);
}

int TGraphScale::YToPixel(long double y) const
{
    if (ScaleY <= 0)
        return 0;
    return Height - 1 - roundPixel((y - AxisYMin) * ScaleY);
}

TGraphGrid TGraphScale::grid(long double range, unsigned short div, long double pos, long double min, long double max,
                             const QString& fmt, bool alongX) const
{
    TGraphGrid g;
    const auto line = [&](long double v) {
        g.Lines.push_back({v, alongX ? XToPixel(v) : YToPixel(v), FormatGraphLabel(fmt, v)});
    };
    const long double step = range / div;
    // Steps are accumulated, not multiplied, so the ends fall where the sums fall.
    for (long double v = pos - step; v > min; v -= step) {
        line(v);
        if (v - step == v)
            break;  // a step lost in the value's precision
    }
    for (long double v = pos + step; v < max; v += step) {
        line(v);
        if (v + step == v)
            break;
    }
    g.AxisPixel = alongX ? XToPixel(pos) : YToPixel(pos);
    return g;
}

TGraphGrid TGraphScale::GridX() const
{
    if (RangeX <= 0) {
        warn(GridZeroRangeXMessage());
        return {};
    }
    return grid(RangeX, GridDivX, AxisPosX, AxisXMin, AxisXMax, FmtX, true);
}

TGraphGrid TGraphScale::GridY() const
{
    if (RangeY <= 0) {
        warn(GridZeroRangeYMessage());
        return {};
    }
    return grid(RangeY, GridDivY, AxisPosY, AxisYMin, AxisYMax, FmtY, false);
}

QPoint TGraphScale::LabelCornerX(int pixel, int textHeight) const
{
    const int y0 = TickRowX();
    const int y = y0 + textHeight + 4 > Height ? y0 - (textHeight + 4) : y0 + 4;
    return {pixel, y};
}

QPoint TGraphScale::LabelCornerY(int pixel, int textWidth) const
{
    const int x0 = TickColumnY();
    const int x = x0 + textWidth + 8 > Width ? x0 - (textWidth + 8) : x0 + 8;
    return {x, pixel};
}

std::optional<QPoint> TGraphScale::LabelTextOrigin(QPoint corner, const QString& text, QSize textSize) const
{
    if (text.isEmpty() || Width < corner.x() + textSize.width() + 2 || Height < corner.y() + textSize.height() + 2)
        return std::nullopt;
    return QPoint(corner.x() + 2, corner.y() + 2);
}

std::vector<QPoint> TGraphScale::PlotPolyline(const TGraphArr* points) const
{
    if (!points) {
        warn(NoArrayMessage());
        return {};
    }
    if (!ScalesPositive()) {
        warn(WrongScalesMessage());
        return {};
    }
    if (points->size() < 2) {
        warn(TooFewPointsMessage());
        return {};
    }
    std::vector<QPoint> poly;
    poly.reserve(points->size());
    for (const TGraphPoint& p : *points)
        poly.emplace_back(XToPixel(p.X), YToPixel(p.Y));
    return poly;
}

int TGraphScale::PixelToIndex(int x, const TGraphArr* points, int imageWidth)
{
    if (x < 0 || !points || points->size() < 2 || imageWidth <= 0)
        return -1;
    const long double n = points->size();
    const long double index = std::trunc(n / imageWidth * x);
    const long double last = n - 1;
    return int(std::min(index, last));
}

}  // namespace ormica
