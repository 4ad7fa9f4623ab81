// The convolved interior with AVX2: a row of the colour array is a run of
// bytes in which the weight at (r, c) always reaches 3 * (c - 3) bytes away,
// whatever the channel, so one lane per byte computes every channel alike.
#include "core/filter/interior.h"

#include "core/engine/row_bands.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#define ORMICA_FILTER_AVX2 1
#include <immintrin.h>
#endif

namespace ormica::detail {

#ifndef ORMICA_FILTER_AVX2

bool VectorisedAvailable()
{
    return false;
}

bool ConvolveInteriorVectorised(const TFilterKernel&, std::int32_t, const TImgTabColor&, TImgTabColor&, TProgress*)
{
    return false;
}

#else

bool VectorisedAvailable()
{
    static const bool yes = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return yes;
}

namespace {

constexpr int kBlock = 64;  // lanes per block: eight vectors of eight sums

// The sums of a kernel whose 255 * sum of |weights| stays within 2^24 are
// integers that a float holds exactly at every step, products included; then
// the float FMA gives the same integers as 32-bit arithmetic, at twice the rate.
constexpr std::int64_t kFloatExact = std::int64_t(1) << 24;

// For in-range sums (0 .. 255 * scale) the double arithmetic's Trunc(S /
// scale) is the integer quotient (see ConvolveInteriorPortable). With a scale
// up to 2^16 such a sum is below 2^24, exact in a float, and one float
// division gets the same quotient: one that is not an integer lies at least
// 2^-16 from one, while a float below 256 is rounded by at most 2^-17.
constexpr std::int32_t kFloatDivisor = 1 << 16;

struct Tap {
    int row;     // 0 .. 6
    int offset;  // bytes, 3 * (c - 3)
    float weightF;
    std::int32_t weightI;
};

template <bool Float> struct Lanes;

template <> struct Lanes<true> {
    using Elem = float;
    __attribute__((target("avx2,fma"))) static __m256 zero() { return _mm256_setzero_ps(); }
    __attribute__((target("avx2,fma"))) static __m256 weight(const Tap& t) { return _mm256_set1_ps(t.weightF); }
    __attribute__((target("avx2,fma"))) static __m256 madd(const float* p, __m256 w, __m256 acc)
    {
        return _mm256_fmadd_ps(_mm256_loadu_ps(p), w, acc);
    }
    __attribute__((target("avx2,fma"))) static __m256i sums(__m256 acc) { return _mm256_cvttps_epi32(acc); }
    __attribute__((target("avx2,fma"))) static void widen(const std::uint8_t* in, float* out)
    {
        _mm256_storeu_ps(out, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_loadl_epi64((const __m128i*)in))));
    }
};

template <> struct Lanes<false> {
    using Elem = std::int32_t;
    __attribute__((target("avx2,fma"))) static __m256i zero() { return _mm256_setzero_si256(); }
    __attribute__((target("avx2,fma"))) static __m256i weight(const Tap& t) { return _mm256_set1_epi32(t.weightI); }
    __attribute__((target("avx2,fma"))) static __m256i madd(const std::int32_t* p, __m256i w, __m256i acc)
    {
        return _mm256_add_epi32(acc, _mm256_mullo_epi32(_mm256_loadu_si256((const __m256i*)p), w));
    }
    __attribute__((target("avx2,fma"))) static __m256i sums(__m256i acc) { return acc; }
    __attribute__((target("avx2,fma"))) static void widen(const std::uint8_t* in, std::int32_t* out)
    {
        _mm256_storeu_si256((__m256i*)out, _mm256_cvtepu8_epi32(_mm_loadl_epi64((const __m128i*)in)));
    }
};

template <class Elem, class L>
__attribute__((target("avx2,fma"))) void widenRow(const std::uint8_t* in, int n, Elem* out)
{
    int k = 0;
    for (; k + 8 <= n; k += 8)
        L::widen(in + k, out + k);
    for (; k < n; ++k)
        out[k] = Elem(in[k]);
}

struct Divisor {
    enum { One, Float, Double } how;
    __m256 scaleF;
    __m256d scaleD;
};

