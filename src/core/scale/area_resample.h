#pragma once

#include <QImage>

namespace ormica {

// Resamples a 24-bit picture onto a 24-bit destination of any size by area
// averaging: each destination pixel is the mean of the source area that maps
// onto it, source pixels cut by the area's edges counting with the part that
// lies inside. Shrinking and enlarging alike; equal sizes copy.
//
// Weights are the exact coverages rounded to 1/2048 per axis, each pixel's
// weights summing to exactly 1, so a flat colour stays exactly flat. The
// mean is rounded to the nearest level, halves to even.
void AreaResample(const QImage& source, QImage& destination);

namespace detail {
// Lets tests hold the byte-shuffling path to the plain one.
void allowResampleSimd(bool allowed);
}  // namespace detail

}  // namespace ormica
