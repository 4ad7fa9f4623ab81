#pragma once

#include "core/engine/progress.h"

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
// Decoding work is counted in block visits: one step of the entropy decoder
// over a block that the file codes as nothing, a few nanoseconds. A scan of
// end-of-band runs visits millions of blocks for a few bytes, so a file may
// spend only kJpegWorkPerBlock visits per block of its picture (no fewer than
// kJpegWorkFloor, no more than kJpegWorkCeiling) and kJpegWorkPerByte for each
// byte it holds. Real encoders need less than two thirds of the first; the
// ceiling keeps a small file declaring a huge picture to a second or two, and
// a flat picture of that size still holds bytes enough.
inline constexpr long long kJpegWorkPerBlock = 96;
inline constexpr long long kJpegWorkFloor = 1LL << 20;
inline constexpr long long kJpegWorkCeiling = 1LL << 28;
inline constexpr long long kJpegWorkPerByte = 96;

// Decodes a JPEG file (baseline or progressive; grey, YCbCr, RGB, CMYK or
// YCCK) into a 24-bit picture. A damaged, truncated, 12-bit or oversized file,
// one of too many scans, one whose coefficients would need more memory or whose
// decoding more work than the limits above throws TImageError carrying the
// reason. service may be null.
QImage DecodeJpegFile(const QString& fileName, TJPEGService* service);

// Encodes a 24-bit picture as baseline (or progressive) JPEG at quality 1..100
// and writes it in one step, so a failed write leaves any old file as it was.
// Throws TImageError.
void EncodeJpegFile(const QImage& picture, const QString& fileName, int quality, bool progressive,
                    TJPEGService* service);

}  // namespace ormica
