#include "core/scale/area_resample.h"

#include "core/engine/row_bands.h"

#include <algorithm>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

namespace ormica {

namespace {

// Destination rows in bands, one a worker thread, for large sources: each
// row's sums come from its own source rows, whichever thread makes them.
template <class Rows> void inBands(const QImage& source, int dh, Rows rows)
{
    ForRowBands(dh, qsizetype(source.width()) * source.height() >= kBandedPixels,
                [&](int, int from, int to) { rows(from, to); });
}

constexpr int kBits = 12;
constexpr std::int32_t kOne = 1 << kBits;  // rounded weights of one pixel sum to this

// Rounded weights keep a pixel within half a level of the exact mean while
// the taps of both axes beyond the first number at most this (see makeTaps);
// stronger reductions take the exact path.
constexpr int kMostExtraTaps = kOne / 255;

// For each destination index: the first source index and the weights of the
// source pixels its span covers.
struct Taps {
    std::vector<int> first;
    std::vector<int> start;  // into weights; start[j + 1] - start[j] taps
    std::vector<std::int32_t> weights;
    int widest = 0;
    std::int64_t whole = 0;  // what the weights of one destination pixel sum to
};

enum class Weights {
    // Coverages in units of 1 / kOne: 32-bit sums, at most a few taps.
    Rounded,
    // Coverages as whole numbers (the overlaps over their common divisor):
    // exact at any ratio, sums up to 255 * 2^32 in 2-D.
    Exact,
};

Taps makeTaps(int srcLen, int dstLen, Weights kind)
{
    // In units of 1 / (srcLen * dstLen) of the picture: destination j spans
    // [j * srcLen, (j + 1) * srcLen), source i spans [i * dstLen, (i + 1) * dstLen).
    const std::int64_t unit = kind == Weights::Exact ? std::gcd(srcLen, dstLen) : 1;
    Taps t;
    t.whole = kind == Weights::Exact ? srcLen / unit : kOne;
    t.first.resize(std::size_t(dstLen));
    t.start.resize(std::size_t(dstLen) + 1);
    for (int j = 0; j < dstLen; ++j) {
        const std::int64_t lo = std::int64_t(j) * srcLen;
        const std::int64_t hi = lo + srcLen;
        const int i0 = int(lo / dstLen);
        const int i1 = std::min(srcLen - 1, int((hi - 1) / dstLen));
        t.first[std::size_t(j)] = i0;
        t.start[std::size_t(j)] = int(t.weights.size());
        std::int64_t covered = 0;
        std::int32_t rounded = 0;
        for (int i = i0; i <= i1; ++i) {
            const std::int64_t overlap =
                std::min(hi, std::int64_t(i + 1) * dstLen) - std::max(lo, std::int64_t(i) * dstLen);
            if (kind == Weights::Exact) {
                t.weights.push_back(std::int32_t(overlap / unit));  // span ends are multiples of unit
                continue;
            }
            // Each weight is the step between two rounded running totals, the
            // last total exactly kOne. A total is off by half a unit at most,
            // so the weighted sum is off by sum e_i (p_i - p_i+1) over the
            // n - 1 inner totals: (n - 1) * 255 / 2 units at worst. Rounding
            // each weight on its own and giving the rest to one tap instead
            // lets that tap's error grow with n until it swamps the mean.
            covered += overlap;
            const auto total = std::int32_t((covered * kOne * 2 + srcLen) / (2 * std::int64_t(srcLen)));
            t.weights.push_back(total - rounded);
            rounded = total;
        }
        t.widest = std::max(t.widest, i1 - i0 + 1);
    }
    t.start[std::size_t(dstLen)] = int(t.weights.size());
    return t;
}

// Every destination pixel with the same number of taps: the widest, the
// extra ones weighing 0, the window moved back where it would pass the end.
struct PaddedTaps {
    int count = 0;
    std::vector<int> first;
    std::vector<std::uint32_t> weights;  // count per destination pixel
};

PaddedTaps pad(const Taps& t, int srcLen)
{
    PaddedTaps p;
    p.count = t.widest;
    const std::size_t n = t.first.size();
    p.first.resize(n);
    p.weights.assign(n * std::size_t(p.count), 0);
    for (std::size_t j = 0; j < n; ++j) {
        const int first = std::min(t.first[j], srcLen - p.count);
        p.first[j] = first;
        for (int k = t.start[j]; k < t.start[j + 1]; ++k)
            p.weights[j * std::size_t(p.count) + std::size_t(t.first[j] - first + (k - t.start[j]))] =
                std::uint32_t(t.weights[std::size_t(k)]);
    }
    return p;
}

// Weighted sums along a row, per channel: of source bytes into 32 bits
// (below 255 * 2^16 with either kind of weights), or of column sums into 64.
// N taps a pixel, known to the compiler for the common small counts.
template <int N, class In, class Sum> void horizontalSums(const In* src, const PaddedTaps& t, int dstW, Sum* out)
{
    const int n = N > 0 ? N : t.count;
    for (int j = 0; j < dstW; ++j) {
        const In* p = src + 3 * std::size_t(t.first[std::size_t(j)]);
        const std::uint32_t* w = t.weights.data() + std::size_t(j) * std::size_t(n);
        Sum b = 0, g = 0, r = 0;
        for (int k = 0; k < n; ++k, p += 3) {
            b += Sum(w[k]) * p[0];
            g += Sum(w[k]) * p[1];
            r += Sum(w[k]) * p[2];
        }
        out[3 * j] = b;
        out[3 * j + 1] = g;
        out[3 * j + 2] = r;
    }
}

bool simdAllowed = true;

#if defined(__x86_64__) || defined(__i386__)
bool ssse3()
{
    static const bool yes = __builtin_cpu_supports("ssse3");
    return yes && simdAllowed;
}

// Two taps a pixel (every enlargement): the six bytes of the two source
// pixels are paired channel by channel and multiplied-added with the two
// weights in one step. Writes four sums a pixel, the fourth overwritten by
// the next pixel, so the last pixel, and any whose eight-byte load would pass
// the end of the source row, take the plain path.
__attribute__((target("ssse3"))) void horizontalTwoTaps(const std::uint8_t* src, const PaddedTaps& t, int srcW,
                                                        int dstW, std::uint32_t* out)
{
    const __m128i pairs = _mm_setr_epi8(0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1);
    const std::size_t lastSafe = std::size_t(3) * srcW - 8;  // highest byte offset with 8 readable bytes
    int j = 0;
    for (; j + 1 < dstW; ++j) {
        const std::size_t at = 3 * std::size_t(t.first[std::size_t(j)]);
        if (3 * std::size_t(srcW) < 8 || at > lastSafe)
            break;
        const std::uint32_t* w = t.weights.data() + 2 * std::size_t(j);
        const __m128i px = _mm_shuffle_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + at)), pairs);
        const __m128i wt =
            _mm_setr_epi16(short(w[0]), short(w[1]), short(w[0]), short(w[1]), short(w[0]), short(w[1]), 0, 0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * j), _mm_madd_epi16(px, wt));
    }
    for (; j < dstW; ++j) {
        const std::uint8_t* p = src + 3 * std::size_t(t.first[std::size_t(j)]);
        const std::uint32_t* w = t.weights.data() + 2 * std::size_t(j);
        for (int c = 0; c < 3; ++c)
            out[3 * j + c] = w[0] * p[c] + w[1] * p[c + 3];
    }
}
#endif

