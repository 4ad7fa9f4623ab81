#pragma once

#include "core/filter/filter_kernel.h"

#include <cstdint>
#include <vector>

namespace ormica {

// The magnitude of the kernel's two-dimensional discrete Fourier transform
// divided by the scale, on an n x n grid of frequencies: row i and column j
// stand for v = (i - n/2)/n and u = (j - n/2)/n cycles per pixel, so that
// zero frequency is at row n/2, column n/2:
//   |sum over r, c = -3..3 of w(r, c) e^(-2 pi i (u c + v r))| / scale.
struct TFrequencyResponse {
    int Size = 0;
    std::vector<double> Magnitude;  // row by row, Size * Size values
    double at(int row, int column) const { return Magnitude[std::size_t(row) * std::size_t(Size) + std::size_t(column)]; }
    // The value at zero frequency: the brightness gain.
    double Gain() const { return at(Size / 2, Size / 2); }
};

// n from 2 to 1024; scale at least 1.
TFrequencyResponse FrequencyResponse(const TFilterKernel& kernel, std::int32_t scale, int n = 64);

}  // namespace ormica
