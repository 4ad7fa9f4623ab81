#pragma once

#include <vector>

namespace ormica {

// One point of a plotted table function, in extended precision.
struct TGraphPoint {
    long double X = 0;
    long double Y = 0;
};

// The points in the order in which the polyline joins them.
using TGraphArr = std::vector<TGraphPoint>;

}  // namespace ormica