void horizontal(const std::uint8_t* src, const PaddedTaps& t, int srcW, int dstW, std::uint32_t* out)
{
    switch (t.count) {
    case 1:
        return horizontalSums<1>(src, t, dstW, out);
    case 2:
#if defined(__x86_64__) || defined(__i386__)
        if (ssse3())
            return horizontalTwoTaps(src, t, srcW, dstW, out);
#endif
        return horizontalSums<2>(src, t, dstW, out);
    case 3:
        return horizontalSums<3>(src, t, dstW, out);
    case 4:
        return horizontalSums<4>(src, t, dstW, out);
    default:
        return horizontalSums<0>(src, t, dstW, out);
    }
}

// Straight runs of sums, in wider vectors where the processor has them.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ORMICA_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ORMICA_VECTOR_CLONES
#endif

// A block sum s of four bytes as a level: s / 4, halves to even.
inline std::uint8_t blockLevel(unsigned sum)
{
    return std::uint8_t((sum + 1 + ((sum >> 2) & 1)) >> 2);
}

#if defined(__x86_64__)
bool avx2()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes && simdAllowed;
}

#define ORMICA_AVX2 __attribute__((target("avx2")))

// The same 16-byte shuffle in both halves.
ORMICA_AVX2 inline __m256i inBothHalves(__m128i m)
{
    return _mm256_broadcastsi128_si256(m);
}

