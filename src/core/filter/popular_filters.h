#pragma once

#include "core/filter/filter_kernel.h"

#include <QString>
#include <optional>
#include <span>

namespace ormica {

// The ready-made kernels of the filter window's menu. They carry no scale:
// whoever loads one sets the scale to its weight sum.

// Sharpening, wide (sum 280).
inline constexpr TFilterKernel PopFilterH1{{
    0,  0,   0,   -5,  0,   0,   0,   //
    0,  0,   -5,  -10, -5,  0,   0,   //
    0,  -5,  -10, -20, -10, -5,  0,   //
    -5, -10, -20, 500, -20, -10, -5,  //
    0,  -5,  -10, -20, -10, -5,  0,   //
    0,  0,   -5,  -10, -5,  0,   0,   //
    0,  0,   0,   -5,  0,   0,   0,   //
}};

// Sharpening, normal (sum 16).
inline constexpr TFilterKernel PopFilterH2{{
    0, 0,  0,  0,  0,  0,  0,  //
    0, 0,  0,  -1, 0,  0,  0,  //
    0, 0,  -1, -2, -1, 0,  0,  //
    0, -1, -2, 32, -2, -1, 0,  //
    0, 0,  -1, -2, -1, 0,  0,  //
    0, 0,  0,  -1, 0,  0,  0,  //
    0, 0,  0,  0,  0,  0,  0,  //
}};

// Sharpening, narrow (sum 1).
inline constexpr TFilterKernel PopFilterH3{{
    0, 0, 0,  0,  0,  0, 0,  //
    0, 0, 0,  0,  0,  0, 0,  //
    0, 0, 0,  -1, 0,  0, 0,  //
    0, 0, -1, 5,  -1, 0, 0,  //
    0, 0, 0,  -1, 0,  0, 0,  //
    0, 0, 0,  0,  0,  0, 0,  //
    0, 0, 0,  0,  0,  0, 0,  //
}};

// Smoothing, wide (sum 108).
inline constexpr TFilterKernel PopFilterL1{{
    0,  0,  -1, 2,  -1, 0,  0,   //
    0,  -1, 2,  4,  2,  -1, 0,   //
    -1, 2,  4,  8,  4,  2,  -1,  //
    2,  4,  8,  32, 8,  4,  2,   //
    -1, 2,  4,  8,  4,  2,  -1,  //
    0,  -1, 2,  4,  2,  -1, 0,   //
    0,  0,  -1, 2,  -1, 0,  0,   //
}};

// Smoothing, normal (sum 43). Row 4 is not the mirror of row 2: that is how
// the filter has always been shipped.
inline constexpr TFilterKernel PopFilterL2{{
    0, 0, 0, 0,  0, 0, 0,  //
    0, 0, 0, 1,  0, 0, 0,  //
    0, 0, 2, 4,  2, 0, 0,  //
    0, 1, 4, 16, 4, 1, 0,  //
    0, 0, 1, 4,  2, 0, 0,  //
    0, 0, 0, 1,  0, 0, 0,  //
    0, 0, 0, 0,  0, 0, 0,  //
}};

// Smoothing, narrow (sum 6).
inline constexpr TFilterKernel PopFilterL3{{
    0, 0, 0, 0, 0, 0, 0,  //
    0, 0, 0, 0, 0, 0, 0,  //
    0, 0, 0, 1, 0, 0, 0,  //
    0, 0, 1, 2, 1, 0, 0,  //
    0, 0, 0, 1, 0, 0, 0,  //
    0, 0, 0, 0, 0, 0, 0,  //
    0, 0, 0, 0, 0, 0, 0,  //
}};

// One table of the ready-made kernels for the filter window's menu and the
// tool: sharpening then smoothing, each wide, normal, narrow.
struct TReadyFilter {
    const char* name;     // the tool's word for it: "H1"
    std::int32_t type;    // its filter type: 2 sharpening, 1 smoothing
    const char* width;    // its item in the menu of its type: "Широкий" (see ReadyFilterMenuText)
    const char* english;  // the width in the tool's help: "wide"
    const TFilterKernel* kernel;
};
std::span<const TReadyFilter> ReadyFilters();
// A kernel's menu item in the language of the program.
QString ReadyFilterMenuText(const TReadyFilter& filter);

// The ready-made kernel named "H1", "H2", "H3", "L1", "L2" or "L3".
std::optional<TFilterKernel> PopularFilter(const QString& name);

}  // namespace ormica
