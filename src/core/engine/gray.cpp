#include "core/engine/gray.h"

#include "core/engine/large_block.h"

#include "core/engine/row_bands.h"

#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <cmath>
#include <memory>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ORMICA_GRAY_SSSE3 1
#endif

namespace ormica {

std::uint8_t LightLevelOfSum(int sumOfSquares, long double sqrt3)
{
    const long double v = std::sqrt(static_cast<long double>(sumOfSquares)) / sqrt3;
    // nearbyint follows the rounding mode, which nobody here changes from nearest-even.
    return v < 255.1L ? static_cast<std::uint8_t>(std::nearbyint(v)) : std::uint8_t(255);
}

std::uint8_t LightLevelOfSum(int sumOfSquares)
{
    static const long double sqrt3 = std::sqrt(3.0L);
    return LightLevelOfSum(sumOfSquares, sqrt3);
}

const std::uint8_t* LightLevelTable()
{
    static const std::unique_ptr<std::uint8_t[]> table = [] {
        auto t = std::make_unique<std::uint8_t[]>(kMaxSumOfSquares + 1);
        const long double sqrt3 = std::sqrt(3.0L);
        for (int s = 0; s <= kMaxSumOfSquares; ++s)
            t[std::size_t(s)] = LightLevelOfSum(s, sqrt3);
        return t;
    }();
    return table.get();
}

std::uint8_t GrayLevel(int b, int g, int r)
{
    return LightLevelOfSum(b * b + g * g + r * r);
}

namespace detail {

// Single precision gives the same levels as the extended formula for every
// sum 0..195075: sqrt(s/3) is never within 1.6e-4 of a half, far beyond the
// float error, so adding 0.5 and truncating rounds exactly as nearbyint does
// (checked on all colours by the tests).
static inline std::uint8_t grayOfSum(int s)
{
    return static_cast<std::uint8_t>(static_cast<int>(std::sqrt(static_cast<float>(s) * (1.0f / 3.0f)) + 0.5f));
}

void grayRowPortable(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    for (int x = 0; x < width; ++x) {
        const int b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
        const std::uint8_t v = grayOfSum(b * b + g * g + r * r);
        dst[3 * x] = v;
        dst[3 * x + 1] = v;
        dst[3 * x + 2] = v;
    }
}

#ifdef ORMICA_GRAY_SSSE3

bool grayRowSimdAvailable()
{
    static const bool yes = __builtin_cpu_supports("ssse3");
    return yes;
}

__attribute__((target("ssse3"))) static inline __m128i levels(__m128i sums)
{
    const __m128 third = _mm_set1_ps(1.0f / 3.0f);
    const __m128 half = _mm_set1_ps(0.5f);
    return _mm_cvttps_epi32(_mm_add_ps(_mm_sqrt_ps(_mm_mul_ps(_mm_cvtepi32_ps(sums), third)), half));
}

// Byte shuffles that take sixteen pixels' channels out of three 16-byte loads
// (B, G and R from each load) and put sixteen levels back three times each.
struct GrayShuffles {
    __m128i b[3], g[3], r[3], out[3];
};

__attribute__((target("ssse3"))) static GrayShuffles grayShuffles()
{
    GrayShuffles m;
    m.b[0] = _mm_setr_epi8(0, 3, 6, 9, 12, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    m.b[1] = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, 2, 5, 8, 11, 14, -1, -1, -1, -1, -1);
    m.b[2] = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 1, 4, 7, 10, 13);
    m.g[0] = _mm_setr_epi8(1, 4, 7, 10, 13, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    m.g[1] = _mm_setr_epi8(-1, -1, -1, -1, -1, 0, 3, 6, 9, 12, 15, -1, -1, -1, -1, -1);
    m.g[2] = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 2, 5, 8, 11, 14);
    m.r[0] = _mm_setr_epi8(2, 5, 8, 11, 14, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    m.r[1] = _mm_setr_epi8(-1, -1, -1, -1, -1, 1, 4, 7, 10, 13, -1, -1, -1, -1, -1, -1);
    m.r[2] = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 3, 6, 9, 12, 15);
    m.out[0] = _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
    m.out[1] = _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
    m.out[2] = _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
    return m;
}

__attribute__((target("ssse3"))) static inline __m128i pick(const __m128i* c, const __m128i* m)
{
    return _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(c[0], m[0]), _mm_shuffle_epi8(c[1], m[1])),
                        _mm_shuffle_epi8(c[2], m[2]));
}

