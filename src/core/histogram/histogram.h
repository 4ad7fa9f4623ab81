#pragma once

#include "core/engine/img_tab.h"
#include "core/engine/progress.h"

#include <array>
#include <cstdint>

namespace ormica {

using TGistogram = std::array<std::int32_t, 256>;

// Everything one histogram computation yields: the counts of the red, green,
// blue and Light levels, their bar heights and the global statistics.
// Channels always go red, green, blue, Light.
struct TGistogramData {
    char ImageTag = 0;                   // 'M' source image, 'F' target image; set by the window
    const TImgTabBGR* ImgTab = nullptr;  // the array last computed from
    TGistogram GistR{}, GistG{}, GistB{}, GistL{};
    std::int32_t MaxR = 0, MaxG = 0, MaxB = 0, MaxL = 0;
    long double Sqrt3 = 0;
    std::uint32_t Count = 0;
    std::int32_t NumBlack = 0, NumWhite = 0;        // filled by the window when it shows the record
    TGistogram NormR{}, NormG{}, NormB{}, NormL{};  // bar heights 0..kNormHeight
    long double MeanR = 0, MeanG = 0, MeanB = 0, MeanL = 0;
    long double VarR = 0, VarG = 0, VarB = 0, VarL = 0;  // population variance
    long double Bessel = 0;                              // Count / (Count - 1)
    long double StdR = 0, StdG = 0, StdB = 0, StdL = 0;  // sqrt(Bessel * variance)
};

// The height of the tallest bar.
constexpr int kNormHeight = 236;

// Fills `data` from `image`: clears it, counts every pixel, then scales the
// bars and computes the statistics. Null data does nothing; null image leaves
// the record cleared; an array with no rows gives zeros. An empty row, a row
// whose length is not a multiple of 3 or any other failure shows a warning
// and keeps the counts made so far. `progress` (may be null) runs 0..rows-1
// and ends at 0.
void CalculateAllGistogram(const TImgTabBGR* image, TProgress* progress, TGistogramData* data);

// The two closing steps of CalculateAllGistogram, on the counts and maxima
// already in the record.
void NormalizeGistogram(TGistogramData& data);
void GistogramStatistics(TGistogramData& data);

}  // namespace ormica
