// Rotation by an angle: the formula for any array, and the fixed-point
// stepping for arrays of one shape.
#include "core/engine/geometry.h"

#include "core/engine/geometry_support.h"
#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"
#include "core/engine/row_bands.h"

#include <QCoreApplication>
#include <algorithm>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif
#include <cmath>
#include <cstring>
#include <new>
#include <numbers>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace ormica {

using namespace detail::geometry;

namespace detail {

TSourcePixel RotationSource(long long y, long long x, long long width, long long centreRow, long long centreCol,
                            long double radians)
{
    constexpr long double pi = std::numbers::pi_v<long double>;
    const long double yc = centreRow;
    const long double xc = static_cast<long double>(width - centreCol);
    long double dY = static_cast<long double>(y) - yc;
    long double dX = static_cast<long double>(width - x) - xc;
    const long double r = std::sqrt(dX * dX + dY * dY);
    if (std::fabs(r) > 0.1L) {
        const long double phi0 = std::asin(std::fabs(dY) / r);
        long double phi;
        if (dY > 0 && dX > 0)
            phi = phi0;
        else if (dY > 0)
            phi = pi - phi0;
        else if (dX > 0)
            phi = 2 * pi - phi0;
        else
            phi = pi + phi0;
        const long double psi = phi - radians;
        dY = r * std::sin(psi);
        dX = r * std::cos(psi);
    }
    return {static_cast<long long>(std::nearbyint(yc + dY)), width - static_cast<long long>(std::nearbyint(xc + dX))};
}

}  // namespace detail

namespace {

long double toRadians(long double degrees)
{
    return degrees * std::numbers::pi_v<long double> / 180;
}

// Rotation of arrays of any shape, pixel by pixel through the formula.
void rotateGeneral(const TImgTabBGR& src, int rc, int cc, TProgress* progress, TImgTabBGR& target, long double a)
{
    const long long w = target.rowLength(0) / 3;
    const int h = target.rowCount();
    for (int y = 0; y < h; ++y) {
        const qsizetype len = target.rowLength(y);
        for (qsizetype x = 0; 3 * x < len; ++x) {
            if (3 * x + 2 >= len)
                throw RowMismatch();
            const auto p = detail::RotationSource(y, x, w, rc, cc, a);
            if (p.row < 0 || p.row > h - 1 || p.col < 0 || p.col > w - 1)
                continue;
            if (3 * p.col + 2 >= src.rowLength(int(p.row)))
                throw RowMismatch();
            copyPixel(target.row(y) + 3 * x, src.row(int(p.row)) + 3 * p.col);
        }
        addPosition(progress, 1);
    }
}

// [first, last) of the x in [0, n) where lo <= a + x s < hi, for a line that
// neither overflows nor turns back.
struct Span {
    long long first, last;
};
Span within(std::int64_t a, std::int64_t s, std::int64_t lo, std::int64_t hi, long long n)
{
    // The first x in [0, n] where a test that stays true once true holds.
    auto firstWhere = [n](auto test) {
        long long l = 0, r = n;
        while (l < r) {
            const long long m = l + (r - l) / 2;
            if (test(m))
                r = m;
            else
                l = m + 1;
        }
        return l;
    };
    long long b, e;
    if (s >= 0) {
        b = firstWhere([&](long long x) { return a + x * s >= lo; });
        e = firstWhere([&](long long x) { return a + x * s >= hi; });
    } else {
        b = firstWhere([&](long long x) { return a + x * s < hi; });
        e = firstWhere([&](long long x) { return a + x * s < lo; });
    }
    return {b, std::max(b, e)};
}

Span common(Span a, Span b)
{
    const long long first = std::max(a.first, b.first);
    return {first, std::max(first, std::min(a.last, b.last))};
}

#if defined(__x86_64__)
bool wideVectors()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes && simdAllowed;
}

