#pragma once

#include "core/filter/filter_kernel.h"

#include <cstdint>
#include <optional>

namespace ormica {

// The brightness regulator: the scale for track-bar position P (-10 .. 10,
// further positions count as the nearest end), or nullopt for no change
// (a kernel whose sum is 2 or less). The kernel is not changed. A kernel that
// CheckKernel refuses gives its error and no change.
std::optional<std::int32_t> LightToScale(const TFilterKernel& kernel, int position);

struct TFocusResult {
    std::int32_t Centre = 0;
    std::int32_t Scale = 0;
    friend bool operator==(const TFocusResult&, const TFocusResult&) = default;
};

// The focus regulator: a new centre weight and scale from the regulator origin
// and track-bar position P (-10 .. 10, clamped like LightToScale), or nullopt
// for no change (base sum 0 or less). When the new centre would bring the sum
// below 1 the centre stays the kernel's and the scale becomes the base sum. A
// centre that would make the kernel unusable (CheckKernel) gives its error
// and no change.
std::optional<TFocusResult> FocusToKernel(const TFilterKernel& kernel, std::int32_t baseCentre, std::int32_t baseSum,
                                          int position);

}  // namespace ormica
