#include "ui/histogram/cross_hair_selector.h"

#include "core/engine/figure.h"
#include "core/engine/img_service.h"

namespace ormica {

TCrossHairSelector::TCrossHairSelector(TImageWidget* image) : image_(image)
{
    if (!image_)
        return;
    TImageControl& control = *image_;
    control.setPicture(QImage(control.width(), control.height(), QImage::Format_BGR888));
    MaxH = control.height();
    MaxW = control.width();
    Clear();
    CrossX = MaxW / 2;
    CrossY = MaxH / 2;
    Activate();
}

TCrossHairSelector::~TCrossHairSelector()
{
    if (!image_)
        return;
    if (Active) {
        image_->OnMouseDown = savedDown_;
        image_->OnMouseMove = savedMove_;
        image_->OnMouseUp = savedUp_;
        image_->setMouseTracking(savedTracking_);
    }
    Clear();
}

void TCrossHairSelector::Clear()
{
    if (image_)
        PaintImage(*image_, BackColor);
}

// A one-pixel-wide rectangle is a dotted line through every row (column) of
// the picture; what falls outside the picture is clipped.
void TCrossHairSelector::drawVertical(int x)
{
    const QRect area =
        InvertFigure(image_->canvas(), TPoint{x, 0}, TPoint{x, image_->canvas().height() - 1}, fgRectangle, true);
    if (!area.isEmpty())
        image_->pictureAreaChanged(area);
}

void TCrossHairSelector::drawHorizontal(int y)
{
    const QRect area =
        InvertFigure(image_->canvas(), TPoint{0, y}, TPoint{image_->canvas().width() - 1, y}, fgRectangle, true);
    if (!area.isEmpty())
        image_->pictureAreaChanged(area);
}

void TCrossHairSelector::Activate()
{
    if (Active || !image_)
        return;
    drawVertical(CrossX);
    drawHorizontal(CrossY);
    Active = true;
    Tracking = true;
    savedDown_ = image_->OnMouseDown;
    savedMove_ = image_->OnMouseMove;
    savedUp_ = image_->OnMouseUp;
    // The release is taken too, so that no one else hears the clicks.
    image_->OnMouseDown = [this](Qt::MouseButton, TShiftState, int, int) { mouseDown(); };
    image_->OnMouseMove = [this](Qt::MouseButton, TShiftState, int x, int y) { mouseMove(x, y); };
    image_->OnMouseUp = [](Qt::MouseButton, TShiftState, int, int) {};
    // The cross follows the mouse with no button held.
    savedTracking_ = image_->hasMouseTracking();
    image_->setMouseTracking(true);
}

void TCrossHairSelector::Deactivate()
{
    if (Active && image_) {
        image_->OnMouseDown = savedDown_;
        image_->OnMouseMove = savedMove_;
        image_->OnMouseUp = savedUp_;
        savedDown_ = savedMove_ = savedUp_ = nullptr;
        image_->setMouseTracking(savedTracking_);
        Tracking = false;
        drawVertical(CrossX);
        drawHorizontal(CrossY);
    }
    Tracking = false;
    Active = false;
    Selected = false;
}

void TCrossHairSelector::mouseMove(int x, int y)
{
    if (!Tracking)
        return;
    drawVertical(CrossX);
    CrossX = x;
    drawVertical(CrossX);
    drawHorizontal(CrossY);
    CrossY = y;
    drawHorizontal(CrossY);
    if (OnMove)
        OnMove(*this, CrossY, CrossX);
}

// Any button: the first click freezes the cross, the next lets it go.
void TCrossHairSelector::mouseDown()
{
    if (Tracking) {
        Tracking = false;
        Selected = true;
        if (OnSelect)
            OnSelect(*this, CrossY, CrossX);
    } else {
        Selected = false;
        Tracking = true;
        if (OnRelease)
            OnRelease(*this);
    }
}

}  // namespace ormica
