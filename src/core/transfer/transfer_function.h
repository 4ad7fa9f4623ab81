#pragma once

#include "core/engine/img_tab.h"
#include "core/engine/progress.h"
#include "core/transfer/point_list.h"

#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace ormica {

// The formulas of the smooth generator, in the order of its list.
enum class TFormulaKind { None = 0, Ln1p = 1, ExpM1 = 2, Sqrt = 3, Square = 4, SinQuarterPi = 5 };

// Value of formula `kind` at x; unknown kinds give x.
long double FormulaValue(int kind, long double x);

// N points of the formula over [0, xe], scaled so that the range fills 0..255.
// nullopt when N < 2 (nothing to do); an empty array, after the warning
// "Недопустимый вид порождающей функции", when the formula is negative or
// constant over the range.
std::optional<TBrightPointArray> GenerateFormulaPoints(int kind, int pointCount, long double xe);

// Step (type 1) or grating (type 2) function; `sectionItem` 0..3 chooses 4, 8,
// 16 or 32 sections, `grating` is the grating width 0..4. Empty for other types.
TBrightPointArray GenerateSpecialPoints(int typeItem, int sectionItem, int grating);

// The report lines of a function: count, heading, one line per pair.
QStringList ReportPoints(const TBrightPointArray& points);

struct TConvSegment {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    bool Vertical = false;
    double Slope = 0;  // output value when Vertical
};
using TConvSegments = std::vector<TConvSegment>;

// One segment per pair; the last only closes its predecessor. Empty for fewer than 2 pairs.
TConvSegments BuildConvSegments(const TBrightPointArray& points);

// Applies the function to one pixel's brightness, scaling its three bytes by
// one factor so that hue is kept. Direct per-pixel computation.
void ConvertPixel(const TConvSegments& segments, std::uint8_t& p0, std::uint8_t& p1, std::uint8_t& p2);

// ConvertPixel for a fixed function, its factor looked up per Light level;
// the same bytes as ConvertPixel for every colour.
class TPixelConverter {
public:
    explicit TPixelConverter(const TConvSegments& segments);
    void convert(const std::uint8_t* src, std::uint8_t* dst) const { convertRow(src, dst, 1); }
    void convertRow(const std::uint8_t* src, std::uint8_t* dst, qsizetype pixels) const;

private:
    static constexpr std::size_t kSlots = 258;  // Light index 0..255, then sums 1 and 2
    // The slot of every sum of squares: Trunc(Sqrt(s / 3)), or 255 + s for sums 1 and 2.
    static const std::uint16_t* slotOfSum();
    // The integer path's multipliers, on processors with AVX-512.
    void buildMultipliers();
    void convertScalar(const std::uint8_t* src, std::uint8_t* dst, qsizetype pixels) const;

    const std::uint16_t* slotOfSum_ = nullptr;
    std::vector<double> factor_;  // the pixel's common factor, per slot
    std::vector<std::uint32_t> multiplier_;  // per Light level and brightest channel
};

namespace detail {
// Tests compare the vector paths with the scalar one on the same machine:
// 512 allows every path, 256 those up to AVX2, 0 the scalar one only.
void setTransferVectorBits(int bits);
}  // namespace detail

// The target gets the source converted pixel by pixel. A row whose length is
// not a multiple of three empties the target after the warning
// "TabBRGtoTabBGR : Не могу скопировать массив.".
void ConvertImageTab(const TImgTabBGR& source, TImgTabBGR& target, const TBrightPointArray& points,
                     TProgress& progress);

}  // namespace ormica
