#include "core/transfer/graph_scale.h"

#include "recorders.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace ormica {
namespace {

using test::RecordingSink;

// The plot image of a 409 x 193 panel: 389 x 149.
TGraphScale histogramPanelScale()
{
    TGraphScale s;
    const auto layout = TGraphScale::LayoutForPanel(QSize(409, 193));
    s.Width = layout->Image.width();
    s.Height = layout->Image.height();
    return s;
}

TGraphArr ramp(long double x0, long double x1, long double y0, long double y1)
{
    return {{x0, y0}, {(x0 + x1) / 2, (y0 + y1) / 2}, {x1, y1}};
}

std::vector<int> pixels(const TGraphGrid& g)
{
    std::vector<int> p;
    for (const auto& l : g.Lines)
        p.push_back(l.Pixel);
    return p;
}

TEST(GraphScale, LayoutOnPanel)
{
    const auto l = TGraphScale::LayoutForPanel(QSize(409, 193));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->Image, QRect(10, 34, 389, 149));
    EXPECT_EQ(l->Bevel, QRect(6, 30, 397, 157));
    EXPECT_EQ(l->Caption, QPoint(6, 6));
    // The panel must be wider than 62 and higher than 66.
    EXPECT_FALSE(TGraphScale::LayoutForPanel(QSize(62, 200)));
    EXPECT_FALSE(TGraphScale::LayoutForPanel(QSize(200, 66)));
    const auto smallest = TGraphScale::LayoutForPanel(QSize(63, 67));
    ASSERT_TRUE(smallest);
    EXPECT_EQ(smallest->Image.size(), QSize(43, 23));
}

TEST(GraphScale, HistogramRangeFillsImage)
{
    RecordingSink sink;
    TGraphScale s = histogramPanelScale();
    const TGraphArr f = ramp(0, 255, 0, 1000);
    const TGraphDrawPlan plan = s.DrawFunction(&f);
    EXPECT_TRUE(sink.silent());
    EXPECT_TRUE(plan.Redraw);
    EXPECT_EQ(s.ScaleX, 388.0L / 255);
    EXPECT_EQ(s.ScaleY, 148.0L / 1000);
    EXPECT_EQ(s.RangeX, 255);
    EXPECT_EQ(s.RangeY, 1000);
    EXPECT_EQ(s.OriginX, 0);
    EXPECT_EQ(s.OriginY, 0);
    // Y axis on the left edge, X axis on the bottom row; range ends on the last pixels.
    EXPECT_EQ(s.XToPixel(0), 0);
    EXPECT_EQ(s.YToPixel(0), 148);
    EXPECT_EQ(s.XToPixel(255), 388);
    EXPECT_EQ(s.YToPixel(1000), 0);
    // The middle point (127.5, 500): round(194) = 194, 148 - round(74) = 74.
    EXPECT_EQ(plan.Polyline, (std::vector<QPoint>{{0, 148}, {194, 74}, {388, 0}}));
}

TEST(GraphScale, GridAnchoredAtAxisWithoutRangeEnds)
{
    RecordingSink sink;
    struct CLocale {
        QLocale previous;
        CLocale() { QLocale::setDefault(QLocale::c()); }
        ~CLocale() { QLocale::setDefault(previous); }
    } locale;
    TGraphScale s = histogramPanelScale();
    s.FmtX = "%3.0f";
    const TGraphArr f = ramp(0, 255, 0, 1000);
    s.DrawFunction(&f);

    // X: step 25.5, lines 25.5 k for k = 1..9 (255 is the range end), at
    // round(25.5 k * 388 / 255) = round(38.8 k).
    const TGraphGrid gx = s.GridX();
    EXPECT_EQ(pixels(gx), (std::vector<int>{39, 78, 116, 155, 194, 233, 272, 310, 349}));
    EXPECT_EQ(gx.AxisPixel, 0);
    ASSERT_EQ(gx.Lines.size(), 9u);
    EXPECT_EQ(gx.Lines[0].Label, " 26");
    EXPECT_EQ(gx.Lines[2].Label, " 77");  // 76.5
    EXPECT_EQ(gx.Lines[8].Label, "230");  // 229.5

    // Y: step 100, lines at 148 - round(14.8 k).
    const TGraphGrid gy = s.GridY();
    EXPECT_EQ(pixels(gy), (std::vector<int>{133, 118, 104, 89, 74, 59, 44, 30, 15}));
    EXPECT_EQ(gy.AxisPixel, 148);
    EXPECT_EQ(gy.Lines[0].Label, "100.00");
    EXPECT_EQ(gy.Lines[8].Value, 900);
    EXPECT_TRUE(sink.silent());
}

