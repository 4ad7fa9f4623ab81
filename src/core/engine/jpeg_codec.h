#pragma once

#include "progress.h"

#include <QImage>
#include <QString>

namespace ormica {

enum class TJpegStage { Starting, Running, Ending };

// Carries the codec's progress into a progress bar: 0..100 per file.
class TJPEGService {
public:
    explicit TJPEGService(TProgress* progress) : progress_(progress) {}
    void progress(TJpegStage stage, int percent);

private:
    TProgress* progress_;
};

// More scans than this in one file are refused: each scan costs a pass over
// the whole picture.
inline constexpr int kMaxJpegScans = 256;
// The decoder's working memory may exceed the 24-bit picture's size by this.
inline constexpr long long kJpegDecoderMargin = 256LL << 20;

// Decodes a JPEG file (baseline or progressive; grey, YCbCr, RGB, CMYK or
// YCCK) into a 24-bit picture. A damaged, truncated, 12-bit or oversized file,
// one of too many scans or one whose coefficients would need more memory than
// the limits above throws TImageError carrying the reason. service may be null.
QImage DecodeJpegFile(const QString& fileName, TJPEGService* service);

// Encodes a 24-bit picture as baseline (or progressive) JPEG at quality 1..100
// and writes it in one step, so a failed write leaves any old file as it was.
// Throws TImageError.
void EncodeJpegFile(const QImage& picture, const QString& fileName, int quality, bool progressive,
                    TJPEGService* service);

}  // namespace ormica