// The channels of the sixteen pixels at s.
struct GrayChannels {
    __m128i B, G, R;
};

__attribute__((target("ssse3"))) static inline GrayChannels channels16(const std::uint8_t* s, const GrayShuffles& m)
{
    __m128i c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16 * i));
    return {pick(c, m.b), pick(c, m.g), pick(c, m.r)};
}

__attribute__((target("ssse3"))) static inline void store48(__m128i levels, const GrayShuffles& m, std::uint8_t* d)
{
    for (int i = 0; i < 3; ++i)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16 * i), _mm_shuffle_epi8(levels, m.out[i]));
}

// Sixteen pixels a step: deinterleave with byte shuffles, sum squares with
// multiply-add on 16-bit pairs, then the same float formula four at a time.
__attribute__((target("ssse3"))) static int grayRowSsse3(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    const GrayShuffles m = grayShuffles();
    const __m128i zero = _mm_setzero_si128();
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const auto [B, G, R] = channels16(src + 3 * x, m);
        __m128i lv[4];
        for (int h = 0; h < 2; ++h) {
            const __m128i b = h ? _mm_unpackhi_epi8(B, zero) : _mm_unpacklo_epi8(B, zero);
            const __m128i g = h ? _mm_unpackhi_epi8(G, zero) : _mm_unpacklo_epi8(G, zero);
            const __m128i r = h ? _mm_unpackhi_epi8(R, zero) : _mm_unpacklo_epi8(R, zero);
            const __m128i bg0 = _mm_unpacklo_epi16(b, g), bg1 = _mm_unpackhi_epi16(b, g);
            const __m128i r0 = _mm_unpacklo_epi16(r, zero), r1 = _mm_unpackhi_epi16(r, zero);
            lv[2 * h] = levels(_mm_add_epi32(_mm_madd_epi16(bg0, bg0), _mm_madd_epi16(r0, r0)));
            lv[2 * h + 1] = levels(_mm_add_epi32(_mm_madd_epi16(bg1, bg1), _mm_madd_epi16(r1, r1)));
        }
        store48(_mm_packus_epi16(_mm_packs_epi32(lv[0], lv[1]), _mm_packs_epi32(lv[2], lv[3])), m, dst + 3 * x);
    }
    return x;
}

#define ORMICA_AVX2 __attribute__((target("avx2")))

ORMICA_AVX2 static inline __m256i levels8(__m256i sums)
{
    const __m256 third = _mm256_set1_ps(1.0f / 3.0f);
    const __m256 half = _mm256_set1_ps(0.5f);
    return _mm256_cvttps_epi32(_mm256_add_ps(_mm256_sqrt_ps(_mm256_mul_ps(_mm256_cvtepi32_ps(sums), third)), half));
}

// The sums of squares of eight pixels from their first eight bytes of B, G and R.
ORMICA_AVX2 static inline __m256i sums8(__m128i b, __m128i g, __m128i r)
{
    const __m256i vb = _mm256_cvtepu8_epi32(b), vg = _mm256_cvtepu8_epi32(g), vr = _mm256_cvtepu8_epi32(r);
    return _mm256_add_epi32(_mm256_add_epi32(_mm256_madd_epi16(vb, vb), _mm256_madd_epi16(vg, vg)),
                            _mm256_madd_epi16(vr, vr));
}