// Bytes at p and at p + 48.
ORMICA_AVX2 inline __m256i halves(const std::uint8_t* p)
{
    return _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(p + 48), reinterpret_cast<const __m128i*>(p));
}

struct PairShuffle {
    int first, second;  // offsets of the two loads within the 48 bytes
    __m256i fromFirst, fromSecond;
};

ORMICA_AVX2 inline __m256i pairSums(const std::uint8_t* row, const PairShuffle& s, __m256i ones)
{
    const __m256i a = _mm256_shuffle_epi8(halves(row + s.first), s.fromFirst);
    const __m256i b = _mm256_shuffle_epi8(halves(row + s.second), s.fromSecond);
    return _mm256_maddubs_epi16(_mm256_or_si256(a, b), ones);
}

// Sixteen destination pixels a step, eight from each 128-bit half: 48 bytes
// of a source row give 24 destination bytes in three groups of eight. For a
// group, two loads that together hold its source bytes are shuffled so that
// the two bytes of each destination byte's channel in the pixel pair sit side
// by side, and summed into 16 bits; the two rows are added and each block
// sum rounded. Only the sums that are kept are formed, and no load passes
// the 48 bytes of its half. Returns the pixels done.
ORMICA_AVX2 int halveRowWide(const std::uint8_t* r0, const std::uint8_t* r1, int dw, std::uint8_t* out)
{
    const PairShuffle groups[3] = {
        {0, 16, inBothHalves(_mm_setr_epi8(0, 3, 1, 4, 2, 5, 6, 9, 7, 10, 8, 11, 12, 15, 13, -128)),
         inBothHalves(_mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128,
                                    -128, 0))},
        {14, 30, inBothHalves(_mm_setr_epi8(0, 3, 4, 7, 5, 8, 6, 9, 10, 13, 11, 14, 12, 15, -128, -128)),
         inBothHalves(
             _mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 0, 3))},
        {31, 32, inBothHalves(_mm_setr_epi8(0, 3, 1, 4, 5, 8, 6, 9, 7, 10, 11, 14, 12, 15, 13, -128)),
         inBothHalves(_mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128,
                                    -128, 15))},
    };
    const __m256i ones = _mm256_set1_epi8(1);
    const __m256i one16 = _mm256_set1_epi16(1);
    int j = 0;
    for (; j + 16 <= dw; j += 16) {
        const std::size_t at = std::size_t(6) * j;
        __m256i q[3];
        for (int g = 0; g < 3; ++g) {
            const __m256i sum =
                _mm256_add_epi16(pairSums(r0 + at, groups[g], ones), pairSums(r1 + at, groups[g], ones));
            const __m256i odd = _mm256_and_si256(_mm256_srli_epi16(sum, 2), one16);
            q[g] = _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_add_epi16(one16, odd)), 2);
        }
        // Per half: bytes 0..15 of the half's 24, then 16..23.
        const __m256i low = _mm256_packus_epi16(q[0], q[1]);
        const __m256i high = _mm256_packus_epi16(q[2], q[2]);
        std::uint8_t* o = out + 3 * std::size_t(j);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(low));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(o + 16), _mm256_castsi256_si128(high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 24), _mm256_extracti128_si256(low, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(o + 40), _mm256_extracti128_si256(high, 1));
    }
    return j;
}
#endif

