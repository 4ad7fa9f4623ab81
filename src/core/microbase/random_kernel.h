#pragma once

#include "core/filter/filter_kernel.h"

#include <cstdint>
#include <functional>

namespace ormica {

// Fills the kernel as a random filter of type t. The centre becomes 6..11;
// the middle row and column keep their weights; every other cell at
// distance d = |i - 3| + |j - 3| gets a magnitude 0..|6 - d|, positive for
// type 0, negative for type 1, either sign for type 2, and 0 for any other
// type. random(n) gives a uniform whole number 0..n - 1.
void RandomKernel(int t, TFilterKernel& kernel, const std::function<int(int)>& random);

// RandomKernel with a generator seeded from the clock.
void RandomKernel(int t, TFilterKernel& kernel);

// The weight sum when it is above 0 (and fits), else 1.
std::int32_t ScaleOfKernel(const TFilterKernel& kernel);

}  // namespace ormica
