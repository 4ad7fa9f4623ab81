#pragma once

#include <QImage>
#include <cstdint>

namespace ormica {

// The largest sum of squares of a pixel, 3 * 255 * 255.
constexpr int kMaxSumOfSquares = 195075;

// The Light level of a pixel from s = R² + G² + B² (0..kMaxSumOfSquares):
// v = sqrt(s) / sqrt3 in extended precision, rounded to nearest with halves
// to even while v < 255.1, else 255. The grey conversion and the histograms
// both take their levels from here, so the two never disagree.
std::uint8_t LightLevelOfSum(int sumOfSquares, long double sqrt3);
std::uint8_t LightLevelOfSum(int sumOfSquares);  // with sqrt(3.0L)

// LightLevelOfSum for every sum 0..kMaxSumOfSquares, built once on first use.
const std::uint8_t* LightLevelTable();

// Grey level of a pixel: LightLevelOfSum(B² + G² + R²), the root mean square
// of the three channels.
std::uint8_t GrayLevel(int b, int g, int r);

// The Light level of each of `width` pixels (B, G, R bytes), one byte each.
void LightLevelsRow(const std::uint8_t* bgr, std::uint8_t* levels, int width);

// Converts a 24-bit bitmap to grey, every channel taking GrayLevel. The
// destination may be the source itself; a different destination takes the
// source's size, its own memory kept when it already has that size in the
// 24-bit format and shares it with no other picture. At most 65,536 rows and
// columns.
void BitMapToGrayBitMap(const QImage& source, QImage& destination);

namespace detail {
// The row kernels, exposed so that tests can hold each to GrayLevel.
void grayRowPortable(const std::uint8_t* src, std::uint8_t* dst, int width);
bool grayRowSimdAvailable();
void grayRowSimd(const std::uint8_t* src, std::uint8_t* dst, int width);
}  // namespace detail

}  // namespace ormica
