#include "core/transfer/transfer_function.h"

#include "core/engine/row_bands.h"

#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <algorithm>
#include <bit>
#include <cmath>
#include <new>
#include <numeric>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace ormica {

long double FormulaValue(int kind, long double x)
{
    switch (TFormulaKind(kind)) {
    case TFormulaKind::Ln1p:
        return std::log(1 + x);
    case TFormulaKind::ExpM1:
        return std::exp(x) - 1;
    case TFormulaKind::Sqrt:
        return std::sqrt(x);
    case TFormulaKind::Square:
        return x * x;
    case TFormulaKind::SinQuarterPi:
        return std::sin(x * 3.141592653589793238462643383279502884L / 4);
    default:
        return x;
    }
}

std::optional<TBrightPointArray> GenerateFormulaPoints(int kind, int pointCount, long double xe)
{
    const int n = pointCount;
    if (n < 2)
        return std::nullopt;
    std::vector<long double> v(std::size_t(n), 0);
    long double lo = FormulaValue(kind, 0);
    long double hi = lo;
    for (int i = 0; i < n; ++i) {
        const long double x = (xe - 0) * i / (n - 1);
        v[std::size_t(i)] = FormulaValue(kind, x);
        lo = std::min(lo, v[std::size_t(i)]);
        hi = std::max(hi, v[std::size_t(i)]);
    }
    if (lo < 0 || hi < 0 || lo == hi) {
        messages().warning(QCoreApplication::translate("TransferFunction", "Недопустимый вид порождающей функции"));
        return TBrightPointArray{};
    }
    TBrightPointArray points(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        // Divided by the span only: every listed formula starts at f(0) = 0.
        points[std::size_t(i)].X = int(std::nearbyint(static_cast<long double>(i) * 255 / (n - 1)));
        points[std::size_t(i)].Y = int(std::nearbyint(v[std::size_t(i)] / (hi - lo) * 255));
    }
    return points;
}

TBrightPointArray GenerateSpecialPoints(int typeItem, int sectionItem, int grating)
{
    if (typeItem != 1 && typeItem != 2)
        return {};
    const bool step = typeItem == 1;
    int sections = 4;
    if (sectionItem >= 0 && sectionItem <= 3)
        sections = 4 << sectionItem;
    const int w = 256 / sections;
    const int g = grating;
    const int dip = 6;  // the grating's low level is kept off pure black
    TBrightPointArray p;
    p.reserve(std::size_t(g > 0 ? sections * 4 + 1 : sections * 2 + 1));
    for (int s = 0; s < sections; ++s) {
        const int d = s * w;
        p.push_back({d, d});
        if (g > 0) {
            p.push_back({d, dip});
            p.push_back({d + g, dip});
            p.push_back({d + g, std::min(step ? (s + 1) * w : d + g, 255)});
        } else if (step) {
            p.push_back({d, std::min((s + 1) * w, 255)});
        } else {
            p.push_back({d + w / 2, std::min(d + w / 2, 255)});
        }
    }
    p.push_back({255, 255});
    return p;
}

QStringList ReportPoints(const TBrightPointArray& points)
{
    QStringList lines;
    lines << QCoreApplication::translate("TransferFunction", " Число точек : %1").arg(QString::number(points.size()));
    lines << QCoreApplication::translate("TransferFunction", " Список точек в координатах яркости :");
    for (const TBrightPoint& p : points)
        lines << QStringLiteral(" X = ") + QString::number(p.X) + QLatin1Char('\t') + QStringLiteral(" Y = ") +
                     QString::number(p.Y);
    return lines;
}

TConvSegments BuildConvSegments(const TBrightPointArray& points)
{
    if (points.size() < 2)
        return {};
    TConvSegments segments(points.size());
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        TConvSegment& seg = segments[i];
        seg.X = points[i].X;
        seg.Y = points[i].Y;
        if (points[i + 1].X == points[i].X) {
            seg.Vertical = true;
            seg.Slope = points[i + 1].Y;
        } else {
            seg.Vertical = false;
            seg.Slope = double(points[i + 1].Y - points[i].Y) / double(points[i + 1].X - points[i].X);
        }
    }
    segments.back() = {points.back().X, points.back().Y, true, 255.0};
    return segments;
}