// Pixels [0, n) of a stretch whose first pixel has the fixed-point
// coordinates vy, vx (40 fraction bits), four a step: the rounded row and
// mirrored column become byte offsets from the end of source row 0, and the
// near test of AngleRotation runs on all four. Both rounded coordinates are
// inside the source, so neither sum is negative and the logical shift rounds.
// Returns how many pixels were listed as near.
__attribute__((target("avx2"))) int offsetsWide(std::int64_t vy, std::int64_t vx, std::int64_t sy, std::int64_t sx,
                                                std::uint32_t tol, int n, qsizetype stride, std::int64_t* offsets,
                                                int* near)
{
    __m256i y = _mm256_setr_epi64x(vy, vy + sy, vy + 2 * sy, vy + 3 * sy);
    __m256i x = _mm256_setr_epi64x(vx, vx + sx, vx + 2 * sx, vx + 3 * sx);
    const __m256i stepY = _mm256_set1_epi64x(4 * sy), stepX = _mm256_set1_epi64x(4 * sx);
    const __m256i half = _mm256_set1_epi64x(std::int64_t(1) << 39);
    const __m256i rows = _mm256_set1_epi64x(stride);
    const __m256i low32 = _mm256_set1_epi64x(0xFFFFFFFF);
    const __m256i bias = _mm256_set1_epi64x(std::int64_t(std::uint32_t(tol - 0x80000000u)));
    const __m256i width = _mm256_set1_epi64x(2 * std::int64_t(tol));
    int listed = 0;
    int k = 0;
    for (; k + 4 <= n; k += 4) {
        const __m256i row = _mm256_srli_epi64(_mm256_add_epi64(y, half), 40);
        const __m256i col = _mm256_srli_epi64(_mm256_add_epi64(x, half), 40);
        const __m256i back = _mm256_add_epi64(col, _mm256_add_epi64(col, col));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(offsets + k),
                            _mm256_sub_epi64(_mm256_mul_epu32(row, rows), back));
        const __m256i fy = _mm256_and_si256(_mm256_add_epi64(_mm256_srli_epi64(y, 8), bias), low32);
        const __m256i fx = _mm256_and_si256(_mm256_add_epi64(_mm256_srli_epi64(x, 8), bias), low32);
        const __m256i close = _mm256_or_si256(_mm256_cmpgt_epi64(width, fy), _mm256_cmpgt_epi64(width, fx));
        unsigned mask = unsigned(_mm256_movemask_pd(_mm256_castsi256_pd(close)));
        while (mask) {
            near[listed++] = k + __builtin_ctz(mask);
            mask &= mask - 1;
        }
        y = _mm256_add_epi64(y, stepY);
        x = _mm256_add_epi64(x, stepX);
    }
    vy += k * sy;
    vx += k * sx;
    for (; k < n; ++k, vy += sy, vx += sx) {
        offsets[k] = ((vy + (std::int64_t(1) << 39)) >> 40) * stride - 3 * ((vx + (std::int64_t(1) << 39)) >> 40);
        near[listed] = k;
        const std::uint32_t ty = std::uint32_t(std::uint32_t(std::uint64_t(vy) >> 8) - 0x80000000u + tol);
        const std::uint32_t tx = std::uint32_t(std::uint32_t(std::uint64_t(vx) >> 8) - 0x80000000u + tol);
        listed += int((ty < 2 * tol) | (tx < 2 * tol));
    }
    return listed;
}
#endif

