#include "core/engine/geometry.h"

#include "core/engine/row_bands.h"

#include "core/engine/geometry_support.h"
#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <algorithm>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif
#include <cstring>
#include <new>
#include <optional>
#include <vector>

namespace ormica {

using namespace detail::geometry;

namespace {

constexpr qsizetype kPastCaches = qsizetype(32) << 20;

// One row of a left-right mirror: pixel x to pixel W - 1 - x.
#if defined(__x86_64__) || defined(__i386__)
// Five pixels a step: one 16-byte load, their order reversed by one shuffle,
// one 16-byte store whose last byte is the last of their mirrored place. Its
// first byte, a zero, lands on a pixel that a later step or the plain tail
// writes, or on the part pixel at the start of a ragged row, which is zero.
__attribute__((target("ssse3"))) void mirrorRowShuffled(const std::uint8_t* s, std::uint8_t* d, qsizetype len)
{
    const __m128i reversed = _mm_setr_epi8(-1, 12, 13, 14, 9, 10, 11, 6, 7, 8, 3, 4, 5, 0, 1, 2);
    qsizetype off = 0;
    for (; off + 16 <= len; off += 15) {
        const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + off));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + len - off - 16), _mm_shuffle_epi8(px, reversed));
    }
    for (; off + 3 <= len; off += 3)
        copyPixel(d + len - 3 - off, s + off);
}

bool shuffles()
{
    static const bool yes = __builtin_cpu_supports("ssse3");
    return yes && simdAllowed;
}

// A row of a vertical mirror: memcpy's string move was about 8 % slower than
// plain vector copies on rows of a photograph on the processors we measured.
// A picture far larger than the caches is written past them: reading each
// target line in before overwriting it would only add traffic.
__attribute__((target("avx2"))) void copyRowVectors(std::uint8_t* d, const std::uint8_t* s, std::size_t n, bool past)
{
    std::size_t i = 0;
    if (past) {
        const std::size_t head = std::min(n, (32 - reinterpret_cast<std::uintptr_t>(d) % 32) % 32);
        std::memcpy(d, s, head);
        for (i = head; i + 64 <= n; i += 64) {
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
            const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 32));
            _mm256_stream_si256(reinterpret_cast<__m256i*>(d + i), a);
            _mm256_stream_si256(reinterpret_cast<__m256i*>(d + i + 32), b);
        }
    }
    for (; i + 64 <= n; i += 64) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i + 32), b);
    }
    std::memcpy(d + i, s + i, n - i);
}

bool vectorCopies()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes && simdAllowed;
}
#endif

void copyRow(std::uint8_t* d, const std::uint8_t* s, std::size_t n, bool past)
{
#if defined(__x86_64__) || defined(__i386__)
    if (vectorCopies())
        return copyRowVectors(d, s, n, past);
#endif
    (void)past;
    std::memcpy(d, s, n);
}

void mirrorRow(const std::uint8_t* s, std::uint8_t* d, qsizetype len)
{
#if defined(__x86_64__) || defined(__i386__)
    if (shuffles())
        return mirrorRowShuffled(s, d, len);
#endif
    for (qsizetype off = 0; off + 3 <= len; off += 3)
        copyPixel(d + len - 3 - off, s + off);
}

}  // namespace

// The guard of the mode operations: a picture, and one of the routine's two modes.
static bool worthDoing(const TImgTabBGR& source, char mode, char one, char other)
{
    return !source.empty() && source.rowLength(0) != 0 && (mode == one || mode == other);
}