TEST(GraphScale, OriginsFollowTheSignOfTheRange)
{
    RecordingSink sink;
    TGraphScale s = histogramPanelScale();
    // X -10..30 holds 0 inside: the Y axis at X = 0, pixel 10 * 388 / 40 = 97.
    // Y -30..-10 is all negative: the X axis along its top end, row 0.
    const TGraphArr f = ramp(-10, 30, -30, -10);
    s.DrawFunction(&f);
    EXPECT_EQ(s.OriginX, 0);
    EXPECT_EQ(s.OriginY, -10);
    EXPECT_EQ(s.AxisPosX, 0);
    EXPECT_EQ(s.AxisPosY, -10);
    EXPECT_EQ(s.TickColumnY(), 97);
    EXPECT_EQ(s.TickRowX(), 0);

    // X grid, step 4, from the axis: left -4, -8 (-12 is outside), right 4 .. 28.
    const TGraphGrid gx = s.GridX();
    std::vector<long double> values;
    for (const auto& l : gx.Lines)
        values.push_back(l.Value);
    EXPECT_EQ(values, (std::vector<long double>{-4, -8, 4, 8, 12, 16, 20, 24, 28}));
    EXPECT_EQ(gx.AxisPixel, 97);
    EXPECT_EQ(gx.Lines[0].Pixel, 58);  // round(6 * 9.7) = round(58.2)

    // Y grid, step 2, only downward from -10: -12 .. -28, axis on row 0.
    const TGraphGrid gy = s.GridY();
    ASSERT_EQ(gy.Lines.size(), 9u);
    EXPECT_EQ(gy.Lines.front().Value, -12);
    EXPECT_EQ(gy.Lines.back().Value, -28);
    EXPECT_EQ(gy.AxisPixel, 0);
    EXPECT_TRUE(sink.silent());

    // Both ranges positive: the origin is at the minimum.
    s.Reset();
    const TGraphArr g = ramp(5, 15, 2, 4);
    s.DrawFunction(&g);
    EXPECT_EQ(s.OriginX, 5);
    EXPECT_EQ(s.OriginY, 2);
}

TEST(GraphScale, FlatFunctions)
{
    RecordingSink sink;
    TGraphScale s = histogramPanelScale();

    // All Y zero: range -1..+1, ScaleY = 148 / 2, the curve on row 148 - 74 = 74.
    const TGraphArr zero = ramp(0, 10, 0, 0);
    const TGraphDrawPlan plan = s.DrawFunction(&zero);
    EXPECT_EQ(s.AxisYMin, -1);
    EXPECT_EQ(s.AxisYMax, 1);
    EXPECT_EQ(s.DataYMin, -1);
    EXPECT_EQ(s.DataYMax, 1);
    EXPECT_EQ(s.RangeY, 2);
    EXPECT_EQ(s.ScaleY, 74);
    ASSERT_EQ(plan.Polyline.size(), 3u);
    for (const QPoint& p : plan.Polyline)
        EXPECT_EQ(p.y(), 74);
    EXPECT_EQ(s.TickRowX(), 74);

    // All Y 5: axis 0..5.5, the data kept; 5 lands on 148 - round(5 * 148 / 5.5) = 148 - 135.
    s.Reset();
    const TGraphArr five = ramp(0, 10, 5, 5);
    const TGraphDrawPlan p5 = s.DrawFunction(&five);
    EXPECT_EQ(s.AxisYMin, 0);
    EXPECT_NEAR(double(s.AxisYMax), 5.5, 1e-15);
    EXPECT_EQ(s.RangeY, s.AxisYMax);
    EXPECT_EQ(s.DataYMin, 5);
    EXPECT_EQ(s.OriginY, 0);
    EXPECT_EQ(p5.Polyline.at(0).y(), 13);
    EXPECT_EQ(s.YToPixel(0), 148);

    // All Y -5: axis -5.5..0, the X axis at 0 on the top row.
    s.Reset();
    const TGraphArr minus = ramp(0, 10, -5, -5);
    s.DrawFunction(&minus);
    EXPECT_NEAR(double(s.AxisYMin), -5.5, 1e-15);
    EXPECT_EQ(s.AxisYMax, 0);
    EXPECT_EQ(s.YToPixel(0), 0);
    EXPECT_EQ(s.YToPixel(-5), 135);
    EXPECT_TRUE(sink.silent());
}

