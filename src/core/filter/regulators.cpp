#include "core/filter/regulators.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ormica {

namespace {

int clampPosition(int position)
{
    return std::clamp(position, -10, 10);
}

// The integer `n` divided by `d` in extended precision, truncated toward zero.
std::int64_t truncDiv(std::int64_t n, int d)
{
    return std::int64_t(std::trunc(static_cast<long double>(n) / d));
}

bool fitsInt32(std::int64_t v)
{
    return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

std::optional<std::int32_t> LightToScale(const TFilterKernel& kernel, int position)
{
    if (!CheckKernel(kernel, QStringLiteral("LightToScale")))
        return std::nullopt;
    const std::int64_t s = *KernelSum(kernel);
    const std::int64_t v = truncDiv(s * 45, 100);
    if (v <= 0)
        return std::nullopt;
    const std::int64_t u = truncDiv(v * clampPosition(position), 10);
    // |u| <= 0.45 S, so the result lies between 0.55 S and 1.45 S; a kernel
    // that fits keeps S below 2^31 / 255, far from the edge.
    return std::int32_t(s - u);
}

std::optional<TFocusResult> FocusToKernel(const TFilterKernel& kernel, std::int32_t baseCentre, std::int32_t baseSum,
                                          int position)
{
    if (baseSum <= 0)
        return std::nullopt;
    const std::int64_t centre =
        std::int64_t(baseCentre) - truncDiv((std::int64_t(baseSum) - 1) * clampPosition(position), 10);
    TFilterKernel changed = kernel;
    if (!fitsInt32(centre)) {
        // Out of range already; CheckKernel words the refusal.
        changed.centre() = std::numeric_limits<std::int32_t>::max();
        CheckKernel(changed, QStringLiteral("FocusToKernel"));
        return std::nullopt;
    }
    changed.centre() = std::int32_t(centre);
    if (!CheckKernel(changed, QStringLiteral("FocusToKernel")))
        return std::nullopt;
    const std::int32_t sum = *KernelSum(changed);
    if (sum < 1)
        return TFocusResult{kernel.centre(), baseSum};
    return TFocusResult{std::int32_t(centre), sum};
}

}  // namespace ormica