void MirrorToTrgArr(const TImgTabBGR& source, char mode, TImgTabBGR& target, TProgress* progress)
{
    if (!worthDoing(source, mode, 'H', 'V'))
        return;
    try {
        const SourceView view(source, target);
        const TImgTabBGR& src = *view;
        const int h = src.rowCount();
        const bool even = uniform(src);
        if (even)
            target.setShape(h, src.rowLength(0));
        else
            target.setShape(shapeOf(src));
        if (!even)
            zeroAll(target);
        startProgress(progress, h);
        const bool past = even && qsizetype(h) * src.rowLength(0) >= kPastCaches;
        const auto rows = [&](int from, int to, bool report) {
            for (int y = from; y < to; ++y) {
                const qsizetype len = src.rowLength(y);
                const std::uint8_t* s = src.row(y);
                if (mode == 'H') {
                    mirrorRow(s, target.row(y), len);
                } else {
                    const int ty = h - 1 - y;
                    const qsizetype whole = len - len % 3;
                    if (whole > target.rowLength(ty))
                        throw RowMismatch();
                    if (whole > 0)
                        copyRow(target.row(ty), s, std::size_t(whole), past);
                }
                if (report)
                    addPosition(progress, 1);
            }
#if defined(__x86_64__) || defined(__i386__)
            // Stores past the caches are ordered only by a fence.
            if (past)
                _mm_sfence();
#endif
        };
        // Rows of one length cannot mismatch, so no band can throw.
        if (even)
            ForRowBands(h, qsizetype(h) * src.rowLength(0) >= 3 * kBandedPixels,
                        [&](int band, int from, int to) { rows(from, to, band == 0); });
        else
            rows(0, h, true);
    } catch (const std::bad_alloc&) {
        fail(target, QCoreApplication::translate("Geometry", "MirrorToTrgArr : Не могу перевернуть изображение."));
    } catch (const RowMismatch&) {
        fail(target, QCoreApplication::translate("Geometry", "MirrorToTrgArr : Не могу перевернуть изображение."));
    }
    if (progress)
        progress->setPosition(0);
}

bool Prepare90TrgArr(const TImgTabBGR& source, TImgTabBGR& target)
{
    try {
        target.setShape(source.width(), 3 * qsizetype(source.height()));
        return true;
    } catch (const std::bad_alloc&) {
        target.clear();
        warn(QCoreApplication::translate("Geometry", "Prepare90TrgArr : Не могу получить память для массива."));
        return false;
    }
}

void Rotate90PlusMinus(const TImgTabBGR& source, char mode, TImgTabBGR& target, TProgress* progress)
{
    if (!worthDoing(source, mode, '+', '-'))
        return;
    try {
        const SourceView view(source, target);
        const TImgTabBGR& src = *view;
        if (!Prepare90TrgArr(src, target))
            return;
        const int w = src.width();
        const int h = src.height();
        const bool plus = mode == '+';
        startProgress(progress, h);
        if (uniform(src)) {
            // Tiles keep both the rows read and the rows written in cache;
            // each target row of a tile is written in one straight run.
            // Bands of tiles write apart: each its own columns of the target.
            constexpr int tile = 64;
            const int tiles = (h + tile - 1) / tile;
            ForRowBands(tiles, qsizetype(w) * h >= kBandedPixels, [&](int band, int from, int to) {
                const std::uint8_t* rows[tile];
                for (int y0 = from * tile; y0 < std::min(h, to * tile); y0 += tile) {
                    const int y1 = std::min(h, y0 + tile);
                    const int n = y1 - y0;
                    for (int i = 0; i < n; ++i)
                        rows[i] = src.row(plus ? y0 + i : y1 - 1 - i);
                    // '+' puts source row y at column y, '-' at column H - 1 - y.
                    const qsizetype col = 3 * qsizetype(plus ? y0 : h - y1);
                    for (int x = 0; x < w; ++x) {
                        std::uint8_t* d = target.row(plus ? w - 1 - x : x) + col;
                        const qsizetype sx = 3 * qsizetype(x);
                        for (int i = 0; i < n; ++i)
                            copyPixel(d + 3 * i, rows[i] + sx);
                    }
                    if (band == 0)
                        addPosition(progress, n);
                }
            });
        } else {
            zeroAll(target);
            for (int y = 0; y < h; ++y) {
                const std::uint8_t* s = src.row(y);
                const qsizetype pixels = src.rowLength(y) / 3;
                for (qsizetype x = 0; x < pixels; ++x) {
                    const qsizetype ty = plus ? w - 1 - x : x;
                    if (ty < 0 || ty >= w)
                        throw RowMismatch();
                    copyPixel(target.row(int(ty)) + 3 * qsizetype(plus ? y : h - 1 - y), s + 3 * x);
                }
                addPosition(progress, 1);
            }
        }
    } catch (const std::bad_alloc&) {
        fail(target, QCoreApplication::translate("Geometry", "Rotate90PlusMinus : Не могу перевернуть изображение."));
    } catch (const RowMismatch&) {
        fail(target, QCoreApplication::translate("Geometry", "Rotate90PlusMinus : Не могу перевернуть изображение."));
    }
}

namespace detail {

void allowGeometrySimd(bool allowed)
{
    simdAllowed = allowed;
}

}  // namespace detail

}  // namespace ormica