ORMICA_VECTOR_CLONES void blockMeans(const std::uint8_t* r0, const std::uint8_t* r1, std::size_t n, std::uint8_t* m)
{
    for (std::size_t k = 0; k < n; ++k)
        m[k] = blockLevel(unsigned(r0[k]) + r1[k] + r0[k + 3] + r1[k + 3]);
}

// Halving both sides: every destination pixel is the mean of a 2 x 2 block,
// the same numbers the general path gives (weights of one half per axis),
// rounded halves to even: q = s / 4 for a block sum s.
void halve(const QImage& source, QImage& destination)
{
    const int dw = destination.width(), dh = destination.height();
#if defined(__x86_64__)
    if (avx2()) {
        inBands(source, dh, [&](int from, int to) {
            for (int y = from; y < to; ++y) {
                const std::uint8_t* r0 = source.constScanLine(2 * y);
                const std::uint8_t* r1 = source.constScanLine(2 * y + 1);
                std::uint8_t* out = destination.scanLine(y);
                for (int j = halveRowWide(r0, r1, dw, out); j < dw; ++j)
                    for (std::size_t k = 3 * std::size_t(j), i = 6 * std::size_t(j); k < 3 * std::size_t(j) + 3;
                         ++k, ++i)
                        out[k] = blockLevel(unsigned(r0[i]) + r1[i] + r0[i + 3] + r1[i + 3]);
            }
        });
        return;
    }
#endif
    // Every byte position k gets the block mean as if a block began there
    // (straight runs the compiler vectorises); the blocks that really begin
    // at k = 6j, 6j + 1, 6j + 2 are then picked out.
    const std::size_t span = std::size_t(6) * dw - 3;
    inBands(source, dh, [&](int from, int to) {
        std::vector<std::uint8_t> means(span + 1);
        for (int y = from; y < to; ++y) {
            const std::uint8_t* r0 = source.constScanLine(2 * y);
            const std::uint8_t* r1 = source.constScanLine(2 * y + 1);
            const std::uint8_t* m = means.data();
            blockMeans(r0, r1, span, means.data());
            std::uint8_t* out = destination.scanLine(y);
            // Four bytes a pixel, the fourth overwritten by the next pixel.
            for (int j = 0; j + 1 < dw; ++j)
                std::memcpy(out + 3 * j, m + 6 * j, 4);
            std::memcpy(out + 3 * (dw - 1), m + 6 * (dw - 1), 3);
        }
    });
}

constexpr int kShift = 2 * kBits;
constexpr std::uint32_t kHalfUnit = 1u << (kShift - 1);
constexpr std::uint32_t kMask = (1u << kShift) - 1;

// Rounds a sum scaled by kOne^2 to a level, halves to even.
inline std::uint8_t level(std::uint32_t sum)
{
    const std::uint32_t q = sum >> kShift;
    return std::uint8_t(q + (((sum & kMask) + (q & 1u)) > kHalfUnit));
}

// The vertical step for one and for two source rows (every enlargement),
// and the rounding of an accumulated row.

ORMICA_VECTOR_CLONES void levelsOfOne(const std::uint32_t* a, std::size_t n, std::uint8_t* out)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = level(a[i] << kBits);
}

ORMICA_VECTOR_CLONES void levelsOfTwo(const std::uint32_t* a, std::uint32_t wa, const std::uint32_t* b,
                                      std::uint32_t wb, std::size_t n, std::uint8_t* out)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = level(wa * a[i] + wb * b[i]);
}

ORMICA_VECTOR_CLONES void accumulate(std::uint32_t* acc, const std::uint32_t* a, std::uint32_t w, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        acc[i] += w * a[i];
}

