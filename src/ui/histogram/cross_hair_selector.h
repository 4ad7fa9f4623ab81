#pragma once

#include "core/engine/color.h"
#include "ui/engine/image_widget.h"

#include <QPointer>
#include <functional>

namespace ormica {

class TCrossHairSelector;

// Called after each move of the cross, and when a click freezes it.
using TCrossNotify = std::function<void(TCrossHairSelector& sender, int row, int column)>;
// Called when a click releases a frozen cross.
using TCrossReleaseNotify = std::function<void(TCrossHairSelector& sender)>;

// Picks one pixel of an image control, and with it a row and a column, by a
// full-width, full-height dotted cross-hair that follows the mouse until a
// click freezes it; the next click lets it follow again. The cross is drawn
// by inverting pixels, so drawing it twice at one place restores the picture.
// While active the selector is the only receiver of the control's mouse
// events; deactivated or destroyed, it gives the control its own back.
// Callers: Deactivate, Clear, draw into the picture, Activate.
class TCrossHairSelector {
public:
    // Gives the control a blank 24-bit picture of its own size, records that
    // size in MaxW and MaxH, and activates with the cross in the centre.
    explicit TCrossHairSelector(TImageWidget* image);
    // Gives the mouse events back and clears the picture.
    ~TCrossHairSelector();
    TCrossHairSelector(const TCrossHairSelector&) = delete;
    TCrossHairSelector& operator=(const TCrossHairSelector&) = delete;

    // Size of the picture at creation: the largest fragment that fits.
    int MaxH = 0;
    int MaxW = 0;
    TColor BackColor = clBtnFace;
    // A black not-xor pen inverts: that is what makes the cross undo itself.
    static constexpr TColor LineColor = clBlack;
    bool Active = false;
    bool Tracking = false;
    int CrossX = 0;
    int CrossY = 0;
    bool Selected = false;
    TCrossNotify OnMove;
    TCrossNotify OnSelect;
    TCrossReleaseNotify OnRelease;

    // Fills the whole picture with BackColor (the cross goes with it).
    void Clear();
    // Draws the cross and takes the mouse events; nothing when already active,
    // since a second cross would cancel the first.
    void Activate();
    // Erases the cross and gives the mouse events back.
    void Deactivate();

    TImageWidget* image() const { return image_; }

private:
    void drawVertical(int x);
    void drawHorizontal(int y);
    void mouseDown();
    void mouseMove(int x, int y);

    QPointer<TImageWidget> image_;
    TMouseHandler savedDown_, savedMove_, savedUp_;
    bool savedTracking_ = false;
};

}  // namespace ormica