TEST(GraphScale, RefusedArraysReportAndLeaveScalesZero)
{
    TGraphScale s = histogramPanelScale();
    {
        RecordingSink sink;
        const TGraphArr one{{1, 2}};
        const TGraphDrawPlan plan = s.DrawFunction(&one);
        EXPECT_EQ(sink.warnings, (QStringList{"TGraphXY : Чило точек функции меньше двух",
                                              "TGraphXY : По одной из осей нулевой масштаб"}));
        EXPECT_FALSE(plan.Redraw);
        EXPECT_TRUE(plan.Polyline.empty());
    }
    {
        RecordingSink sink;
        const TGraphArr sameX{{3, 0}, {3, 5}, {3, 9}};
        const TGraphDrawPlan plan = s.DrawFunction(&sameX);
        EXPECT_EQ(sink.warnings, (QStringList{"TGraphXY : Функция с нулевым размером диапазона X",
                                              "TGraphXY : По одной из осей нулевой масштаб"}));
        EXPECT_FALSE(plan.Redraw);
        EXPECT_TRUE(plan.Polyline.empty());
        EXPECT_EQ(s.ScaleX, 0);
        EXPECT_EQ(s.ScaleY, 0);
    }
    {
        RecordingSink sink;
        const TGraphDrawPlan plan = s.DrawFunction(nullptr);
        EXPECT_EQ(sink.warnings, QStringList{"TGraphXY : Массив функции не задан"});
        EXPECT_TRUE(plan.Polyline.empty());
    }
    {
        // Without scales nothing maps; the grid of a zero range refuses.
        RecordingSink sink;
        s.Reset();
        EXPECT_EQ(s.XToPixel(100), 0);
        EXPECT_EQ(s.YToPixel(100), 0);
        EXPECT_TRUE(s.GridX().Lines.empty());
        EXPECT_TRUE(s.GridY().Lines.empty());
        EXPECT_TRUE(s.PlotPolyline(nullptr).empty());
        const TGraphArr two{{0, 0}, {1, 1}};
        EXPECT_TRUE(s.PlotPolyline(&two).empty());
        EXPECT_EQ(
            sink.warnings,
            (QStringList{"TGraphXY : Функция с нулевым диапазоном по X", "TGraphXY : Функция с нулевым диапазоном по Y",
                         "TGraphXY : Массив функции не задан", "TGraphXY : Неправильные масштабы по осям"}));
    }
    {
        // ComputeAxisX on its own refuses an empty range and keeps the old one.
        RecordingSink sink;
        s.DataXMin = s.DataXMax = 7;
        s.RangeX = 3;
        s.ComputeAxisX();
        EXPECT_EQ(sink.warnings, QStringList{"TGraphXY : Функция с неправильным диапазоном по X"});
        EXPECT_EQ(s.RangeX, 3);
    }
}