// The same rotation for arrays of one shape. The mapping is affine, so along
// a row both source coordinates are straight lines; they are stepped in
// fixed point with 40 fraction bits. A coordinate within `tol` of a half
// could round differently from the formula's own value; those few pixels are
// sent to the formula, which also takes rows too far from the centre for the
// fixed point. Each row's fixed-point span inside the source is worked out
// once, so the copy needs no bounds test and only the rest is filled; a near
// pixel just outside the span may still map inside by the formula.
class AngleRotation {
public:
    AngleRotation(const TImgTabBGR& src, int rc, int cc, TImgTabBGR& target, TColor fill, long double a)
        : src_(src), target_(target), rc_(rc), cc_(cc), a_(a), w_(src.width()), h_(src.height()),
          stride_(src.rowLength(0)), corner_(src.row(0) + 3 * w_), lines_(std::size_t(h_))
    {
        const long double c = std::cos(a);
        const long double s = std::sin(a);
        // Per column: the row coordinate grows by sin a, the mirrored column falls by cos a.
        stepY_ = std::llround(s * kOne);
        stepX_ = std::llround(-c * kOne);
        const long double maxDx = std::max(std::fabs(static_cast<long double>(cc)),
                                           std::fabs(static_cast<long double>(cc) - static_cast<long double>(w_ - 1)));
        constexpr std::int64_t unit = std::int64_t(1) << F;
        for (int y = 0; y < h_; ++y) {
            const long double dy = static_cast<long double>(y) - rc;
            // Row = Rc + dY cos a - dX sin a, mirrored column = (W - Cc) + dX cos a + dY sin a, dX = Cc - x.
            const long double baseY = rc + dy * c - static_cast<long double>(cc) * s;
            const long double baseX = static_cast<long double>(w_ - cc) + static_cast<long double>(cc) * c + dy * s;
            // The formula's own error grows with the square of the distance to
            // the centre (its arcsine is steep near the axes); the fixed point
            // adds at most w * 2^-41 from the rounded steps.
            const long double reach = std::fabs(dy) + maxDx;
            const long double tol = 1e-6L + reach * reach * 2e-17L;
            const long double magnitude = std::max(std::fabs(baseY), std::fabs(baseX)) +
                                          static_cast<long double>(std::max<long long>(w_, h_)) * 2;
            Line& l = lines_[std::size_t(y)];
            l.exact = magnitude > 4e6L || tol > 0.25L;
            if (l.exact)
                continue;
            l.ay = std::llround(baseY * kOne);
            l.ax = std::llround(baseX * kOne);
            l.tol = std::uint32_t(tol * 4294967296.0L) + 1;
            // Rounded row in [0, H), rounded mirrored column in [1, W]; one
            // more on every side for the pixels the formula may pull in.
            const auto spanOf = [&](std::int64_t more) {
                return common(within(l.ay, stepY_, -kHalf - more, h_ * unit - kHalf + more, w_),
                              within(l.ax, stepX_, unit - kHalf - more, (w_ + 1) * unit - kHalf + more, w_));
            };
            l.inside = spanOf(0);
            l.near = spanOf(unit);
        }
        const TBGRTriple t = ColorToBGRTriple(fill);
        fillRow_.resize(std::size_t(3) * std::size_t(w_));
        for (long long x = 0; x < w_; ++x) {
            fillRow_[std::size_t(3 * x)] = t.b;
            fillRow_[std::size_t(3 * x + 1)] = t.g;
            fillRow_[std::size_t(3 * x + 2)] = t.r;
        }
    }

    // Target rows [from, to); `near` has room for a row's x.
    void band(int from, int to, long long* near, TProgress* progress) const
    {
        for (int y0 = from; y0 < to; y0 += kTileRows) {
            const int y1 = std::min(to, y0 + kTileRows);
            for (int y = y0; y < y1; ++y)
                edges(y, near);
            for (long long x0 = 0; x0 < w_; x0 += kTileCols) {
                const long long x1 = std::min(w_, x0 + kTileCols);
                for (int y = y0; y < y1; ++y) {
                    const Line& l = lines_[std::size_t(y)];
                    if (l.exact)
                        continue;
                    const long long b = std::max(x0, l.inside.first), e = std::min(x1, l.inside.last);
                    if (b < e)
                        settle(y, near, copySpan(l, b, e, target_.row(y), near));
                }
            }
            addPosition(progress, y1 - y0);
        }
    }

private:
    static constexpr int F = 40;
    static constexpr long double kOne = 1099511627776.0L;  // 2^40
    static constexpr std::int64_t kHalf = std::int64_t(1) << (F - 1);
    // Tiles keep the source reads of a turned line within a few cached rows and pages.
    static constexpr int kTileRows = 32, kTileCols = 128;

    struct Line {
        std::int64_t ay = 0, ax = 0;
        std::uint32_t tol = 0;  // in units of 2^-32
        bool exact = true;
        Span inside{0, 0};  // where the fixed point maps into the source
        Span near{0, 0};    // and where it misses it by at most one pixel
    };

    static bool nearHalf(std::int64_t v, std::uint32_t tol)
    {
        // The top 32 bits of the fraction, against one half.
        return std::uint32_t(std::uint32_t(std::uint64_t(v) >> (F - 32)) - 0x80000000u + tol) < 2 * tol;
    }