ORMICA_VECTOR_CLONES void levels(const std::uint32_t* acc, std::size_t n, std::uint8_t* out)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = level(acc[i]);
}

ORMICA_VECTOR_CLONES void accumulateWide(std::uint64_t* acc, const std::uint32_t* a, std::uint32_t w, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        acc[i] += std::uint64_t(w) * a[i];
}

// Exact sums below 2^40 over a whole of at most 2^32, both exact doubles. A
// mean that is not a half lies at least 2^-33 from one, far beyond the
// quotient's rounding error (under 2^-45 below 256), so rounding the quotient
// rounds the exact mean, halves to even.
ORMICA_VECTOR_CLONES void levelsWide(const std::uint64_t* acc, double whole, std::size_t n, std::uint8_t* out)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::uint8_t(std::nearbyint(double(acc[i]) / whole));
}

ORMICA_VECTOR_CLONES void accumulateBytes(std::uint32_t* acc, const std::uint8_t* a, std::uint32_t w, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        acc[i] += w * a[i];
}

// Whole-number overlaps on both axes, and the area they sum to.
struct ExactTaps {
    ExactTaps(int sw, int sh, int dw, int dh) : ty(makeTaps(sh, dh, Weights::Exact))
    {
        const Taps x = makeTaps(sw, dw, Weights::Exact);
        tx = pad(x, sw);
        whole = double(x.whole) * double(ty.whole);
    }
    Taps ty;
    PaddedTaps tx;
    double whole = 0;
};

// Exact sums when the height shrinks: columns first, so that every source
// row is taken in one straight run (twice where two destination rows share
// it) and only one row of column sums per destination row is summed along.
void resampleExactColumnsFirst(const QImage& source, QImage& destination)
{
    const int sw = source.width(), sh = source.height();
    const int dw = destination.width(), dh = destination.height();
    const ExactTaps plan(sw, sh, dw, dh);
    const Taps& ty = plan.ty;
    const PaddedTaps& tx = plan.tx;
    const double whole = plan.whole;

    inBands(source, dh, [&](int from, int to) {
        std::vector<std::uint32_t> columns(std::size_t(3) * sw);
        std::vector<std::uint64_t> sums(std::size_t(3) * dw);
        for (int y = from; y < to; ++y) {
            std::fill(columns.begin(), columns.end(), 0u);
            const int first = ty.first[std::size_t(y)];
            for (int k = ty.start[std::size_t(y)]; k < ty.start[std::size_t(y) + 1]; ++k)
                accumulateBytes(columns.data(), source.constScanLine(first + (k - ty.start[std::size_t(y)])),
                                std::uint32_t(ty.weights[std::size_t(k)]), columns.size());
            switch (tx.count) {
            case 1:
                horizontalSums<1>(columns.data(), tx, dw, sums.data());
                break;
            case 2:
                horizontalSums<2>(columns.data(), tx, dw, sums.data());
                break;
            default:
                horizontalSums<0>(columns.data(), tx, dw, sums.data());
            }
            levelsWide(sums.data(), whole, sums.size(), destination.scanLine(y));
        }
    });
}