namespace {

constexpr int kMaxSum = 3 * 255 * 255;

long double lightOfSum(int s)
{
    return std::min(std::sqrt(static_cast<long double>(s) / 3), 255.0L);
}

// The common factor of a pixel with sum of squares s; nullopt leaves it unchanged.
std::optional<double> pixelFactor(const TConvSegments& segments, int s)
{
    const long double l = lightOfSum(s);
    const int li = int(l);
    std::size_t pos = 0;
    while (pos + 1 < segments.size() && !(segments[pos].X <= li && li <= segments[pos + 1].X))
        ++pos;
    if (pos + 1 >= segments.size())
        return std::nullopt;
    const TConvSegment& seg = segments[pos];
    double k = 0;
    if (li >= 1) {
        const double f = seg.Vertical ? std::trunc(seg.Slope) : std::trunc(seg.Slope * (li - seg.X) + seg.Y);
        k = f / li;
    } else if (s > 0) {
        // Not black but below level 1: the real brightness, so that dark pixels follow the function too.
        const double ld = double(l);
        k = (seg.Vertical ? seg.Slope : seg.Slope * (ld - seg.X) + seg.Y) / ld;
    }
    // Pairs outside 0..255 could make the factor negative; bytes cannot follow.
    return k > 0 ? k : 0.0;
}

void applyFactor(double k, std::uint8_t& p0, std::uint8_t& p1, std::uint8_t& p2)
{
    double c0 = p0 * k;
    double c1 = p1 * k;
    double c2 = p2 * k;
    const double m = std::max(c0, std::max(c1, c2));
    if (m > 255) {
        // Scaled as a whole rather than clipped per channel, so the hue stays.
        const double f = 255 / m;
        c0 *= f;
        c1 *= f;
        c2 *= f;
    }
    p0 = std::uint8_t(c0);
    p1 = std::uint8_t(c1);
    p2 = std::uint8_t(c2);
}

}  // namespace

void ConvertPixel(const TConvSegments& segments, std::uint8_t& p0, std::uint8_t& p1, std::uint8_t& p2)
{
    const auto k = pixelFactor(segments, p0 * p0 + p1 * p1 + p2 * p2);
    if (k)
        applyFactor(*k, p0, p1, p2);
}

const std::uint16_t* TPixelConverter::slotOfSum()
{
    static const std::vector<std::uint16_t> table = [] {
        std::vector<std::uint16_t> t(std::size_t(kMaxSum) + 1);
        for (int s = 0; s <= kMaxSum; ++s)
            t[std::size_t(s)] = std::uint16_t(s == 1 || s == 2 ? 255 + s : int(lightOfSum(s)));
        return t;
    }();
    return table.data();
}

namespace {

int transferVectorBits = 512;  // the widest vector path allowed

#if defined(__x86_64__)
#define ORMICA_AVX2 __attribute__((target("avx2")))
#define ORMICA_AVX512 __attribute__((target("avx2,avx512f,avx512bw,avx512vl,avx512vbmi")))

bool avx2()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes && transferVectorBits >= 256;
}

bool avx512()
{
    static const bool yes = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
                            __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
                            __builtin_cpu_supports("avx512vbmi");
    return yes && transferVectorBits >= 512;
}
#else
bool avx512()
{
    return false;
}
#endif

// The integer path's multipliers carry 22 fractional bits, so that 255 v stays
// below 2^30; the two bits above, read as a signed number, are what the
// brightest channel takes more, or -2 where the pair's pixels go through doubles.
constexpr int kFraction = 22;
constexpr std::uint32_t kValue = (1u << 30) - 1;
enum : std::uint32_t {
    kTopMore = 1u << 30,
    kDoubles = 2u << 30,
    kTopLess = 3u << 30,
};
// Groups of sixteen pixels between two passes over the pixels left to doubles.
constexpr int kStretch = 64;

}  // namespace

