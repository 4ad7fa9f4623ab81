#include "ui/transfer/point_editor.h"

#include "core/engine/figure.h"
#include "core/engine/img_service.h"
#include "ui/engine/qt_color.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace ormica {

namespace {

// Lines one pixel wide on whole pixels, as the grid and the function are drawn.
void preparePainter(QPainter& painter, const QColor& pen)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen p(pen, 1);
    p.setCosmetic(true);
    painter.setPen(p);
}

TEditClick clickOf(TShiftState shift)
{
    switch (shift) {
    case ssLeft | ssDouble:
        return TEditClick::LeftDouble;
    case ssRight | ssDouble:
        return TEditClick::RightDouble;
    case ssLeft:
        return TEditClick::Left;
    default:
        return TEditClick::Other;
    }
}

}  // namespace

TPointEditor::TPointEditor(TImageWidget* image)
    : TPointEditorModel(image->TImageControl::width(), image->TImageControl::height()), BackColor(clBtnFace),
      image_(image)
{
    oldDown_ = image->OnMouseDown;
    oldMove_ = image->OnMouseMove;
    oldUp_ = image->OnMouseUp;
    image->OnMouseDown = [this](Qt::MouseButton b, TShiftState s, int x, int y) { ImageMouseDown(b, s, x, y); };
    image->OnMouseMove = [this](Qt::MouseButton b, TShiftState s, int x, int y) { ImageMouseMove(b, s, x, y); };
    image->OnMouseUp = [this](Qt::MouseButton b, TShiftState s, int x, int y) { ImageMouseUp(b, s, x, y); };

    const QFontMetrics fm(image->font());
    ReadoutW = fm.horizontalAdvance(QStringLiteral(" XXX, YYY "));
    ReadoutH = fm.height() + 2;
    readoutSave_ = QImage(ReadoutW, ReadoutH, QImage::Format_BGR888);

    TPointEditorModel::OnChange = [this](TPointEditorModel&, TEditAction action) {
        // The release redraws before anyone hears of the change.
        if (redrawPending_) {
            redrawPending_ = false;
            Redraw();
        }
        if (OnChange)
            OnChange(*this, action);
    };
    Reset(false);
}

TPointEditor::~TPointEditor()
{
    image_->OnMouseDown = oldDown_;
    image_->OnMouseMove = oldMove_;
    image_->OnMouseUp = oldUp_;
}

void TPointEditor::Reset(bool descending)
{
    TPointEditorModel::Reset(descending);
    Redraw();
}

void TPointEditor::InvertY()
{
    TPointEditorModel::InvertY();
    Redraw();
}

void TPointEditor::SetPoints(const TBrightPointArray& points)
{
    if (points.size() < 2)
        return;
    TPointEditorModel::SetPoints(points);
    Redraw();
}

void TPointEditor::SetBackgroundHistogram(const std::array<std::int32_t, 256>* counts)
{
    if (counts)
        background_ = *counts;
    else
        background_.reset();
    Redraw();
}

TBrightPointArray TPointEditor::DragPoints() const
{
    TBrightPointArray points;
    const std::vector<const TQueueElem*> elems = Elements();
    points.reserve(elems.size());
    for (const TQueueElem* e : elems) {
        const bool held = Dragging() && e == DragElem();
        const int x = held ? DragPos().x : e->Box.Left;
        const int y = held ? DragPos().y : e->Box.Top;
        points.push_back({XToBright(x), YToBright(y)});
    }
    return points;
}

void TPointEditor::Redraw()
{
    QImage& canvas = image_->canvas();
    if (canvas.size() != QSize(Width(), Height()) || canvas.format() != QImage::Format_BGR888)
        canvas = QImage(Width(), Height(), QImage::Format_BGR888);
    if (canvas.isNull())
        return;
    ClearField(canvas);
    DrawPolyline(canvas, MarkSize);
    image_->pictureChanged();
}

void TPointEditor::ClearField(QImage& canvas)
{
    canvas.fill(ToQColor(BackColor));
    DrawBackgroundHistogram(canvas);
    DrawGrid(canvas);
}

// Part of the field, so the band, the read-out and every redraw bring it back.
void TPointEditor::DrawBackgroundHistogram(QImage& canvas)
{
    if (!background_)
        return;
    const std::int64_t max = *std::max_element(background_->begin(), background_->end());
    if (max <= 0)
        return;
    const QColor back = ToQColor(BackColor);
    // A quarter of the way from the background to a steel blue: seen, but
    // well apart from the grey grid and the black function.
    const QColor faint((3 * back.red() + 70) / 4, (3 * back.green() + 110) / 4, (3 * back.blue() + 180) / 4);
    const int h = Height();
    QPainter painter(&canvas);
    for (int x = 0; x < Width(); ++x) {
        const std::int64_t count = (*background_)[std::size_t(std::clamp(XToBright(x), 0, 255))];
        const int bar = static_cast<int>((count * h + max / 2) / max);
        if (bar > 0)
            painter.fillRect(QRect(x, h - bar, 1, bar), faint);
    }
}

