#pragma once

#include "core/engine/image_desc.h"

#include <QImage>
#include <QString>
#include <cstdint>

namespace ormica {

// What the header of a BMP file says, read by our own code so that the
// pixel-format code is exact whatever the reader does with the pixels.
struct TBmpHeader {
    qint64 width = 0;
    qint64 height = 0;  // positive whatever the row order
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t infoSize = 0;  // the info header's own size: 12 (OS/2 1.x), 40, 64 (OS/2 2.x), 108, 124...
    std::uint32_t compression = 0;
    std::uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
    TPixelFormat format = pfCustom;
    qint64 fileSize = 0;
    qint64 pixelsAt = 0;      // where the pixels begin: after the headers, palette and masks at the least
    qint64 pixelBytes = 0;    // uncompressed: padded rows but the last one's padding; 0 for run-length data
    bool paletteCut = false;  // the offset of the pixels points into the palette their format needs
};

// Reads the headers; throws TImageError for a file that is not a bitmap, is
// cut short, or declares an absurd size.
TBmpHeader ReadBmpHeader(const QString& fileName);

// The pixel-format code of the header's layout:
// 1-bit pf1bit; 4- and 8-bit (plain or RLE) pf4bit, pf8bit; 16-bit 5-5-5
// pf15bit; 16-bit 5-6-5 pf16bit; 24-bit pf24bit; 32-bit pf32bit; anything
// else (2-bit, 64-bit, other masks, embedded JPEG or PNG) pfCustom.
TPixelFormat BmpPixelFormat(const TBmpHeader& header);

// Decodes the pixels into a 24-bit picture; throws TImageError for pixels that
// cannot be read, or uncompressed pixels that the file ends before. Pixels
// that run-length data skips or never reaches take the palette's first colour. When the change to 24 bits does not
// take, returns the picture in the reader's format. 5- and 6-bit channels are widened by bit replication, so that full
// intensity stays 255.
QImage ReadBmpPixels(const QString& fileName, const TBmpHeader& header);

// Uncompressed 24-bit files, and 32-bit ones whose channels are the usual
// bytes (no masks, or the masks 00FF0000, 0000FF00, 000000FF with alpha, if
// any, in the top byte) under a header Qt's reader takes, are read by our
// own row reader straight into the 24-bit picture; any other kind goes
// through Qt's reader and a conversion.
bool BmpRowsReadDirectly(const TBmpHeader& header);

// Writes a 24-bit bottom-up BMP in one step (an old file stays as it was on
// failure); false when the file cannot be written.
bool WriteBmpFile(const QImage& picture, const QString& fileName);

// Lets the picture reader allocate photographs beyond its default limit; the
// headers are checked against our own limit first.
void RaiseImageAllocationLimit();

namespace detail {
// Drops the fourth byte of each of `width` four-byte pixels; exposed so that
// tests can hold both kernels to each other.
void packRow32Portable(const std::uint8_t* src, std::uint8_t* dst, int width);
bool packRow32SimdAvailable();
void packRow32Simd(const std::uint8_t* src, std::uint8_t* dst, int width);
}  // namespace detail

}  // namespace ormica