// Quotients of eight in-range sums, truncated as the double arithmetic does.
__attribute__((target("avx2,fma"))) inline __m256i quotients(__m256i s, const Divisor& d)
{
    if (d.how == Divisor::One)
        return s;
    if (d.how == Divisor::Float)
        return _mm256_cvttps_epi32(_mm256_div_ps(_mm256_cvtepi32_ps(s), d.scaleF));
    const __m256d scaleD = d.scaleD;
    const __m128i lo = _mm256_cvttpd_epi32(_mm256_div_pd(_mm256_cvtepi32_pd(_mm256_castsi256_si128(s)), scaleD));
    const __m128i hi = _mm256_cvttpd_epi32(_mm256_div_pd(_mm256_cvtepi32_pd(_mm256_extracti128_si256(s, 1)), scaleD));
    return _mm256_set_m128i(hi, lo);
}

// 32 bytes from four vectors of eight quotients; lanes out of range give
// garbage that the fitting pass replaces.
__attribute__((target("avx2,fma"))) inline __m256i packBytes(__m256i a, __m256i b, __m256i c, __m256i d)
{
    const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(a, b), _mm256_packs_epi32(c, d));
    return _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
}

// Fits the listed pixels from their exact sums, four at a time, with the
// operations of FitUnderflow and FitOverflow in the same order (no fused
// multiply-adds: the library is built with contraction off). `first` points
// at the sums of pixel 0's blue.
template <class Sum>
__attribute__((target("avx2,fma"))) void fitPixels(const int* pixels, int count, const Sum* first, double scale,
                                                   TBGRTriple* out)
{
    const __m256d s = _mm256_set1_pd(scale);
    const __m256d full = _mm256_set1_pd(255);
    const __m256d zero = _mm256_setzero_pd();
    for (int g = 0; g < count; g += 4) {
        int j[4];
        for (int t = 0; t < 4; ++t)
            j[t] = pixels[std::min(g + t, count - 1)];  // a short group repeats its last pixel
        const Sum* p0 = first + 3 * j[0];
        const Sum* p1 = first + 3 * j[1];
        const Sum* p2 = first + 3 * j[2];
        const Sum* p3 = first + 3 * j[3];
        __m256d c[3];
        for (int ch = 0; ch < 3; ++ch) {
            c[ch] = _mm256_cvtepi32_pd(_mm_setr_epi32(p0[ch], p1[ch], p2[ch], p3[ch]));
            if (scale != 1)  // a division by 1 changes nothing
                c[ch] = _mm256_div_pd(c[ch], s);
        }
        const __m256d m = _mm256_min_pd(_mm256_min_pd(c[2], c[1]), c[0]);
        const __m256d under = _mm256_cmp_pd(m, zero, _CMP_LT_OQ);
        if (_mm256_movemask_pd(under)) {
            const __m256d k = _mm256_div_pd(full, _mm256_sub_pd(full, m));
            for (__m256d& v : c)
                v = _mm256_blendv_pd(v, _mm256_sub_pd(full, _mm256_mul_pd(_mm256_sub_pd(full, v), k)), under);
        }
        const __m256d top = _mm256_max_pd(_mm256_max_pd(c[2], c[1]), c[0]);
        const __m256d over = _mm256_cmp_pd(top, full, _CMP_GT_OQ);
        if (_mm256_movemask_pd(over)) {
            const __m256d k = _mm256_div_pd(full, top);
            for (__m256d& v : c)
                v = _mm256_blendv_pd(v, _mm256_mul_pd(v, k), over);
        }
        alignas(16) std::int32_t bytes[3][4];
        for (int ch = 0; ch < 3; ++ch)
            _mm_store_si128((__m128i*)bytes[ch], _mm256_cvttpd_epi32(c[ch]));
        for (int t = 0; t < 4; ++t)
            out[j[t]] = {std::uint8_t(bytes[0][t]), std::uint8_t(bytes[1][t]), std::uint8_t(bytes[2][t])};
    }
}

// Lanes per strip: whole blocks and whole pixels, few enough that the seven
// widened rows of a strip stay in the first-level cache.
constexpr int kStrip = 6 * kBlock * 3;
// Rows per band: the strips of a band are done one after another; each band
// widens six rows more than it convolves.
constexpr int kBand = 128;
// Rows fetched ahead of the one being widened.
constexpr int kAhead = 4;