TPixelConverter::TPixelConverter(const TConvSegments& segments) : slotOfSum_(slotOfSum()), factor_(kSlots)
{
    // Slot 0 is black: no other sum has level 0, as sums 1 and 2 have slots of their own.
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        int s = 0;
        if (slot >= 256)
            s = int(slot) - 255;
        else if (slot > 0)
            s = 3 * int(slot) * int(slot);  // any sum of that level gives the same factor
        // An unchanged pixel is the same as factor 1: p * 1.0 is exact and never passes 255.
        factor_[slot] = pixelFactor(segments, s).value_or(1.0);
    }
    if (avx512())
        buildMultipliers();
}

// The definition truncates double products; the integer path truncates
// (v * multiplier) / 2^22, one multiplier per pair (Light level, brightest
// channel):
// - unsaturated, Trunc(v * k) with k = F / L rounded to a double. Where
//   v * F / L is whole the double product lands on it or just below, elsewhere
//   it is at least 1/L away. A multiplier just above or just below k * 2^22
//   follows when all whole products go the same way; it is checked on every
//   channel value the level can hold below saturation;
// - saturated, the chain (v * k) * (255 / (top * k)) is 255 v / top within
//   1e-13, so its truncation is that of 255 v / top unless the quotient is
//   whole, when the chain may land on it or just below. The multiplier
//   255 * 2^22 / top, raised or lowered by at most one, gives the quotient or
//   one less for every whole quotient, and the truncated quotient elsewhere.
//   The chain is worked out for every whole quotient of the pair: the channels
//   below top choose, and top, always whole, takes one off or one more where
//   it disagrees. Where they disagree among themselves the pair is marked
//   kDoubles.
// Sums 1 and 2 share level 0 and top 1 with different factors; that pair, and
// an unsaturated level that no multiplier serves, are marked kDoubles too.
void TPixelConverter::buildMultipliers()
{
    multiplier_.assign(256 * 256, kDoubles);
    for (int level = 0; level < 256; ++level) {
        const double k = factor_[std::size_t(level)];
        int firstSaturated = 256;
        for (int top = 1; top < 256; ++top)
            if (top * k > 255) {
                firstSaturated = top;
                break;
            }
        // The brightest channels a pixel of the level can have: L^2 <= top^2 <= sum < 3 (L + 1)^2.
        const int topMax = std::min(255, int(std::sqrt(3.0 * (level + 1) * (level + 1) - 1)));
        const int vMax = std::min(firstSaturated - 1, topMax);
        std::uint32_t unsaturated = kDoubles;
        const double scaled = std::ldexp(k, kFraction);
        for (const double candidate : {std::ceil(scaled), std::floor(scaled), std::ceil(scaled) + 1, std::floor(scaled) - 1}) {
            if (!(candidate >= 0 && candidate <= kValue && candidate * std::max(vMax, 1) < 0x1p30))
                continue;
            const auto m = std::uint32_t(candidate);
            bool same = true;
            for (int v = 0; v <= vMax && same; ++v)
                same = int((std::uint32_t(v) * m) >> kFraction) == int(v * k);
            if (same) {
                unsaturated = m;
                break;
            }
        }
        std::uint32_t* pairs = &multiplier_[std::size_t(level) * 256];
        for (int top = std::max(level, 1); top <= topMax; ++top) {
            if (top < firstSaturated) {
                pairs[top] = unsaturated;
                continue;
            }
            const double m = top * k;
            const double shrink = 255 / m;
            const bool topShort = int(m * shrink) < 255;
            // Whole quotients 255 v / top come at every multiple of top / gcd(255, top).
            const int step = top / std::gcd(top, 255);
            int below = 0, whole = 0;
            for (int v = step; v < top; v += step, ++whole)
                below += int(v * k * shrink) < 255 * v / top;
            const bool mixed = below > 0 && below < whole;
            const bool down = whole == 0 ? topShort : below > 0;
            const std::uint64_t scaled255 = std::uint64_t(255) << kFraction;
            const std::uint64_t quotient = scaled255 / std::uint64_t(top);
            const std::uint64_t exactly = quotient * std::uint64_t(top) == scaled255;
            std::uint32_t code = 0;
            if (down != topShort)
                code = topShort ? kTopLess : kTopMore;
            pairs[top] = mixed ? kDoubles : std::uint32_t(down ? quotient - exactly : quotient + 1) | code;
        }
    }
    multiplier_[0] = 0;  // black
    multiplier_[1] = kDoubles;
}