    // Pixels [b, e), all inside the row's span, copied from where the fixed
    // point puts them; the x of those too near a half are listed for the formula.
    int copySpan(const Line& l, long long b, long long e, std::uint8_t* out, long long* near) const
    {
        std::int64_t vy = l.ay + b * stepY_, vx = l.ax + b * stepX_;
#if defined(__x86_64__)
        if (wide_) {
            std::int64_t offsets[kTileCols];
            int close[kTileCols];
            const int n = int(e - b);
            const int listed = offsetsWide(vy, vx, stepY_, stepX_, l.tol, n, stride_, offsets, close);
            std::uint8_t* o = out + 3 * b;
            for (int k = 0; k < n; ++k)
                copyPixel(o + 3 * k, corner_ + offsets[k]);
            for (int i = 0; i < listed; ++i)
                near[i] = b + close[i];
            return listed;
        }
#endif
        const std::int64_t sy = stepY_, sx = stepX_;
        const std::uint32_t tol = l.tol;
        const std::uint8_t* const corner = corner_;
        const qsizetype stride = stride_;
        int n = 0;
        for (long long x = b; x < e; ++x, vy += sy, vx += sx) {
            near[n] = x;
            n += (int(nearHalf(vy, tol)) | int(nearHalf(vx, tol)));
            copyPixel(out + 3 * x, corner + ((vy + kHalf) >> F) * stride - 3 * ((vx + kHalf) >> F));
        }
        return n;
    }

    // The listed pixels of row y by the formula.
    void settle(int y, const long long* near, int n) const
    {
        std::uint8_t* out = target_.row(y);
        for (int i = 0; i < n; ++i) {
            const long long x = near[i];
            const auto p = detail::RotationSource(y, x, w_, rc_, cc_, a_);
            if (p.row >= 0 && p.row < h_ && p.col >= 0 && p.col < w_)
                copyPixel(out + 3 * x, src_.row(int(p.row)) + 3 * p.col);
            else
                copyPixel(out + 3 * x, fillRow_.data());
        }
    }

    // The fill outside the row's span, and the near pixels just outside it.
    void edges(int y, long long* near) const
    {
        const Line& l = lines_[std::size_t(y)];
        std::uint8_t* out = target_.row(y);
        if (l.exact) {
            for (long long x = 0; x < w_; ++x)
                near[x] = x;
            settle(y, near, int(w_));
            return;
        }
        const std::size_t before = std::size_t(3 * l.inside.first);
        const std::size_t after = std::size_t(3 * l.inside.last);
        std::memcpy(out, fillRow_.data(), before);
        std::memcpy(out + after, fillRow_.data() + after, fillRow_.size() - after);
        int n = 0;
        const auto list = [&](long long b, long long e) {
            std::int64_t vy = l.ay + b * stepY_, vx = l.ax + b * stepX_;
            for (long long x = b; x < e; ++x, vy += stepY_, vx += stepX_) {
                near[n] = x;
                n += (int(nearHalf(vy, l.tol)) | int(nearHalf(vx, l.tol)));
            }
        };
        list(l.near.first, std::min(l.near.last, l.inside.first));
        list(std::max(l.near.first, l.inside.last), l.near.last);
        settle(y, near, n);
    }

    const TImgTabBGR& src_;
    TImgTabBGR& target_;
    const int rc_, cc_;
    const long double a_;
    const long long w_;
    const int h_;
    const qsizetype stride_;
    const std::uint8_t* const corner_;  // one past row 0: column W - k is corner_ - 3k
    std::int64_t stepY_ = 0, stepX_ = 0;
#if defined(__x86_64__)
    // Offsets are formed from the low 32 bits of row and stride.
    const bool wide_ = wideVectors() && stride_ < (qsizetype(1) << 32);
#endif
    std::vector<Line> lines_;
    std::vector<std::uint8_t> fillRow_;
};

// The target in the source's shape with the progress and the failure of
// SetAndCrearTabBGR, but without painting pixels the rotation writes anyway.
bool shapeForRotation(const TImgTabBGR& src, TImgTabBGR& target, TProgress* progress)
{
    const int h = src.rowCount();
    startProgress(progress, h);
    try {
        target.setShape(h, src.rowLength(0));
    } catch (const std::bad_alloc&) {
        fail(target, QCoreApplication::translate("Geometry", "SetAndCrearTabBGR : Не могу подготовить массив."));
        return false;
    }
    if (progress)
        for (int y = 0; y < h; ++y)
            addPosition(progress, 1);
    return true;
}

