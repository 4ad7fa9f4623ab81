#pragma once

#include "core/engine/color.h"
#include "core/transfer/point_list.h"
#include "ui/engine/image_widget.h"

#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace ormica {

// The point editor on its image: draws the function on a grid, and lets the
// mouse add a point (left double-click), delete one (right double-click) and
// drag one (left button) with an inverting rubber band and a read-out of
// the brightness under the point. Every operation that changes the list
// redraws the image.
class TPointEditor : public TPointEditorModel {
public:
    // Takes over the image's mouse handlers (given back on destruction) and
    // draws the new function on it.
    explicit TPointEditor(TImageWidget* image);
    ~TPointEditor();
    TPointEditor(const TPointEditor&) = delete;
    TPointEditor& operator=(const TPointEditor&) = delete;

    TImageWidget* Image() const { return image_; }

    TColor BackColor;
    TColor PenColor = clBlack;
    int GridDiv = 16;
    int ReadoutW = 0;
    int ReadoutH = 0;

    void Reset(bool descending);
    void InvertY();
    void SetPoints(const TBrightPointArray& points);
    void Redraw();

    // Level counts drawn faintly behind the grid, column x showing level
    // XToBright(x) and the largest count the field's full height; null
    // takes them away. Redraws.
    void SetBackgroundHistogram(const std::array<std::int32_t, 256>* counts);
    const std::optional<std::array<std::int32_t, 256>>& BackgroundHistogram() const { return background_; }
    // The function with the dragged point where the mouse holds it now.
    TBrightPointArray DragPoints() const;

    // After a button release that added, deleted or moved a point, with the action.
    std::function<void(TPointEditor&, TEditAction)> OnChange;
    // After each move the dragged point followed.
    std::function<void(TPointEditor&)> OnDrag;

    void ImageMouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    void ImageMouseMove(Qt::MouseButton button, TShiftState shift, int x, int y);
    void ImageMouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);

private:
    void ClearField(QImage& canvas);
    void DrawBackgroundHistogram(QImage& canvas);
    void DrawGrid(QImage& canvas);
    void DrawPolyline(QImage& canvas, int m);
    void ShowReadout(int x, int y);
    void HideReadout(int x, int y);
    void drawRubberBand();

    TImageWidget* image_;
    TMouseHandler oldDown_, oldMove_, oldUp_;
    QImage readoutSave_;
    bool redrawPending_ = false;
    std::optional<std::array<std::int32_t, 256>> background_;
};

}  // namespace ormica