namespace {

#if defined(__x86_64__)
// The slot of each sum of squares, as the scalar table has it: Trunc(Sqrt(s / 3)),
// and 255 + s for sums 1 and 2. In single precision the truncated root is
// exact: 1/3 rounds up, so s = 3 l^2 never falls below l, and any other sum is
// at least 1 / 1536 of a level away from a whole one, against an error of 2e-5.
ORMICA_AVX2 inline __m256i slotsOf(__m256i s)
{
    const __m256 root = _mm256_sqrt_ps(_mm256_mul_ps(_mm256_cvtepi32_ps(s), _mm256_set1_ps(1.0f / 3)));
    const __m256i level = _mm256_cvttps_epi32(root);
    const __m256i dark =
        _mm256_and_si256(_mm256_cmpgt_epi32(s, _mm256_setzero_si256()), _mm256_cmpgt_epi32(_mm256_set1_epi32(3), s));
    return _mm256_add_epi32(level, _mm256_and_si256(dark, _mm256_add_epi32(s, _mm256_set1_epi32(255))));
}

// One channel of eight pixels (b, g or r) from the two loads: pixels 0..3 at
// bytes c, c + 3, ... of the first, pixels 4..7 at c + 4, c + 7, ... of the second.
ORMICA_AVX2 inline __m256i channelShuffle(int c)
{
    const char z = -1;
    return _mm256_setr_epi8(char(c), z, z, z, char(c + 3), z, z, z, char(c + 6), z, z, z, char(c + 9), z, z, z,
                            char(c + 4), z, z, z, char(c + 7), z, z, z, char(c + 10), z, z, z, char(c + 13), z, z, z);
}

ORMICA_AVX2 inline __m256d factorsOf(const double* factor, __m128i index)
{
    const __m256d all = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    return _mm256_mask_i32gather_pd(_mm256_setzero_pd(), factor, index, all, 8);
}

// Trunc((v * k) * shrink), the definition's order of operations, on four lanes at a time.
ORMICA_AVX2 inline __m256i scaled(__m256i v, __m256d k0, __m256d k1, __m256d sh0, __m256d sh1)
{
    const __m256d x0 = _mm256_mul_pd(_mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_castsi256_si128(v)), k0), sh0);
    const __m256d x1 = _mm256_mul_pd(_mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_extracti128_si256(v, 1)), k1), sh1);
    return _mm256_set_m128i(_mm256_cvttpd_epi32(x1), _mm256_cvttpd_epi32(x0));
}

// Shrink of four pixels: 255 / (top * k) where that passes 255, else 1.
ORMICA_AVX2 inline __m256d shrinkOf(__m128i top, __m256d k)
{
    const __m256d m = _mm256_mul_pd(_mm256_cvtepi32_pd(top), k);
    const __m256d over = _mm256_cmp_pd(m, _mm256_set1_pd(255), _CMP_GT_OQ);
    // Always divided: a test for saturation would be a branch mispredicted on every mixed picture.
    return _mm256_blendv_pd(_mm256_set1_pd(1), _mm256_div_pd(_mm256_set1_pd(255), m), over);
}