TEST(GraphScale, LaterArraysKeepTheScalesUntilReset)
{
    RecordingSink sink;
    TGraphScale s = histogramPanelScale();
    const TGraphArr first = ramp(0, 255, 0, 1000);
    s.DrawFunction(&first);
    const long double sx = s.ScaleX, sy = s.ScaleY;

    // A wider second array is drawn with the first one's scales, partly outside.
    const TGraphArr second{{0, 500}, {510, 2000}};
    const TGraphDrawPlan plan = s.DrawFunction(&second);
    EXPECT_FALSE(plan.Redraw);
    EXPECT_EQ(s.ScaleX, sx);
    EXPECT_EQ(s.ScaleY, sy);
    EXPECT_EQ(plan.Polyline, (std::vector<QPoint>{{0, 74}, {776, -148}}));

    // With scales set, a one-point array is refused by the plotting alone.
    const TGraphArr one{{1, 1}};
    EXPECT_TRUE(s.DrawFunction(&one).Polyline.empty());
    EXPECT_EQ(sink.warnings, QStringList{"TGraphXY : Чило точек функции меньше двух"});

    s.Reset();
    EXPECT_EQ(s.ScaleX, 0);
    EXPECT_EQ(s.RangeY, 0);
    const TGraphDrawPlan again = s.DrawFunction(&second);
    EXPECT_TRUE(again.Redraw);
    EXPECT_EQ(s.ScaleX, 388.0L / 510);
}

TEST(GraphScale, LabelPlacesAndFit)
{
    TGraphScale s = histogramPanelScale();
    const TGraphArr f = ramp(0, 255, 0, 1000);
    s.DrawFunction(&f);
    // X axis on row 148: 148 + 13 + 4 > 149, so X labels go above it.
    EXPECT_EQ(s.LabelCornerX(39, 13), QPoint(39, 148 - 17));
    // Y axis on column 0: Y labels go right of it.
    EXPECT_EQ(s.LabelCornerY(133, 30), QPoint(8, 133));

    // Axes in the middle (X -1..1 puts the Y axis on 194; Y -1..1 on row 74).
    s.Reset();
    const TGraphArr mid = ramp(-1, 1, -1, 1);
    s.DrawFunction(&mid);
    EXPECT_EQ(s.LabelCornerX(10, 13), QPoint(10, 78));
    EXPECT_EQ(s.LabelCornerY(20, 30), QPoint(202, 20));
    // A text that would pass the right edge is put left of the axis: 194 + 190 + 8 > 389.
    EXPECT_EQ(s.LabelCornerY(20, 190), QPoint(194 - 198, 20));

    // DrawLabel's test: W >= x + w + 2 and H >= y + h + 2, written at (x + 2, y + 2).
    const QString t = "1.00";
    EXPECT_EQ(s.LabelTextOrigin({357, 134}, t, {30, 13}), QPoint(359, 136));
    EXPECT_FALSE(s.LabelTextOrigin({358, 134}, t, {30, 13}));
    EXPECT_FALSE(s.LabelTextOrigin({357, 135}, t, {30, 13}));
    EXPECT_FALSE(s.LabelTextOrigin({0, 0}, QString(), {0, 0}));
}

TEST(GraphScale, PixelToIndex)
{
    TGraphArr f(256);
    const int w = 389;
    EXPECT_EQ(TGraphScale::PixelToIndex(-1, &f, w), -1);
    EXPECT_EQ(TGraphScale::PixelToIndex(0, &f, w), 0);
    EXPECT_EQ(TGraphScale::PixelToIndex(2, &f, w), 1);      // 256 / 389 * 2 = 1.32
    EXPECT_EQ(TGraphScale::PixelToIndex(100, &f, w), 65);   // 65.81, truncated
    EXPECT_EQ(TGraphScale::PixelToIndex(388, &f, w), 255);  // 255.34
    // At and beyond the right edge: the last index.
    EXPECT_EQ(TGraphScale::PixelToIndex(389, &f, w), 255);
    EXPECT_EQ(TGraphScale::PixelToIndex(5000, &f, w), 255);
    // Fewer than 2 points or no array.
    const TGraphArr one(1);
    EXPECT_EQ(TGraphScale::PixelToIndex(10, &one, w), -1);
    EXPECT_EQ(TGraphScale::PixelToIndex(10, nullptr, w), -1);
    // A short array on a wide image: 3 / 389 * 200 = 1.54.
    const TGraphArr three(3);
    EXPECT_EQ(TGraphScale::PixelToIndex(200, &three, w), 1);
    EXPECT_EQ(TGraphScale::PixelToIndex(388, &three, w), 2);
}

}  // namespace
}  // namespace ormica