// Exact sums when the height stays or grows (so the width shrinks hard):
// rows first, the horizontal sums of at most two source rows held (the rows
// a destination row shares with the next).
void resampleExactRowsFirst(const QImage& source, QImage& destination)
{
    const int sw = source.width(), sh = source.height();
    const int dw = destination.width(), dh = destination.height();
    const ExactTaps plan(sw, sh, dw, dh);
    const Taps& ty = plan.ty;
    const PaddedTaps& tx = plan.tx;
    const double whole = plan.whole;

    const std::size_t rowLen = std::size_t(3) * dw;
    inBands(source, dh, [&](int from, int to) {
        std::vector<std::uint32_t> rows(2 * rowLen);
        int held[2] = {-1, -1};
        std::vector<std::uint64_t> acc(rowLen);
        for (int y = from; y < to; ++y) {
            std::fill(acc.begin(), acc.end(), std::uint64_t(0));
            const int first = ty.first[std::size_t(y)];
            for (int k = ty.start[std::size_t(y)]; k < ty.start[std::size_t(y) + 1]; ++k) {
                const int sy = first + (k - ty.start[std::size_t(y)]);
                std::uint32_t* row = rows.data() + std::size_t(sy & 1) * rowLen;
                if (held[sy & 1] != sy) {
                    horizontal(source.constScanLine(sy), tx, sw, dw, row);
                    held[sy & 1] = sy;
                }
                accumulateWide(acc.data(), row, std::uint32_t(ty.weights[std::size_t(k)]), rowLen);
            }
            levelsWide(acc.data(), whole, rowLen, destination.scanLine(y));
        }
    });
}

}  // namespace

namespace detail {
void allowResampleSimd(bool allowed)
{
    simdAllowed = allowed;
}
}  // namespace detail

void AreaResample(const QImage& source, QImage& destination)
{
    const int sw = source.width(), sh = source.height();
    const int dw = destination.width(), dh = destination.height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || source.format() != QImage::Format_BGR888 ||
        destination.format() != QImage::Format_BGR888)
        return;
    if (sw == dw && sh == dh) {
        for (int y = 0; y < sh; ++y)
            std::memcpy(destination.scanLine(y), source.constScanLine(y), std::size_t(3) * sw);
        return;
    }
    if (sw == 2 * dw && sh == 2 * dh) {
        halve(source, destination);
        return;
    }
    const Taps roundedX = makeTaps(sw, dw, Weights::Rounded);
    const Taps ty = makeTaps(sh, dh, Weights::Rounded);
    if (roundedX.widest + ty.widest - 2 > kMostExtraTaps) {
        if (dh < sh)
            resampleExactColumnsFirst(source, destination);
        else
            resampleExactRowsFirst(source, destination);
        return;
    }
    const PaddedTaps tx = pad(roundedX, sw);

    // Horizontal sums of the source rows in the current vertical window.
    const int ring = ty.widest;
    const std::size_t rowLen = std::size_t(3) * dw;
    inBands(source, dh, [&](int from, int to) {
        std::vector<std::uint32_t> rows(rowLen * std::size_t(ring));
        std::vector<int> held(std::size_t(ring), -1);
        std::vector<std::uint32_t> acc(rowLen);

        // The horizontal sums of source row sy, computed once while in the window.
        auto sumsOf = [&](int sy) {
            const std::size_t slot = std::size_t(sy % ring);
            std::uint32_t* row = rows.data() + slot * rowLen;
            if (held[slot] != sy) {
                horizontal(source.constScanLine(sy), tx, sw, dw, row);
                held[slot] = sy;
            }
            return static_cast<const std::uint32_t*>(row);
        };
        for (int y = from; y < to; ++y) {
            const int first = ty.first[std::size_t(y)];
            const std::int32_t* w = ty.weights.data() + ty.start[std::size_t(y)];
            const int n = ty.start[std::size_t(y) + 1] - ty.start[std::size_t(y)];
            const std::uint32_t* h[kMostExtraTaps + 1];
            for (int k = 0; k < n; ++k)
                h[k] = sumsOf(first + k);
            std::uint8_t* out = destination.scanLine(y);
            // One or two source rows (every enlargement, and halving) in one pass.
            if (n == 1) {
                levelsOfOne(h[0], rowLen, out);
                continue;
            }
            if (n == 2) {
                levelsOfTwo(h[0], std::uint32_t(w[0]), h[1], std::uint32_t(w[1]), rowLen, out);
                continue;
            }
            std::fill(acc.begin(), acc.end(), 0u);
            for (int k = 0; k < n; ++k)
                accumulate(acc.data(), h[k], std::uint32_t(w[k]), rowLen);
            levels(acc.data(), rowLen, out);
        }
    });
}

}  // namespace ormica
