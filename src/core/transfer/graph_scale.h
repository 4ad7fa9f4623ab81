#pragma once

#include "core/transfer/graph_arr.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace ormica {

// Where the graph panel puts its parts on a host panel of a given size.
struct TGraphLayout {
    QRect Bevel;
    QRect Image;
    QPoint Caption;  // top-left corner of the caption label
};

// One grid line: its value, its pixel column (X grid) or row (Y grid), and
// its label; the axis itself carries no label.
struct TGraphGridLine {
    long double Value = 0;
    int Pixel = 0;
    QString Label;
};

// The grid lines of one direction, in drawing order, and the axis pixel.
struct TGraphGrid {
    std::vector<TGraphGridLine> Lines;
    int AxisPixel = 0;
};

// What the panel must do for one DrawFunction call: clear and redraw the grid
// first (new scales), then draw the polyline through Polyline when it is not empty.
struct TGraphDrawPlan {
    bool Redraw = false;
    std::vector<QPoint> Polyline;
};

// The arithmetic of the graph panel: data ranges, drawn ranges, origins,
// scales, the mapping between data and pixels, grid lines and label places.
// A refused input is reported through the message sink and leaves the state
// as it was at that step. The panel draws only what these routines return.
class TGraphScale {
public:
    static constexpr int kMinPanelWidth = 63;
    static constexpr int kMinPanelHeight = 67;

    // Image size in pixels; the scales are computed from it.
    int Width = 0;
    int Height = 0;

    unsigned short GridDivX = 10;
    unsigned short GridDivY = 10;
    QString FmtX = QStringLiteral("%-0.2f");
    QString FmtY = QStringLiteral("%-0.2f");

    long double DataXMin = 0, DataXMax = 0, DataYMin = 0, DataYMax = 0;
    long double AxisXMin = 0, AxisXMax = 0, AxisYMin = 0, AxisYMax = 0;
    long double RangeX = 0, RangeY = 0;
    long double OriginX = 0, OriginY = 0;
    long double ScaleX = 0, ScaleY = 0;  // pixels per unit; 0 = not computed
    long double AxisPosX = 0, AxisPosY = 0;

    // The parts' places on a panel; none when the panel is too small for a plot.
    static std::optional<TGraphLayout> LayoutForPanel(QSize panel);

    // The ten ranges and origins and both scales become 0.
    void Reset();

    bool ScalesPositive() const { return ScaleX > 0 && ScaleY > 0; }

    // Scales are fixed by the first array after a Reset; later arrays keep them.
    // `points` null means no array was given.
    TGraphDrawPlan DrawFunction(const TGraphArr* points);

    // Computes extremes, ranges and scales; true when the picture must be
    // cleared and its grid redrawn (even if one scale came out zero).
    bool SetFunction(const TGraphArr& points);
    void ComputeAxisX();
    void ComputeAxisY();

    int XToPixel(long double x) const;
    int YToPixel(long double y) const;

    // The vertical grid (values along X) and the horizontal grid (along Y).
    // Empty, with a message, when the range is not positive.
    TGraphGrid GridX() const;
    TGraphGrid GridY() const;

    // The tick of an X-grid label is centred on row TickRowX() of its line;
    // the tick of a Y-grid label on column TickColumnY().
    int TickRowX() const { return YToPixel(AxisPosY); }
    int TickColumnY() const { return XToPixel(AxisPosX); }

    // Top-left corner handed to DrawLabel for the label of a grid line at
    // `pixel`, given the text's height (X grid) or width (Y grid).
    QPoint LabelCornerX(int pixel, int textHeight) const;
    QPoint LabelCornerY(int pixel, int textWidth) const;

    // Where DrawLabel writes a text of `textSize` given its corner: none when
    // the text is empty or does not fit inside the image.
    std::optional<QPoint> LabelTextOrigin(QPoint corner, const QString& text, QSize textSize) const;

    // Polyline vertices of an array with the current scales, or none with a
    // message when there is no array, a scale is not positive or there are
    // fewer than 2 points.
    std::vector<QPoint> PlotPolyline(const TGraphArr* points) const;

    // The index of the point under column x of an image `imageWidth` wide;
    // -1 left of the image or for fewer than 2 points.
    static int PixelToIndex(int x, const TGraphArr* points, int imageWidth);

    // The texts the panel reports.
    static QString NoArrayMessage();
    static QString ZeroScaleMessage();
    static QString TooFewPointsMessage();
    static QString ZeroRangeXMessage();
    static QString WrongRangeXMessage();
    static QString NoScaleXMessage();
    static QString NoScaleYMessage();
    static QString GridZeroRangeXMessage();
    static QString GridZeroRangeYMessage();
    static QString WrongScalesMessage();
    static QString DrawFailedMessage();
    static QString DefaultCaption();

private:
    TGraphGrid grid(long double range, unsigned short div, long double pos, long double min, long double max,
                    const QString& fmt, bool alongX) const;
};

}  // namespace ormica