// The levels of the sixteen pixels at s, the roots eight at a time.
ORMICA_AVX2 static inline __m128i levels16(const std::uint8_t* s, const GrayShuffles& m)
{
    const auto [B, G, R] = channels16(s, m);
    const __m256i lo = levels8(sums8(B, G, R));
    const __m256i hi = levels8(sums8(_mm_srli_si128(B, 8), _mm_srli_si128(G, 8), _mm_srli_si128(R, 8)));
    // packs works within halves: pixels 0..7 to the lower half, 8..15 to the upper.
    const __m256i words = _mm256_permute4x64_epi64(_mm256_packs_epi32(lo, hi), 0xD8);
    return _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
}

// As grayRowSsse3, with the roots eight at a time.
ORMICA_AVX2 static int grayRowAvx2(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    const GrayShuffles m = grayShuffles();
    int x = 0;
    for (; x + 16 <= width; x += 16)
        store48(levels16(src + 3 * x, m), m, dst + 3 * x);
    return x;
}

// One level a pixel, for counting.
ORMICA_AVX2 static int levelsAvx2(const std::uint8_t* src, std::uint8_t* levels, int width)
{
    const GrayShuffles m = grayShuffles();
    int x = 0;
    for (; x + 16 <= width; x += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(levels + x), levels16(src + 3 * x, m));
    return x;
}

static bool avx2Available()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes;
}

void grayRowSimd(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    const int x = avx2Available() ? grayRowAvx2(src, dst, width) : grayRowSsse3(src, dst, width);
    grayRowPortable(src + 3 * x, dst + 3 * x, width - x);
}

#else

bool grayRowSimdAvailable()
{
    return false;
}
void grayRowSimd(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    grayRowPortable(src, dst, width);
}

#endif

}  // namespace detail

void LightLevelsRow(const std::uint8_t* bgr, std::uint8_t* levels, int width)
{
    int x = 0;
#ifdef ORMICA_GRAY_SSSE3
    if (detail::avx2Available())
        x = detail::levelsAvx2(bgr, levels, width);
#endif
    const std::uint8_t* lightOf = LightLevelTable();
    for (; x < width; ++x) {
        const int b = bgr[3 * x], g = bgr[3 * x + 1], r = bgr[3 * x + 2];
        levels[x] = lightOf[b * b + g * g + r * r];
    }
}

void BitMapToGrayBitMap(const QImage& source, QImage& destination)
{
    const int w = source.width();
    const int h = source.height();
    if (w < 1 || h < 1 || !Is24Bit(source))
        return;
    if (w > 65536 || h > 65536) {
        messages().warning(QCoreApplication::translate("Gray", "BitMapToGrayBitMap : Не могу обесцветить BitMap."));
        return;
    }
    // In place is safe: every kernel reads a pixel before it writes it.
    // A destination of the right size and format that shares its pixels with
    // no other picture is written over: a fresh 72 MB photograph costs more
    // in page faults than the conversion itself.
    const bool reusable = destination.size() == source.size() && destination.format() == QImage::Format_BGR888 &&
                          destination.isDetached() && destination.constBits() != source.constBits();
    if (&destination != &source && !reusable) {
        destination = NewPicture(w, h, QImage::Format_BGR888);
        if (destination.isNull()) {
            messages().warning(QCoreApplication::translate("Gray", "BitMapToGrayBitMap : Не могу обесцветить BitMap."));
            return;
        }
    }
    const auto row = detail::grayRowSimdAvailable() ? detail::grayRowSimd : detail::grayRowPortable;
    uchar* first = destination.bits();  // detaches once, before the loop
    if (!first) {
        messages().warning(QCoreApplication::translate("Gray", "BitMapToGrayBitMap : Не могу обесцветить BitMap."));
        return;
    }
    const qsizetype dstStride = destination.bytesPerLine();
    const auto rows = [&](int from, int to) {
        for (int y = from; y < to; ++y)
            row(source.constScanLine(y), first + y * dstStride, w);
    };
    // Each row is the same whichever thread takes it.
    ForRowBands(h, qsizetype(w) * h >= kBandedPixels, [&](int, int from, int to) { rows(from, to); });
}

}  // namespace ormica
