#pragma once

#include <QImage>
#include <cstdint>

namespace ormica {

// Grey level of a pixel: round(sqrt(B² + G² + R²) / sqrt(3)) in extended
// precision, halves to even, 255 at most. The root mean square of the three
// channels, the same quantity as the Light level of the histograms.
std::uint8_t GrayLevel(int b, int g, int r);

// Converts a 24-bit bitmap to grey, every channel taking GrayLevel. The
// destination may be the source itself; a different destination takes the
// source's size. At most 65,536 rows and columns.
void BitMapToGrayBitMap(const QImage& source, QImage& destination);

namespace detail {
// The row kernels, exposed so that tests can hold each to GrayLevel.
void grayRowPortable(const std::uint8_t* src, std::uint8_t* dst, int width);
bool grayRowSimdAvailable();
void grayRowSimd(const std::uint8_t* src, std::uint8_t* dst, int width);
}  // namespace detail

}  // namespace ormica