void TPointEditor::DrawGrid(QImage& canvas)
{
    if (GridDiv <= 0)
        return;
    const int w = Width();
    const int h = Height();
    const int cw = w / GridDiv;
    const int ch = h / GridDiv;
    QPainter painter(&canvas);
    preparePainter(painter, QColor(128, 128, 128));
    painter.setFont(image_->font());
    const auto label = [&](int x, int y, int value) {
        // Text takes the font's colour, not the grid's.
        const QPen grid = painter.pen();
        painter.setPen(Qt::black);
        painter.drawText(QRect(x, y, w, h), Qt::AlignLeft | Qt::AlignTop, QString::number(value));
        painter.setPen(grid);
    };
    const auto round256 = [&](int i) { return static_cast<int>(std::nearbyint(i * 256.0L / GridDiv)); };
    for (int b = 1; b < GridDiv; ++b) {
        painter.drawLine(b * cw, 0, b * cw, h - 1);
        label(b * cw + 4, h - 16, round256(b));
    }
    for (int c = 1; c < GridDiv; ++c) {
        painter.drawLine(0, c * ch, w - 1, c * ch);
        label(4, c * ch - 16, 256 - round256(c));
    }
}

void TPointEditor::DrawPolyline(QImage& canvas, int m)
{
    const std::vector<const TQueueElem*> elems = Elements();
    if (elems.size() < 2)
        return;
    QPainter painter(&canvas);
    preparePainter(painter, ToQColor(PenColor));
    painter.setBrush(ToQColor(BackColor));
    // Each segment is drawn before the marker of its end, so a marker lies
    // over the line that reaches it and under the one that leaves it.
    for (std::size_t i = 1; i < elems.size(); ++i) {
        const TRect& a = elems[i - 1]->Box;
        const TRect& b = elems[i]->Box;
        painter.drawLine(a.Left, a.Top, b.Left, b.Top);
        if (m > 0 && i + 1 < elems.size())
            painter.drawRect(QRect(b.Left, b.Top, m - 1, m - 1));
    }
}

void TPointEditor::ShowReadout(int x, int y)
{
    QImage& canvas = image_->canvas();
    readoutSave_ = canvas.copy(QRect(x + 16, y, ReadoutW, ReadoutH));
    const QString text = QString::number(XToBright(x)) + QStringLiteral(", ") + QString::number(YToBright(y));
    QPainter painter(&canvas);
    painter.setFont(image_->font());
    const QFontMetrics fm(image_->font());
    const QRect box(x + 16, y + 1, fm.horizontalAdvance(text), fm.height());
    painter.fillRect(box, ToQColor(BackColor));
    painter.setPen(ToQColor(PenColor));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    painter.end();
    image_->pictureAreaChanged(QRect(x + 16, y, ReadoutW, ReadoutH));
}

void TPointEditor::HideReadout(int x, int y)
{
    QPainter painter(&image_->canvas());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x + 16, y), readoutSave_);
    painter.end();
    image_->pictureAreaChanged(QRect(x + 16, y, ReadoutW, ReadoutH));
}

void TPointEditor::drawRubberBand()
{
    const std::array<TPoint, 3> band{PrevPos(), DragPos(), NextPos()};
    image_->pictureAreaChanged(InvertPolyline(image_->canvas(), band));
}

void TPointEditor::ImageMouseDown(Qt::MouseButton, TShiftState shift, int x, int y)
{
    if (!MouseDown(clickOf(shift), x, y) || !Dragging())
        return;
    // The point to be moved is outlined thickly until the release redraws.
    const TPoint p = DragPos();
    {
        QPainter painter(&image_->canvas());
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(ToQColor(PenColor), 3));
        painter.setBrush(ToQColor(BackColor));
        painter.drawRect(QRect(p.x, p.y, MarkSize - 1, MarkSize - 1));
    }
    image_->pictureAreaChanged(QRect(p.x - 2, p.y - 2, MarkSize + 4, MarkSize + 4));
    ShowReadout(p.x, p.y);
    drawRubberBand();
}

void TPointEditor::ImageMouseMove(Qt::MouseButton, TShiftState, int x, int y)
{
    if (!Dragging())
        return;
    const TPoint old = DragPos();
    const std::array<TPoint, 3> oldBand{PrevPos(), old, NextPos()};
    if (!MouseMove(x, y))
        return;
    image_->pictureAreaChanged(InvertPolyline(image_->canvas(), oldBand));
    HideReadout(old.x, old.y);
    ShowReadout(x, y);
    drawRubberBand();
    if (OnDrag)
        OnDrag(*this);
}

void TPointEditor::ImageMouseUp(Qt::MouseButton, TShiftState, int x, int y)
{
    redrawPending_ = true;
    MouseUp(x, y);
    if (redrawPending_) {
        redrawPending_ = false;
        Redraw();
    }
}

}  // namespace ormica
