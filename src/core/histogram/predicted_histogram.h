#pragma once

#include "core/engine/img_tab.h"
#include "core/histogram/histogram.h"
#include "core/transfer/point_list.h"

#include <cstdint>

namespace ormica {

// The Light counts of every `step`-th row of the picture ConvertImageTab
// makes of `source` with `points`; `pixels` gets how many were counted.
// Nothing where the run writes no picture. A large picture is shared out by
// bands of rows on several threads; the counts do not depend on how.
TGistogram PredictedLightHistogram(const TImgTabBGR& source, const TBrightPointArray& points, int step,
                                   std::int64_t& pixels);

}  // namespace ormica