// Eight pixels in double precision, as the definition has them: their
// results as b | g << 8 | r << 16.
ORMICA_AVX2 inline __m256i doubleEight(const double* factor, __m256i b, __m256i g, __m256i r)
{
    const __m256i sum =
        _mm256_add_epi32(_mm256_madd_epi16(b, b), _mm256_add_epi32(_mm256_madd_epi16(g, g), _mm256_madd_epi16(r, r)));
    const __m256i top = _mm256_max_epi32(b, _mm256_max_epi32(g, r));
    const __m256i slot = slotsOf(sum);
    const __m256d k0 = factorsOf(factor, _mm256_castsi256_si128(slot));
    const __m256d k1 = factorsOf(factor, _mm256_extracti128_si256(slot, 1));
    const __m256d sh0 = shrinkOf(_mm256_castsi256_si128(top), k0);
    const __m256d sh1 = shrinkOf(_mm256_extracti128_si256(top, 1), k1);
    return _mm256_or_si256(scaled(b, k0, k1, sh0, sh1), _mm256_or_si256(_mm256_slli_epi32(scaled(g, k0, k1, sh0, sh1), 8),
                                                                        _mm256_slli_epi32(scaled(r, k0, k1, sh0, sh1), 16)));
}

// Eight pixels at a time; both loads are taken before either store, so the
// target may be the source. Returns the pixels done.
ORMICA_AVX2 qsizetype convertEights(const double* factor, const std::uint8_t* src, std::uint8_t* dst, qsizetype pixels)
{
    const __m256i shB = channelShuffle(0), shG = channelShuffle(1), shR = channelShuffle(2);
    // Four 4-byte pixels of each half into twelve bytes, the last four zero.
    const __m256i pack =
        _mm256_broadcastsi128_si256(_mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1));
    qsizetype i = 0;
    for (; i + 8 <= pixels; i += 8, src += 24, dst += 24) {
        const __m256i both = _mm256_set_m128i(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 8)),
                                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(src)));
        const __m256i out =
            doubleEight(factor, _mm256_shuffle_epi8(both, shB), _mm256_shuffle_epi8(both, shG), _mm256_shuffle_epi8(both, shR));
        const __m256i packed = _mm256_shuffle_epi8(out, pack);
        const __m128i first = _mm256_castsi256_si128(packed);
        const __m128i second = _mm256_extracti128_si256(packed, 1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), first);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8),
                         _mm_or_si128(_mm_slli_si128(second, 4), _mm_srli_si128(first, 8)));
    }
    return i;
}

// Pixels given as b | g << 8 | r << 16, eight at a time in doubles; `count`
// rounded up to eight must fit the arrays.
ORMICA_AVX2 void convertPacked(const double* factor, const std::uint32_t* pixels, std::uint32_t* results, int count)
{
    const __m256i byte = _mm256_set1_epi32(0xff);
    for (int i = 0; i < count; i += 8) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(results + i),
                            doubleEight(factor, _mm256_and_si256(p, byte),
                                        _mm256_and_si256(_mm256_srli_epi32(p, 8), byte), _mm256_srli_epi32(p, 16)));
    }
}

// GCC 12 takes the undefined vectors behind _mm512_set1 for uninitialised.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif

struct TSixteen {
    __m512i in, b, g, r, top;
};

// The channels of sixteen pixels as 32-bit lanes.
ORMICA_AVX512 inline TSixteen splitSixteen(const std::uint8_t* p, __m512i byB, __m512i byG, __m512i byR)
{
    const __mmask64 firstBytes = 0x1111111111111111ull;
    TSixteen q;
    q.in = _mm512_maskz_loadu_epi8(0xffffffffffffull, p);
    const __m512i in = q.in;
    q.b = _mm512_maskz_permutexvar_epi8(firstBytes, byB, in);
    q.g = _mm512_maskz_permutexvar_epi8(firstBytes, byG, in);
    q.r = _mm512_maskz_permutexvar_epi8(firstBytes, byR, in);
    q.top = _mm512_max_epi32(q.b, _mm512_max_epi32(q.g, q.r));
    return q;
}

