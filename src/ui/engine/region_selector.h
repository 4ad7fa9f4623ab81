#pragma once

#include "core/engine/figure.h"
#include "core/engine/rect.h"
#include "ui/engine/image_widget.h"

#include <cstdint>
#include <functional>

namespace ormica {

class TRegionSelector;

// A selection notification: the selector, the event's buttons and keys, the
// start point and the end point.
using TSelectionNotify = std::function<void(TRegionSelector& sender, TShiftState shift, TPoint start, TPoint end)>;

// Marks a rectangular fragment of an image control with the mouse: press the
// left button, drag, release. It draws on the picture itself by inverting
// pixels, so the rubber band and the dotted frame vanish when drawn again.
// While attached it has the control's mouse handlers; released (destroyed),
// it gives the control its own back.
class TRegionSelector {
public:
    explicit TRegionSelector(TImageWidget* image);
    ~TRegionSelector();
    TRegionSelector(const TRegionSelector&) = delete;
    TRegionSelector& operator=(const TRegionSelector&) = delete;

    std::uint8_t FrameMode = 0;  // 0 frames shown, 1 frames hidden
    std::uint8_t Figure = fgRectangle;
    bool Dragging = false;
    bool Moved = false;
    bool HasSelection = false;
    bool FrameShown = true;
    TPoint StartPt;
    TPoint EndPt;
    TRect SelRect;
    std::uint8_t SelFigure = fgRectangle;
    TSelectionNotify OnStart;
    TSelectionNotify OnMove;
    TSelectionNotify OnEnd;

    void SetFrameMode(std::uint8_t mode);
    // The owner hides the frame before a command reads the picture.
    void ShowFrame(bool show);

private:
    void DrawFrame(bool show);
    void draw(TPoint a, TPoint b, int figure, bool dotted);
    void dispatch(TSelectionNotify& notify, TShiftState shift);
    void mouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    void mouseMove(TShiftState shift, int x, int y);
    void mouseUp(TShiftState shift, int x, int y);

    TImageWidget* image_;
    TMouseHandler savedDown_, savedMove_, savedUp_;
};

}  // namespace ormica
