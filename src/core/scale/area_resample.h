#pragma once

#include <QImage>

namespace ormica {

// Resamples a 24-bit picture onto a 24-bit destination of any size by area
// averaging: each destination pixel is the mean of the source area that maps
// onto it, source pixels cut by the area's edges counting with the part that
// lies inside. Shrinking and enlarging alike; equal sizes copy.
//
// Every destination pixel is within one level of the exact mean at any
// ratio. Mild ratios weigh with coverages rounded to 1/4096 per axis, taken
// as steps of rounded running totals so each pixel's weights sum to exactly 1
// and the rounding errors stay under half a level; strong reductions weigh
// with the exact coverages in whole numbers and round the exact mean. Either
// way a flat colour stays exactly flat, and the mean is rounded to the
// nearest level, halves to even.
void AreaResample(const QImage& source, QImage& destination);

namespace detail {
// Lets tests hold the byte-shuffling path to the plain one.
void allowResampleSimd(bool allowed);
}  // namespace detail

}  // namespace ormica
