#pragma once

#include <QString>
#include <cstdint>

namespace ormica {

// Pixel-format codes of a picture as it came from its file or the clipboard.
enum TPixelFormat : std::uint8_t {
    pfDevice = 0,
    pf1bit = 1,
    pf4bit = 2,
    pf8bit = 3,
    pf15bit = 4,
    pf16bit = 5,
    pf24bit = 6,
    pf32bit = 7,
    pfCustom = 8,
};

// Where an image control's picture came from.
enum TSourceKind : std::uint8_t {
    skOperation = 0,
    skJpegFile = 1,
    skBmpFile = 2,
    skPngFile = 3,
    skTiffFile = 4,
    skWebpFile = 5,
    skClipboard = 128,
    skStartUp = 255,
};

struct TImageDesc {
    QString FileName;
    std::uint8_t SourceKind = skStartUp;
    std::uint8_t PixelFormat = pfCustom;
};

}  // namespace ormica