// Light level * 256 + top: the pair of each pixel. The level is exact as in
// slotsOf; sums 1 and 2 fall on their pair of level 0.
ORMICA_AVX512 inline __m512i pairsOf(const TSixteen& q)
{
    const __m512i sum = _mm512_add_epi32(_mm512_madd_epi16(q.b, q.b),
                                         _mm512_add_epi32(_mm512_madd_epi16(q.g, q.g), _mm512_madd_epi16(q.r, q.r)));
    const __m512i level =
        _mm512_cvttps_epi32(_mm512_sqrt_ps(_mm512_mul_ps(_mm512_cvtepi32_ps(sum), _mm512_set1_ps(1.0f / 3))));
    return _mm512_add_epi32(_mm512_slli_epi32(level, 8), q.top);
}

ORMICA_AVX512 inline __m128i fourEntries(const std::uint32_t* multiplier, const std::uint32_t* pair)
{
    const __m128i e = _mm_cvtsi32_si128(int(multiplier[pair[0]]));
    return _mm_insert_epi32(_mm_insert_epi32(_mm_insert_epi32(e, int(multiplier[pair[1]]), 1), int(multiplier[pair[2]]), 2),
                            int(multiplier[pair[3]]), 3);
}

ORMICA_AVX512 inline __m512i channelByte(__m512i v, __m512i product, __m512i top, __m512i correction)
{
    const __m512i byte = _mm512_srli_epi32(product, kFraction);
    return _mm512_mask_add_epi32(byte, _mm512_cmpeq_epi32_mask(v, top), byte, correction);
}

