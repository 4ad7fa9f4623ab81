#pragma once

// The ways of computing the convolved interior, shared by FilterTabColor and
// its vectorised variant. Not for use outside the filter library.

#include "core/engine/img_tab.h"
#include "core/engine/progress.h"
#include "core/filter/filter_kernel.h"
#include "core/filter/filter_tab.h"

#include <cstdint>

namespace ormica::detail {

// Each fills rows 3 .. H - 4, columns 3 .. W - 4 of the target (H, W >= 7,
// target of the source's shape, kernel accepted by KernelFits, scale >= 1)
// and moves the progress to i - 2 for each row i: after the row, or, in the
// vectorised way, after the band of rows it belongs to.
void ConvolveInteriorDirect(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source,
                            TImgTabColor& target, TProgress* progress);
void ConvolveInteriorPortable(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source,
                              TImgTabColor& target, TProgress* progress);
// False, having done nothing, where the processor lacks the instructions.
bool ConvolveInteriorVectorised(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source,
                                TImgTabColor& target, TProgress* progress);
bool VectorisedAvailable();

}  // namespace ormica::detail