// The pixels of a strip row whose sums leave the range, from one bit per
// lane (kBlock lanes a word, lanes past the row clear): a pixel's three lanes
// begin at a multiple of 3. Returns how many were listed.
int unfitPixels(const std::uint64_t* laneBits, int words, int* pixels)
{
    static_assert(kBlock == 64);
    // Bits of the lanes that begin a pixel in word w are those at positions
    // congruent to -w mod 3, since 64 is 1 mod 3.
    constexpr std::uint64_t kEveryThird = 0x9249249249249249ull;  // bits 0, 3, 6, ..., 63
    int count = 0;
    for (int w = 0; w < words; ++w) {
        const std::uint64_t bits = laneBits[w];
        const std::uint64_t next = w + 1 < words ? laneBits[w + 1] : 0;
        if ((bits | (next & 3)) == 0)
            continue;
        const std::uint64_t any = bits | (bits >> 1) | (bits >> 2) | (next << 63) | (next << 62);
        for (std::uint64_t starts = any & (kEveryThird << ((3 - w % 3) % 3)); starts != 0; starts &= starts - 1)
            pixels[count++] = (w * kBlock + __builtin_ctzll(starts)) / 3;
    }
    return count;
}

// This and convolveShort are kept whole, past the length we hold other
// functions to: with their block loop split off, GCC's code ran 10-18 %
// slower on the filter benchmarks.
template <bool Float>
__attribute__((target("avx2,fma"))) void convolve(const std::vector<Tap>& taps, std::int32_t scale,
                                                  const TImgTabColor& source, TImgTabColor& target, TProgress* progress,
                                                  int firstRow, int lastRow)
{
    using L = Lanes<Float>;
    using Elem = typename L::Elem;
    const int h = source.height();
    const int w = source.width();
    const int rowBytes = 3 * w;
    const int lanes = 3 * (w - 6);  // interior bytes of a row, from byte 9
    // A block reads up to 9 bytes either side of its lanes.
    constexpr std::size_t stride = kStrip + 32;
    // Element 9 of every slot, where the centre column's loads start, on a
    // cache line: those loads then never straddle two lines.
    static_assert(stride * sizeof(Elem) % 64 == 0);
    constexpr std::uintptr_t kLine = 64 / sizeof(Elem);  // elements a cache line
    std::vector<Elem> ringBlock(stride * TFilterKernel::kSide + kLine, Elem(0));
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(ringBlock.data()) / sizeof(Elem) + 9;
    Elem* const ring = ringBlock.data() + (kLine - first % kLine) % kLine;
    std::vector<std::int32_t> sums(kStrip);
    std::vector<std::uint8_t> bytes(kBlock);
    std::vector<int> pixels(kStrip / 3);  // of the row and strip, those needing fitting
    std::vector<std::uint64_t> laneBits(kStrip / kBlock);
    auto slot = [&](int row) { return ring + stride * std::size_t(row % TFilterKernel::kSide); };

    Divisor divisor;
    divisor.how = scale == 1 ? Divisor::One : scale <= kFloatDivisor ? Divisor::Float : Divisor::Double;
    divisor.scaleF = _mm256_set1_ps(float(scale));
    divisor.scaleD = _mm256_set1_pd(double(scale));
    // Sums outside 0 .. 255 * scale, found with one signed comparison: the
    // sign flip maps unsigned order onto signed order, and negative sums onto
    // the largest unsigned values.
    const __m256i flip = _mm256_set1_epi32(std::numeric_limits<std::int32_t>::min());
    const __m256i flippedLimit = _mm256_xor_si256(
        _mm256_set1_epi32(std::int32_t(std::min<std::int64_t>(std::int64_t(scale) * 255, INT32_MAX))), flip);
    const __m256i zero = _mm256_setzero_si256();

    for (int band = firstRow; band <= lastRow; band += kBand) {
        const int last = std::min(band + kBand - 1, lastRow);
        for (int strip = 0; strip < lanes; strip += kStrip) {
            const int stripLanes = std::min(kStrip, lanes - strip);
            const int blocks = (stripLanes + kBlock - 1) / kBlock;
            // Source bytes strip .. strip + span of a row; past the row, zeros.
            const int span = std::min(blocks * kBlock + 18, rowBytes - strip);
            auto widen = [&](int row) {
                Elem* to = slot(row);
                widenRow<Elem, L>(reinterpret_cast<const std::uint8_t*>(source.row(row)) + strip, span, to);
                std::fill(to + span, to + stride, Elem(0));
                // A strip of a row is too short a run for the hardware to
                // fetch ahead by itself.
                if (row + kAhead < h) {
                    const char* next = reinterpret_cast<const char*>(source.row(row + kAhead)) + strip;
                    for (int b = 0; b < span; b += 64)
                        _mm_prefetch(next + b, _MM_HINT_T0);
                }
            };
            for (int r = band - 3; r < band + 3; ++r)
                widen(r);
            for (int i = band; i <= last; ++i) {
                widen(i + 3);
                const Elem* base[TFilterKernel::kSide];
                for (int r = 0; r < TFilterKernel::kSide; ++r)
                    base[r] = slot(i + r - 3) + 9;
                TBGRTriple* out = target.row(i);
                std::uint8_t* outBytes = reinterpret_cast<std::uint8_t*>(out) + 9 + strip;
                for (int b = 0; b < blocks; ++b) {
                    const int k = b * kBlock;
                    decltype(L::zero()) acc[8];
#pragma GCC unroll 8
                    for (int v = 0; v < 8; ++v)
                        acc[v] = L::zero();
                    for (const Tap& t : taps) {
                        const Elem* p = base[t.row] + t.offset + k;
                        const auto wv = L::weight(t);
#pragma GCC unroll 8
                        for (int v = 0; v < 8; ++v)
                            acc[v] = L::madd(p + 8 * v, wv, acc[v]);
                    }
                    __m256i q[8];
                    __m256i outside[8];
                    __m256i anyOutside = zero;
#pragma GCC unroll 8
                    for (int v = 0; v < 8; ++v) {
                        const __m256i sv = L::sums(acc[v]);
                        _mm256_storeu_si256((__m256i*)(sums.data() + k + 8 * v), sv);
                        outside[v] = _mm256_cmpgt_epi32(_mm256_xor_si256(sv, flip), flippedLimit);
                        anyOutside = _mm256_or_si256(anyOutside, outside[v]);
                        q[v] = quotients(sv, divisor);
                    }
                    std::uint64_t bad = 0;
                    if (!_mm256_testz_si256(anyOutside, anyOutside)) {
#pragma GCC unroll 8
                        for (int v = 0; v < 8; ++v)
                            bad |= std::uint64_t(std::uint32_t(_mm256_movemask_ps(_mm256_castsi256_ps(outside[v]))))
                                   << (8 * v);
                    }
                    // Whole blocks go straight into the row; the last one, which
                    // runs past the interior, through the spare row.
                    const bool whole = k + kBlock <= stripLanes;
                    std::uint8_t* to = whole ? outBytes + k : bytes.data();
                    _mm256_storeu_si256((__m256i*)to, packBytes(q[0], q[1], q[2], q[3]));
                    _mm256_storeu_si256((__m256i*)(to + 32), packBytes(q[4], q[5], q[6], q[7]));
                    if (!whole) {
                        std::memcpy(outBytes + k, bytes.data(), std::size_t(stripLanes - k));
                        bad &= (std::uint64_t(1) << (stripLanes - k)) - 1;  // lanes past the row
                    }
                    laneBits[std::size_t(b)] = bad;
                }
                // The blocks may split a pixel: its sums are all stored by now.
                const int count = unfitPixels(laneBits.data(), blocks, pixels.data());
                fitPixels(pixels.data(), count, sums.data(), double(scale), out + 3 + strip / 3);
            }
        }
        if (progress)
            for (int i = band; i <= last; ++i)
                progress->setPosition(i - 2);
    }
}