// Sixteen pixels at a time in integers (see buildMultipliers), `pixels` a
// multiple of 16 and at most 16 * kStretch. Pixels of pairs the integers
// cannot settle are left to doubles: the pixels, as the target may be the
// source, and their places go to the front of `left` and `leftAt`, sixteen
// entries longer than `pixels`. Returns how many.
ORMICA_AVX512 int convertSixteens(const std::uint32_t* multiplier, const std::uint8_t* src, std::uint8_t* dst,
                                  qsizetype pixels, std::uint32_t* left, std::uint32_t* leftAt)
{
    alignas(64) std::uint8_t order[4][64] = {};
    for (int px = 0; px < 16; ++px) {
        for (int c = 0; c < 3; ++c)
            order[c][4 * px] = std::uint8_t(3 * px + c);
        // Blue and green from the lanes of the first two channels, red from the third.
        order[3][3 * px] = std::uint8_t(4 * px);
        order[3][3 * px + 1] = std::uint8_t(64 + 4 * px);
        order[3][3 * px + 2] = std::uint8_t(4 * px);
    }
    const __m512i byB = _mm512_load_si512(order[0]), byG = _mm512_load_si512(order[1]), byR = _mm512_load_si512(order[2]);
    const __m512i packing = _mm512_load_si512(order[3]);
    const __mmask64 pixelBytes = 0xffffffffffffull;
    __mmask64 redBytes = 0;
    for (int px = 0; px < 16; ++px)
        redBytes |= __mmask64(1) << (3 * px + 2);
    // Each group's pairs are worked out one group ahead, so that the loads of their
    // multipliers need not wait for the roots.
    alignas(64) std::uint32_t pairs[2][16];
    TSixteen now = splitSixteen(src, byB, byG, byR), next = now;
    _mm512_store_si512(pairs[0], pairsOf(now));
    alignas(64) std::uint32_t kept[16 * kStretch];
    std::uint16_t keptLanes[kStretch];
    std::uint32_t keptAt[kStretch];
    int groups = 0;
    for (qsizetype i = 0; i < pixels; i += 16) {
        const std::uint32_t* pair = pairs[(i >> 4) & 1];
        // Asked for well ahead: the hardware's own prefetch left the loop waiting on memory.
        // The addresses may pass the row's end, so they are formed as numbers.
        _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(src + 3 * i) + 2048), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(dst + 3 * i) + 2048), _MM_HINT_ET0);
        if (i + 16 < pixels) {
            next = splitSixteen(src + 3 * (i + 16), byB, byG, byR);
            _mm512_store_si512(pairs[((i >> 4) & 1) ^ 1], pairsOf(next));
        }
        const __m512i b = now.b, g = now.g, r = now.r, top = now.top;
        // Loads one by one: a gather is slower on the processors we measured.
        const __m512i entry = _mm512_inserti64x4(
            _mm512_castsi256_si512(_mm256_set_m128i(fourEntries(multiplier, pair + 4), fourEntries(multiplier, pair))),
            _mm256_set_m128i(fourEntries(multiplier, pair + 12), fourEntries(multiplier, pair + 8)), 1);
        const __m512i m = _mm512_and_si512(entry, _mm512_set1_epi32(int(kValue)));
        const __m512i pb = _mm512_mullo_epi32(b, m);
        const __m512i pg = _mm512_mullo_epi32(g, m);
        const __m512i pr = _mm512_mullo_epi32(r, m);
        const __m512i correction = _mm512_srai_epi32(entry, 30);
        const __mmask16 doubles = _mm512_cmpeq_epi32_mask(correction, _mm512_set1_epi32(-2));
        // The group's bytes are kept where any of its pixels needs doubles, and
        // compacted after the stretch: compacting every group costs more.
        _mm512_store_si512(kept + 16 * groups, now.in);
        keptLanes[groups] = doubles;
        keptAt[groups] = std::uint32_t(i);
        groups += doubles != 0;
        __m512i out =
            _mm512_permutex2var_epi8(channelByte(b, pb, top, correction), packing, channelByte(g, pg, top, correction));
        out = _mm512_mask_permutexvar_epi8(out, redBytes, packing, channelByte(r, pr, top, correction));
        _mm512_mask_storeu_epi8(dst + 3 * i, pixelBytes, out);
        now = next;
    }
    const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    int count = 0;
    for (int k = 0; k < groups; ++k) {
        const __mmask16 doubles = keptLanes[k];
        const TSixteen q = splitSixteen(reinterpret_cast<const std::uint8_t*>(kept + 16 * k), byB, byG, byR);
        const __m512i packed = _mm512_or_si512(q.b, _mm512_or_si512(_mm512_slli_epi32(q.g, 8), _mm512_slli_epi32(q.r, 16)));
        _mm512_storeu_si512(left + count, _mm512_maskz_compress_epi32(doubles, packed));
        _mm512_storeu_si512(leftAt + count,
                            _mm512_maskz_compress_epi32(doubles, _mm512_add_epi32(lanes, _mm512_set1_epi32(int(keptAt[k])))));
        count += std::popcount(unsigned(doubles));
    }
    return count;
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

qsizetype convertRowVector(const double* factor, const std::uint8_t* src, std::uint8_t* dst, qsizetype pixels)
{
#if defined(__x86_64__)
    if (avx2())
        return convertEights(factor, src, dst, pixels);
#else
    (void)factor;
    (void)src;
    (void)dst;
    (void)pixels;
#endif
    return 0;
}

}  // namespace

namespace detail {
void setTransferVectorBits(int bits)
{
    transferVectorBits = bits;
}
}  // namespace detail

namespace {

// The definition's arithmetic for one pixel with factor k.
inline void convertWith(double k, const std::uint8_t* src, std::uint8_t* dst)
{
    const unsigned b = src[0], g = src[1], r = src[2];
    // The largest product is top * k, as multiplying by k >= 0 keeps the order. Below
    // saturation the shrink is 1, which leaves the products exact: one formula serves both.
    const double m = std::max(b, std::max(g, r)) * k;
    const double shrink = m > 255 ? 255 / m : 1.0;
    // All three are formed before the byte stores, which the compiler must assume alias the tables.
    const auto c0 = std::uint8_t(b * k * shrink);
    const auto c1 = std::uint8_t(g * k * shrink);
    const auto c2 = std::uint8_t(r * k * shrink);
    dst[0] = c0;
    dst[1] = c1;
    dst[2] = c2;
}

}  // namespace

