#include "ui/transfer/graph_xy.h"

#include "core/engine/message_sink.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QWidget>

namespace ormica {

namespace {

// Ticks and labels are drawn in the canvas font's colour.
const QColor kFontColor = Qt::black;

void setPenColour(QPainter& painter, const QColor& colour)
{
    painter.setPen(QPen(colour, 0));
}

}  // namespace

TGraphXY::TGraphXY(QWidget* panel) : Panel(panel)
{
    BuildOnPanel();
}

TGraphXY::~TGraphXY()
{
    DestroyVisuals();
}

void TGraphXY::BuildOnPanel()
{
    if (!Panel)
        return;
    const auto layout = TGraphScale::LayoutForPanel(Panel->size());
    if (!layout)
        return;

    auto* bevel = new QFrame(Panel);
    bevel->setObjectName(QStringLiteral("BevelWImgXY"));
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(layout->Bevel);
    bevel->show();
    Bevel = bevel;

    auto* image = new TImageWidget(layout->Image.size(), Panel);
    image->setObjectName(QStringLiteral("WImgXY"));
    image->move(layout->Image.topLeft());
    image->setEnabled(true);
    image->setMouseTracking(true);  // moves are forwarded without a button held
    image->OnMouseMove = [this](Qt::MouseButton, TShiftState shift, int x, int y) {
        if (Ready && Image && OnImgMouseMove)
            OnImgMouseMove(Image, shift, x, y);
    };
    image->OnMouseDown = [this](Qt::MouseButton button, TShiftState shift, int x, int y) {
        if (Ready && Image && OnImgMouseDown)
            OnImgMouseDown(Image, button, shift, x, y);
    };
    image->OnMouseUp = [this](Qt::MouseButton button, TShiftState shift, int x, int y) {
        if (Ready && Image && OnImgMouseUp)
            OnImgMouseUp(Image, button, shift, x, y);
    };
    image->show();
    Image = image;

    auto* label = new QLabel(Panel);
    label->setObjectName(QStringLiteral("LabelWImgXY"));
    label->move(layout->Caption);
    label->show();
    CaptionLabel = label;
    SetCaption(TGraphScale::DefaultCaption());

    Scale.Width = layout->Image.width();
    Scale.Height = layout->Image.height();
    Scale.ScaleX = Scale.ScaleY = 0;
    BackColor = Panel->palette().color(Panel->backgroundRole());
    Scale.FmtX = Scale.FmtY = QStringLiteral("%-0.2f");
    Scale.GridDivX = Scale.GridDivY = 10;
    GridColor = QColor(128, 128, 128);
    AxisColor = Qt::black;
    ClearImage();
    Image->pictureChanged();
    Ready = true;
}

void TGraphXY::DestroyVisuals()
{
    delete CaptionLabel.data();
    delete Bevel.data();
    delete Image.data();
    Ready = false;
    if (Panel)
        Panel->update();
}

void TGraphXY::SetCaption(const QString& text)
{
    CaptionText = text;
    if (CaptionLabel) {
        CaptionLabel->setText(text);
        CaptionLabel->adjustSize();
    }
}

void TGraphXY::SetFormatX(const QString& format)
{
    Scale.FmtX = format;
    Redraw();
}

void TGraphXY::SetFormatY(const QString& format)
{
    Scale.FmtY = format;
    Redraw();
}

void TGraphXY::Reset()
{
    if (!Image)
        return;
    Scale.Reset();
    ClearImage();
    Image->pictureChanged();
}

void TGraphXY::ClearImage()
{
    QImage& canvas = Image->canvas();
    if (canvas.size() != QSize(Scale.Width, Scale.Height) || canvas.format() != QImage::Format_BGR888)
        canvas = QImage(Scale.Width, Scale.Height, QImage::Format_BGR888);
    canvas.fill(BackColor);
}

void TGraphXY::Redraw()
{
    if (!Image)
        return;
    ClearImage();
    if (Scale.ScalesPositive()) {
        QPainter painter(&Image->canvas());
        painter.setFont(Image->font());
        DrawGridX(painter);
        DrawGridY(painter);
    }
    Image->pictureChanged();
}

void TGraphXY::DrawFunction(const TGraphArr* points, const QColor& colour)
{
    if (!Image)
        return;
    const TGraphDrawPlan plan = Scale.DrawFunction(points);
    if (plan.Redraw)
        Redraw();
    // The core plots whenever the scales came out positive for a given array.
    if (points && Scale.ScalesPositive())
        Func = *points;
    if (plan.Polyline.empty())
        return;
    QPainter painter(&Image->canvas());
    if (!painter.isActive()) {
        messages().warning(TGraphScale::DrawFailedMessage());
        return;
    }
    setPenColour(painter, colour);
    painter.drawPolyline(plan.Polyline.data(), int(plan.Polyline.size()));
    painter.end();
    Image->pictureChanged();
}

void TGraphXY::DrawGridX(QPainter& painter)
{
    const TGraphGrid grid = Scale.GridX();
    if (grid.Lines.empty() && Scale.RangeX <= 0)
        return;
    for (const TGraphGridLine& line : grid.Lines)
        DrawVLine(painter, GridColor, line.Label, line.Pixel);
    DrawVLine(painter, AxisColor, QString(), grid.AxisPixel);
}

void TGraphXY::DrawGridY(QPainter& painter)
{
    const TGraphGrid grid = Scale.GridY();
    if (grid.Lines.empty() && Scale.RangeY <= 0)
        return;
    for (const TGraphGridLine& line : grid.Lines)
        DrawHLine(painter, GridColor, line.Label, line.Pixel);
    DrawHLine(painter, AxisColor, QString(), grid.AxisPixel);
}

void TGraphXY::DrawVLine(QPainter& painter, const QColor& colour, const QString& label, int px)
{
    setPenColour(painter, colour);
    painter.drawLine(px, 0, px, Scale.Height);
    if (label.isEmpty())
        return;
    const int y0 = Scale.TickRowX();
    setPenColour(painter, kFontColor);
    painter.drawLine(px, y0 - 3, px, y0 + 3);
    DrawLabel(painter, Scale.LabelCornerX(px, painter.fontMetrics().height()), label);
}

void TGraphXY::DrawHLine(QPainter& painter, const QColor& colour, const QString& label, int py)
{
    setPenColour(painter, colour);
    painter.drawLine(0, py, Scale.Width, py);
    if (label.isEmpty())
        return;
    const int x0 = Scale.TickColumnY();
    setPenColour(painter, kFontColor);
    painter.drawLine(x0 - 3, py, x0 + 3, py);
    DrawLabel(painter, Scale.LabelCornerY(py, painter.fontMetrics().horizontalAdvance(label)), label);
}

void TGraphXY::DrawLabel(QPainter& painter, QPoint corner, const QString& text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const QSize size(metrics.horizontalAdvance(text), metrics.height());
    const auto origin = Scale.LabelTextOrigin(corner, text, size);
    if (!origin)
        return;
    // The text cell is opaque in the background colour, as a canvas writes it.
    painter.fillRect(QRect(*origin, size), BackColor);
    setPenColour(painter, kFontColor);
    painter.drawText(origin->x(), origin->y() + metrics.ascent(), text);
}

int TGraphXY::PixelToIndex(int x, const TGraphArr* points) const
{
    const int width = Image ? Image->picture().width() : 0;
    return TGraphScale::PixelToIndex(x, points, width);
}

}  // namespace ormica