// Large pictures are shared between two threads by row bands; every pixel
// is worked out the same way whichever thread takes it.
int rotationThreads(const TImgTabBGR& src)
{
    return qsizetype(src.height()) * src.rowLength(0) >= 3 * kBandedPixels ? WorkerThreads() : 1;
}

void rotate(const TImgTabBGR& source, int centreRow, int centreCol, TProgress* progress, TImgTabBGR& target,
            TColor fill, long double degrees, int threads)
{
    if (source.rowCount() < 3)
        return;
    try {
        const SourceView view(source, target);
        const TImgTabBGR& src = *view;
        const long double a = toRadians(degrees);
        if (!uniform(src) || src.width() <= 0) {
            if (!SetAndCrearTabBGR(src, fill, target, progress))
                return;
            startProgress(progress, target.rowCount());
            rotateGeneral(src, centreRow, centreCol, progress, target, a);
        } else {
            if (!shapeForRotation(src, target, progress))
                return;
            startProgress(progress, target.rowCount());
            const AngleRotation rotation(src, centreRow, centreCol, target, fill, a);
            const int h = src.height();
            const int parts = std::clamp(threads, 1, h);
            std::vector<std::vector<long long>> near(std::size_t(parts),
                                                     std::vector<long long>(std::size_t(src.width())));
            // The caller's thread takes the first band and reports progress.
            std::vector<std::thread> helpers;
            for (int i = 1; i < parts; ++i) {
                const int from = int(qsizetype(h) * i / parts), to = int(qsizetype(h) * (i + 1) / parts);
                try {
                    helpers.emplace_back([&rotation, &near, i, from, to] {
                        rotation.band(from, to, near[std::size_t(i)].data(), nullptr);
                    });
                } catch (const std::system_error&) {
                    rotation.band(from, to, near[std::size_t(i)].data(), nullptr);
                }
            }
            const int first = int(h / parts);
            rotation.band(0, first, near[0].data(), progress);
            for (std::thread& t : helpers)
                t.join();
            addPosition(progress, h - first);
        }
    } catch (const std::bad_alloc&) {
        fail(target, QCoreApplication::translate("Geometry", "RotateForTabBGR : Не могу повернуть изображение."));
    } catch (const RowMismatch&) {
        fail(target, QCoreApplication::translate("Geometry", "RotateForTabBGR : Не могу повернуть изображение."));
    }
    if (progress)
        progress->setPosition(0);
}

}  // namespace

void RotateForTabBGR(const TImgTabBGR& source, int centreRow, int centreCol, TProgress* progress, TImgTabBGR& target,
                     TColor fill, long double degrees)
{
    rotate(source, centreRow, centreCol, progress, target, fill, degrees, rotationThreads(source));
}

long double CheckRotationAngle(long double degrees)
{
    if (degrees < -89.9L || degrees > 89.9L || std::isnan(degrees)) {
        messages().warning(QCoreApplication::translate("Geometry", " Допустимый угол поворота в градусах должен \r\n"
                                                                   " определяться в границах (-89,9 .. 89,9)\r\n"
                                                                   " Операция вращения отменяется ... "));
        return 0;
    }
    return degrees;
}

namespace detail {

void RotateByFormula(const TImgTabBGR& source, int centreRow, int centreCol, TImgTabBGR& target, TColor fill,
                     long double degrees)
{
    if (source.rowCount() < 3 || !SetAndCrearTabBGR(source, fill, target, nullptr))
        return;
    rotateGeneral(source, centreRow, centreCol, nullptr, target, toRadians(degrees));
}

void RotateWithThreads(const TImgTabBGR& source, int centreRow, int centreCol, TProgress* progress, TImgTabBGR& target,
                       TColor fill, long double degrees, int threads)
{
    rotate(source, centreRow, centreCol, progress, target, fill, degrees, threads);
}

}  // namespace detail

}  // namespace ormica
