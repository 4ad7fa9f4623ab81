#pragma once

#include <QString>
#include <cstdint>

namespace ormica {

// What the first directory of a TIFF file says about the size of its pixel
// data, read by our own code: the library behind Qt's reader allocates a
// whole strip or tile as the file declares it, before it reads a byte of it.
struct TTiffLayout {
    qint64 width = 0;
    qint64 height = 0;
    qint64 samplesPerPixel = 1;
    qint64 bitsPerSample = 1;  // the largest of those listed
    qint64 rowsPerStrip = 0;   // 0: the whole picture is one strip
    qint64 tileWidth = 0;      // 0 when the file is not tiled
    qint64 tileLength = 0;
    qint64 dataBytes() const;     // the pixel data unpacked, rows padded to bytes
    qint64 largestBlock() const;  // the largest strip or tile unpacked
};

// The layout of the first directory; nothing when the file is too short or
// not a TIFF (the reader then says why). Classic and big TIFF, either byte order.
bool ReadTiffLayout(const QString& fileName, TTiffLayout& layout);

// Unpacked pixel data beyond this is refused: four bytes a pixel of the
// largest picture we accept.
qint64 MaxTiffDataBytes();

}  // namespace ormica
