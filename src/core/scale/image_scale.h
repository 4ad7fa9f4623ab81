#pragma once

#include "core/engine/image_control.h"

#include <QImage>
#include <QString>

namespace ormica {

// Resamples the picture of one image control into another (or the same) at a
// new size. Requests are held within a zoom of 0.01..8.0 and sides of
// 1..6000 pixels; an out-of-range request is corrected, flagged in
// `Corrected` and announced by a warning. Roundings are to nearest, halves
// to even. Without a source every operation does nothing.
class TImageScale {
public:
    static constexpr double kMinZoom = 0.01;
    static constexpr double kMaxZoom = 8.0;
    static constexpr int kMaxSide = 6000;

    TImageControl* Source = nullptr;
    TImageControl* Target = nullptr;
    double Zoom = 1.0;
    int SrcHeight = 0;
    int SrcWidth = 0;
    int TrgHeight = 0;
    int TrgWidth = 0;
    bool Proportional = true;
    bool Corrected = false;

    void SetSource(TImageControl* image);
    void ReadSourceSize();
    void SetZoom(double x);
    void SetTargetHeight(int h);
    void SetTargetWidth(int w);
    void LimitTarget();
    // The target's picture becomes the source resampled to TrgWidth x TrgHeight.
    void Execute();

    static QString SizeWarning();
    static QString ZoomWarning();

private:
    // srcSide and srcOther are read after ReadSourceSize has refreshed them.
    void setSide(int requested, int& side, int& other, const int& srcSide, const int& srcOther);
    QImage work_;
};

}  // namespace ormica
