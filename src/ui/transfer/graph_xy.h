#pragma once

#include "core/transfer/graph_arr.h"
#include "core/transfer/graph_scale.h"
#include "ui/engine/image_widget.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <functional>

class QFrame;
class QLabel;
class QObject;
class QPainter;
class QWidget;

namespace ormica {

// Mouse notifications of the plot image, with the image as sender and the
// image event's own arguments.
using TGraphMouseMoveHandler = std::function<void(QObject* sender, TShiftState shift, int x, int y)>;
using TGraphMouseButtonHandler =
    std::function<void(QObject* sender, Qt::MouseButton button, TShiftState shift, int x, int y)>;

// A plot of table functions built on a host panel: a framed image with a
// grid, the two axes and polylines, and a caption above the frame. Every
// number it draws comes from Scale; a refused input is reported through the
// message sink and leaves the picture as it was.
class TGraphXY {
public:
    // Builds the parts on the panel; a panel too small for a plot gets none,
    // and the object then silently draws nothing.
    explicit TGraphXY(QWidget* panel);
    ~TGraphXY();
    TGraphXY(const TGraphXY&) = delete;
    TGraphXY& operator=(const TGraphXY&) = delete;

    void SetCaption(const QString& text);
    // Store the label format and redraw, which erases any plotted curve.
    void SetFormatX(const QString& format);
    void SetFormatY(const QString& format);

    // Zeroes ranges and scales and clears the picture; the next DrawFunction fixes new scales.
    void Reset();
    // Draws `points` (null: no array) in `colour`; the first array after a
    // Reset also fixes the scales and draws the grid.
    void DrawFunction(const TGraphArr* points, const QColor& colour);
    // Clears the picture and draws the grid when both scales are known.
    void Redraw();

    // The index of the point under column x of the plot image; -1 left of it
    // or for fewer than 2 points.
    int PixelToIndex(int x, const TGraphArr* points) const;

    QPointer<QWidget> Panel;  // not owned; may go first
    QPointer<TImageWidget> Image;
    QPointer<QFrame> Bevel;
    QPointer<QLabel> CaptionLabel;

    // Called only while Ready, with the image present.
    TGraphMouseMoveHandler OnImgMouseMove;
    TGraphMouseButtonHandler OnImgMouseDown;
    TGraphMouseButtonHandler OnImgMouseUp;

    bool Ready = false;
    QString CaptionText;
    QColor BackColor;
    QColor GridColor = QColor(128, 128, 128);
    QColor AxisColor = Qt::black;
    // The last array drawn as a polyline.
    TGraphArr Func;
    TGraphScale Scale;

private:
    void BuildOnPanel();
    void DestroyVisuals();
    void ClearImage();
    void DrawGridX(QPainter& painter);
    void DrawGridY(QPainter& painter);
    void DrawVLine(QPainter& painter, const QColor& colour, const QString& label, int px);
    void DrawHLine(QPainter& painter, const QColor& colour, const QString& label, int py);
    void DrawLabel(QPainter& painter, QPoint corner, const QString& text);
};

}  // namespace ormica