// Small kernels with small scales in 16-bit lanes: twice the lanes a vector
// and half the bytes a widened row. Exact while 255 * sum of |weights| and
// 255 * scale stay within 32767: every product and partial sum is then an
// integer a 16-bit lane holds.
constexpr std::int64_t kShortExact = 32767;

// Division of 0 .. 255 * scale by the scale as a high multiplication and a
// shift, the pair checked against every such sum before use.
struct ShortDivisor {
    bool one = false;
    std::uint16_t multiplier = 0;
    int shift = 0;
};

std::optional<ShortDivisor> shortDivisor(std::int32_t scale)
{
    if (scale == 1)
        return ShortDivisor{true, 0, 0};
    for (int shift = 0; shift < 16; ++shift) {
        const std::uint32_t m = ((std::uint32_t(1) << (16 + shift)) + std::uint32_t(scale) - 1) / std::uint32_t(scale);
        if (m > 0xFFFF)
            break;
        bool exact = true;
        for (std::uint32_t sum = 0; exact && sum <= std::uint32_t(255 * scale); ++sum)
            exact = ((sum * m) >> (16 + shift)) == sum / std::uint32_t(scale);
        if (exact)
            return ShortDivisor{false, std::uint16_t(m), shift};
    }
    return std::nullopt;
}

