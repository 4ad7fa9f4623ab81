#include "ui/engine/region_selector.h"

namespace ormica {

TRegionSelector::TRegionSelector(TImageWidget* image) : image_(image)
{
    if (!image_)
        return;
    savedDown_ = image_->OnMouseDown;
    savedMove_ = image_->OnMouseMove;
    savedUp_ = image_->OnMouseUp;
    image_->OnMouseDown = [this](Qt::MouseButton b, TShiftState s, int x, int y) { mouseDown(b, s, x, y); };
    image_->OnMouseMove = [this](Qt::MouseButton, TShiftState s, int x, int y) { mouseMove(s, x, y); };
    image_->OnMouseUp = [this](Qt::MouseButton, TShiftState s, int x, int y) { mouseUp(s, x, y); };
}

TRegionSelector::~TRegionSelector()
{
    if (!image_)
        return;
    image_->OnMouseDown = savedDown_;
    image_->OnMouseMove = savedMove_;
    image_->OnMouseUp = savedUp_;
}

void TRegionSelector::draw(TPoint a, TPoint b, int figure, bool dotted)
{
    const QRect area = InvertFigure(image_->canvas(), a, b, figure, dotted);
    if (area.isEmpty())
        return;
    if (figure != fgRectangle || area.width() < 8 || area.height() < 8) {
        image_->pictureAreaChanged(area);
        return;
    }
    // Only the outline changed: repainting its four sides keeps a band over a
    // large photograph fluid.
    image_->pictureAreaChanged(QRect(area.left(), area.top(), area.width(), 1));
    image_->pictureAreaChanged(QRect(area.left(), area.bottom(), area.width(), 1));
    image_->pictureAreaChanged(QRect(area.left(), area.top(), 1, area.height()));
    image_->pictureAreaChanged(QRect(area.right(), area.top(), 1, area.height()));
}

void TRegionSelector::DrawFrame(bool show)
{
    if (!image_)
        return;
    if (show) {
        if (!(StartPt == EndPt) && !FrameShown)
            draw(StartPt, EndPt, SelFigure, true);
        FrameShown = true;
    } else {
        if (!(StartPt == EndPt) && FrameShown)
            draw(StartPt, EndPt, SelFigure, true);
        FrameShown = false;
    }
}

void TRegionSelector::SetFrameMode(std::uint8_t mode)
{
    if (mode == FrameMode)
        return;
    if (mode == 0)
        DrawFrame(true);
    else if (mode == 1)
        DrawFrame(false);
    FrameMode = mode;
}

void TRegionSelector::ShowFrame(bool show)
{
    if (FrameMode != 0)
        return;
    DrawFrame(show);
}

// A notification that fails is disconnected for good: a broken owner must
// not block the selections that follow.
void TRegionSelector::dispatch(TSelectionNotify& notify, TShiftState shift)
{
    if (!notify)
        return;
    try {
        notify(*this, shift, StartPt, EndPt);
    } catch (...) {
        notify = nullptr;
    }
}

void TRegionSelector::mouseDown(Qt::MouseButton button, TShiftState shift, int x, int y)
{
    if (button != Qt::LeftButton || shift != ssLeft)
        return;
    if (HasSelection && FrameShown) {
        draw(StartPt, EndPt, SelFigure, true);
        FrameShown = false;
    }
    Dragging = true;
    HasSelection = false;
    Moved = false;
    StartPt = EndPt = TPoint{x, y};
    dispatch(OnStart, shift);
}

void TRegionSelector::mouseMove(TShiftState shift, int x, int y)
{
    if (!Dragging)
        return;
    if (Moved)
        draw(StartPt, EndPt, Figure, false);
    EndPt = TPoint{x, y};
    Moved = Moved || !(EndPt == StartPt);
    if (Moved) {
        draw(StartPt, EndPt, Figure, false);
        dispatch(OnMove, shift);
    }
}

void TRegionSelector::mouseUp(TShiftState shift, int, int)
{
    if (!Dragging)
        return;
    Dragging = false;
    if (Moved) {
        draw(StartPt, EndPt, Figure, false);
        Moved = false;
        if (FrameMode == 0) {
            draw(StartPt, EndPt, Figure, true);
            FrameShown = true;
        }
    }
    SelRect = NormalizeRect(StartPt, EndPt);
    SelFigure = Figure;
    HasSelection = true;
    dispatch(OnEnd, shift);
}

}  // namespace ormica