void TPixelConverter::convertRow(const std::uint8_t* src, std::uint8_t* dst, qsizetype pixels) const
{
#if defined(__x86_64__)
    if (!multiplier_.empty() && avx512()) {
        std::uint32_t left[16 * kStretch + 16], leftAt[16 * kStretch + 16], results[16 * kStretch + 16];
        while (pixels >= 16) {
            const qsizetype n = std::min<qsizetype>(pixels, 16 * kStretch) & ~qsizetype(15);
            const int count = convertSixteens(multiplier_.data(), src, dst, n, left, leftAt);
            std::fill(left + count, left + count + 7, 0u);
            convertPacked(factor_.data(), left, results, count);
            for (int j = 0; j < count; ++j) {
                std::uint8_t* d = dst + 3 * qsizetype(leftAt[j]);
                d[0] = std::uint8_t(results[j]);
                d[1] = std::uint8_t(results[j] >> 8);
                d[2] = std::uint8_t(results[j] >> 16);
            }
            src += 3 * n;
            dst += 3 * n;
            pixels -= n;
        }
    }
#endif
    const qsizetype done = convertRowVector(factor_.data(), src, dst, pixels);
    convertScalar(src + 3 * done, dst + 3 * done, pixels - done);
}

void TPixelConverter::convertScalar(const std::uint8_t* src, std::uint8_t* dst, qsizetype pixels) const
{
    for (qsizetype i = 0; i < pixels; ++i, src += 3, dst += 3)
        convertWith(factor_[slotOfSum_[src[0] * src[0] + src[1] * src[1] + src[2] * src[2]]], src, dst);
}

namespace {

// Every row is converted the same way whichever thread takes it; the
// caller's thread reports the progress.
void convertRows(const TPixelConverter& converter, const TImgTabBGR& source, TImgTabBGR& target,
                 const std::vector<qsizetype>& lengths, TProgress& progress)
{
    const int rows = source.rowCount();
    qsizetype bytes = 0;
    for (const qsizetype n : lengths)
        bytes += n;
    const int bands = ForRowBands(rows, bytes >= 3 * kBandedPixels, [&](int band, int from, int to) {
        for (int r = from; r < to; ++r) {
            converter.convertRow(source.row(r), target.row(r), lengths[std::size_t(r)] / 3);
            if (band == 0)
                progress.setPosition(r + 1);
        }
    });
    if (bands > 1)
        progress.setPosition(rows);
}

}  // namespace

void ConvertImageTab(const TImgTabBGR& source, TImgTabBGR& target, const TBrightPointArray& points, TProgress& progress)
{
    if (source.empty())
        return;
    const int rows = source.rowCount();
    progress.setMinimum(0);
    progress.setMaximum(rows);
    progress.setPosition(0);
    const TConvSegments segments = BuildConvSegments(points);
    if (segments.size() < 2)
        return;
    bool ok = true;
    try {
        std::vector<qsizetype> lengths(std::size_t(rows), 0);
        for (int r = 0; r < rows; ++r) {
            lengths[std::size_t(r)] = source.rowLength(r);
            ok = ok && lengths[std::size_t(r)] % 3 == 0;
        }
        if (ok) {
            const TPixelConverter converter(segments);
            if (&source != &target)
                target.setShape(lengths);
            convertRows(converter, source, target, lengths, progress);
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) {
        target.clear();
        messages().warning(
            QCoreApplication::translate("TransferFunction", "TabBRGtoTabBGR : Не могу скопировать массив."));
    }
    progress.setPosition(0);
}

}  // namespace ormica