__attribute__((target("avx2,fma"))) void widenShort(const std::uint8_t* in, int n, std::int16_t* out)
{
    int k = 0;
    for (; k + 16 <= n; k += 16)
        _mm256_storeu_si256((__m256i*)(out + k), _mm256_cvtepu8_epi16(_mm_loadu_si128((const __m128i*)(in + k))));
    for (; k < n; ++k)
        out[k] = std::int16_t(in[k]);
}

__attribute__((target("avx2,fma"))) void convolveShort(const std::vector<Tap>& taps, std::int32_t scale,
                                                       const ShortDivisor& divisor, const TImgTabColor& source,
                                                       TImgTabColor& target, TProgress* progress, int firstRow,
                                                       int lastRow)
{
    using Elem = std::int16_t;
    const int h = source.height();
    const int w = source.width();
    const int rowBytes = 3 * w;
    const int lanes = 3 * (w - 6);
    constexpr std::size_t stride = kStrip + 32;
    static_assert(stride * sizeof(Elem) % 64 == 0);
    constexpr std::uintptr_t kLine = 64 / sizeof(Elem);
    std::vector<Elem> ringBlock(stride * TFilterKernel::kSide + kLine, Elem(0));
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(ringBlock.data()) / sizeof(Elem) + 9;
    Elem* const ring = ringBlock.data() + (kLine - first % kLine) % kLine;
    std::vector<std::int16_t> sums(kStrip);
    std::vector<std::uint8_t> bytes(kBlock);
    std::vector<int> pixels(kStrip / 3);
    std::vector<std::uint64_t> laneBits(kStrip / kBlock);
    auto slot = [&](int row) { return ring + stride * std::size_t(row % TFilterKernel::kSide); };

    const __m256i flip = _mm256_set1_epi16(std::numeric_limits<std::int16_t>::min());
    const __m256i flippedLimit = _mm256_xor_si256(_mm256_set1_epi16(std::int16_t(255 * scale)), flip);
    const __m256i multiplier = _mm256_set1_epi16(std::int16_t(divisor.multiplier));
    const __m128i shift = _mm_cvtsi32_si128(divisor.shift);

    for (int band = firstRow; band <= lastRow; band += kBand) {
        const int last = std::min(band + kBand - 1, lastRow);
        for (int strip = 0; strip < lanes; strip += kStrip) {
            const int stripLanes = std::min(kStrip, lanes - strip);
            const int blocks = (stripLanes + kBlock - 1) / kBlock;
            const int span = std::min(blocks * kBlock + 18, rowBytes - strip);
            auto widen = [&](int row) {
                Elem* to = slot(row);
                widenShort(reinterpret_cast<const std::uint8_t*>(source.row(row)) + strip, span, to);
                std::fill(to + span, to + stride, Elem(0));
                if (row + kAhead < h) {
                    const char* next = reinterpret_cast<const char*>(source.row(row + kAhead)) + strip;
                    for (int b = 0; b < span; b += 64)
                        _mm_prefetch(next + b, _MM_HINT_T0);
                }
            };
            for (int r = band - 3; r < band + 3; ++r)
                widen(r);
            for (int i = band; i <= last; ++i) {
                widen(i + 3);
                const Elem* base[TFilterKernel::kSide];
                for (int r = 0; r < TFilterKernel::kSide; ++r)
                    base[r] = slot(i + r - 3) + 9;
                TBGRTriple* out = target.row(i);
                std::uint8_t* outBytes = reinterpret_cast<std::uint8_t*>(out) + 9 + strip;
                for (int b = 0; b < blocks; ++b) {
                    const int k = b * kBlock;
                    __m256i acc[4];
#pragma GCC unroll 4
                    for (int v = 0; v < 4; ++v)
                        acc[v] = _mm256_setzero_si256();
                    for (const Tap& t : taps) {
                        const Elem* p = base[t.row] + t.offset + k;
                        const __m256i wv = _mm256_set1_epi16(std::int16_t(t.weightI));
#pragma GCC unroll 4
                        for (int v = 0; v < 4; ++v)
                            acc[v] = _mm256_add_epi16(
                                acc[v], _mm256_mullo_epi16(_mm256_loadu_si256((const __m256i*)(p + 16 * v)), wv));
                    }
                    __m256i q[4];
                    __m256i outside[4];
                    __m256i anyOutside = _mm256_setzero_si256();
#pragma GCC unroll 4
                    for (int v = 0; v < 4; ++v) {
                        _mm256_storeu_si256((__m256i*)(sums.data() + k + 16 * v), acc[v]);
                        outside[v] = _mm256_cmpgt_epi16(_mm256_xor_si256(acc[v], flip), flippedLimit);
                        anyOutside = _mm256_or_si256(anyOutside, outside[v]);
                        q[v] = divisor.one ? acc[v] : _mm256_srl_epi16(_mm256_mulhi_epu16(acc[v], multiplier), shift);
                    }
                    const bool whole = k + kBlock <= stripLanes;
                    std::uint8_t* to = whole ? outBytes + k : bytes.data();
                    _mm256_storeu_si256((__m256i*)to, _mm256_permute4x64_epi64(_mm256_packus_epi16(q[0], q[1]), 0xD8));
                    _mm256_storeu_si256((__m256i*)(to + 32),
                                        _mm256_permute4x64_epi64(_mm256_packus_epi16(q[2], q[3]), 0xD8));
                    std::uint64_t bad = 0;
                    if (!_mm256_testz_si256(anyOutside, anyOutside)) {
                        // One byte a lane, in lane order, then one bit a lane.
                        const __m256i low = _mm256_permute4x64_epi64(_mm256_packs_epi16(outside[0], outside[1]), 0xD8);
                        const __m256i high = _mm256_permute4x64_epi64(_mm256_packs_epi16(outside[2], outside[3]), 0xD8);
                        bad = std::uint64_t(std::uint32_t(_mm256_movemask_epi8(low))) |
                              std::uint64_t(std::uint32_t(_mm256_movemask_epi8(high))) << 32;
                    }
                    if (!whole) {
                        std::memcpy(outBytes + k, bytes.data(), std::size_t(stripLanes - k));
                        bad &= (std::uint64_t(1) << (stripLanes - k)) - 1;  // lanes past the row
                    }
                    laneBits[std::size_t(b)] = bad;
                }
                const int count = unfitPixels(laneBits.data(), blocks, pixels.data());
                fitPixels(pixels.data(), count, sums.data(), double(scale), out + 3 + strip / 3);
            }
        }
        if (progress)
            for (int i = band; i <= last; ++i)
                progress->setPosition(i - 2);
    }
}

}  // namespace

