#pragma once

#include "core/engine/img_tab.h"
#include "core/engine/progress.h"
#include "core/filter/filter_kernel.h"

#include <cstdint>

namespace ormica {

// Range fitting that keeps the ratio between the channels (the hue). Both
// work in double precision in place. FitUnderflow lifts the smallest value to
// 0 and keeps 255 at 255; FitOverflow brings the largest value down to 255.
void FitUnderflow(double& r, double& g, double& b);
void FitOverflow(double& r, double& g, double& b);

// The source pixel (row, column) times `gain`, fitted into range, truncated
// and stored at the same place of the target. Both arrays must hold the pixel.
void GainPixel(int row, int column, const TImgTabColor& source, TImgTabColor& target, double gain);

// The border rule: the pixels of the four outer rows and columns on each
// side get the source times the overall gain KernelSum / scale; with a sum of
// 0 or less they are left alone (black in a fresh target). Does nothing
// unless both arrays have one shape of at least 4 x 4 and the scale is at least 1.
void FilterBorder(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source, TImgTabColor& target);

// Convolves the colour array: the target gets a new array of the source's
// shape (border by FilterBorder, interior convolved). The progress (may be
// null) gets minimum 0, maximum the row count and position 0, then moves
// by one for every interior row, a band of up to 128 rows at a time.
// Refusals leave the target as it was and return false: an empty source
// silently; an array of fewer than 4 rows or 4 pixels per row, rows of unequal
// length or a scale below 1 with a warning; a kernel CheckKernel refuses with
// its error. Lack of memory empties the target after a warning. The target
// may be the source itself.
bool FilterTabColor(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source, TImgTabColor& target,
                    TProgress* progress);

namespace detail {

// One pixel's three channel values (already divided by the scale or
// multiplied by the gain) fitted into range, hue kept, and truncated to bytes.
TBGRTriple FitToBytes(double b, double g, double r);

// How the interior is computed. Every way gives the same bytes.
enum class TConvolution {
    Fast,      // vectorised where the processor allows, else Portable
    Portable,  // integer sums, one pixel at a time
    Direct,    // the definition itself: products summed in double, every pixel fitted
};

bool FilterTabColorWith(TConvolution how, const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source,
                        TImgTabColor& target, TProgress* progress);

// True when TConvolution::Fast runs vectorised on this processor.
bool FastConvolutionIsVectorised();

}  // namespace detail

}  // namespace ormica