bool ConvolveInteriorVectorised(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source,
                                TImgTabColor& target, TProgress* progress)
{
    if (!VectorisedAvailable())
        return false;
    std::vector<Tap> taps;
    std::int64_t absolute = 0;
    for (int r = 0; r < TFilterKernel::kSide; ++r)
        for (int c = 0; c < TFilterKernel::kSide; ++c)
            if (const std::int32_t weight = kernel.at(r, c)) {
                taps.push_back({r, 3 * (c - 3), float(weight), weight});
                absolute += weight < 0 ? -std::int64_t(weight) : weight;
            }
    std::optional<ShortDivisor> divisor;
    if (absolute * 255 <= kShortExact && std::int64_t(scale) * 255 <= kShortExact)
        divisor = shortDivisor(scale);
    // Interior rows firstRow .. lastRow, each with scratch of its own.
    const auto rows = [&](int firstRow, int lastRow, TProgress* report) {
        if (divisor)
            convolveShort(taps, scale, *divisor, source, target, report, firstRow, lastRow);
        else if (absolute * 255 <= kFloatExact)
            convolve<true>(taps, scale, source, target, report, firstRow, lastRow);
        else
            convolve<false>(taps, scale, source, target, report, firstRow, lastRow);
    };
    // A row is the same whichever thread takes it; the caller's thread moves
    // the progress over its band, then over the other's, row by row as ever.
    const int interior = source.height() - 6;
    std::pair<int, int> second{0, 0};
    const int bands = ForRowBands(interior, qsizetype(source.width()) * source.height() >= kBandedPixels,
                                  [&](int band, int from, int to) {
                                      if (band > 0)
                                          second = {from, to};
                                      if (from < to)
                                          rows(3 + from, 3 + to - 1, band == 0 ? progress : nullptr);
                                  });
    if (bands > 1 && progress)
        for (int r = second.first; r < second.second; ++r)
            progress->setPosition(3 + r - 2);
    return true;
}

#endif

}  // namespace ormica::detail
