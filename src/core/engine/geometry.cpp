#include "geometry.h"

#include "img_service.h"
#include "message_sink.h"

#include <cmath>
#include <cstring>
#include <new>
#include <numbers>
#include <optional>
#include <vector>

namespace ormica {

namespace {

// A pixel index outside a shorter row: the arrays do not have one shape.
struct RowMismatch {};

void warn(const char* text)
{
    messages().warning(QString::fromUtf8(text));
}

// A failed routine leaves an empty target and says so.
void fail(TImgTabBGR& target, const char* text)
{
    target.clear();
    warn(text);
}

// Every row as long as row 0, and whole pixels only.
bool uniform(const TImgTabBGR& a)
{
    const qsizetype len = a.rowLength(0);
    if (len % 3 != 0)
        return false;
    for (int y = 1; y < a.rowCount(); ++y)
        if (a.rowLength(y) != len)
            return false;
    return true;
}

std::vector<qsizetype> shapeOf(const TImgTabBGR& a)
{
    std::vector<qsizetype> lengths(static_cast<std::size_t>(a.rowCount()));
    for (int y = 0; y < a.rowCount(); ++y)
        lengths[std::size_t(y)] = a.rowLength(y);
    return lengths;
}

void zeroAll(TImgTabBGR& a)
{
    for (int y = 0; y < a.rowCount(); ++y)
        if (a.rowLength(y) > 0)
            std::memset(a.row(y), 0, std::size_t(a.rowLength(y)));
}

inline void copyPixel(std::uint8_t* to, const std::uint8_t* from)
{
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// The source itself, or a copy of it when it is also the target.
class SourceView {
public:
    SourceView(const TImgTabBGR& source, const TImgTabBGR& target)
    {
        if (&source == &target) {
            copy_.emplace(source);
            view_ = &*copy_;
        } else {
            view_ = &source;
        }
    }
    const TImgTabBGR& operator*() const { return *view_; }

private:
    std::optional<TImgTabBGR> copy_;
    const TImgTabBGR* view_;
};

void addPosition(TProgress* p, int step)
{
    if (p)
        p->setPosition(p->position() + step);
}

void startProgress(TProgress* p, int maximum)
{
    if (p) {
        p->setMinimum(0);
        p->setMaximum(maximum);
        p->setPosition(0);
    }
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
        for (int y = 0; y < h; ++y) {
            const qsizetype len = src.rowLength(y);
            const std::uint8_t* s = src.row(y);
            if (mode == 'H') {
                std::uint8_t* d = target.row(y) + len - 3;
                for (qsizetype off = 0; off + 3 <= len; off += 3)
                    copyPixel(d - off, s + off);
            } else {
                const int ty = h - 1 - y;
                const qsizetype whole = len - len % 3;
                if (whole > target.rowLength(ty))
                    throw RowMismatch();
                if (whole > 0)
                    std::memcpy(target.row(ty), s, std::size_t(whole));
            }
            addPosition(progress, 1);
        }
    } catch (const std::bad_alloc&) {
        fail(target, "MirrorToTrgArr : Не могу перевернуть изображение.");
    } catch (const RowMismatch&) {
        fail(target, "MirrorToTrgArr : Не могу перевернуть изображение.");
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
        warn("Prepare90TrgArr : Не могу получить память для массива.");
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
            constexpr int tile = 64;
            const std::uint8_t* rows[tile];
            for (int y0 = 0; y0 < h; y0 += tile) {
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
                addPosition(progress, n);
            }
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
        fail(target, "Rotate90PlusMinus : Не могу перевернуть изображение.");
    } catch (const RowMismatch&) {
        fail(target, "Rotate90PlusMinus : Не могу перевернуть изображение.");
    }
}

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

// The same rotation for arrays of one shape. The mapping is affine, so along
// a row both source coordinates are straight lines; they are stepped in
// fixed point with 40 fraction bits. A coordinate within `tol` of a half
// could round differently from the formula's own value; those few pixels are
// sent to the formula, which also takes rows too far from the centre for the
// fixed point. Tiles keep the source reads of a turned line within a few
// cached rows.
void rotateUniform(const TImgTabBGR& src, int rc, int cc, TProgress* progress, TImgTabBGR& target, long double a)
{
    constexpr int F = 40;
    constexpr long double one = 1099511627776.0L;  // 2^40
    constexpr std::int64_t half = std::int64_t(1) << (F - 1);
    const long long w = src.width();
    const int h = src.height();
    const long double c = std::cos(a);
    const long double s = std::sin(a);
    // Per column: the row coordinate grows by sin a, the mirrored column falls by cos a.
    const std::int64_t stepY = std::llround(s * one);
    const std::int64_t stepX = std::llround(-c * one);
    const long double maxDx = std::max(std::fabs(static_cast<long double>(cc)),
                                       std::fabs(static_cast<long double>(cc) - static_cast<long double>(w - 1)));
    struct Line {
        std::int64_t ay, ax;
        std::uint32_t tol;  // in units of 2^-32
        bool exact;
    };
    std::vector<Line> lines(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const long double dy = static_cast<long double>(y) - rc;
        // Row = Rc + dY cos a - dX sin a, mirrored column = (W - Cc) + dX cos a + dY sin a, dX = Cc - x.
        const long double baseY = rc + dy * c - static_cast<long double>(cc) * s;
        const long double baseX = static_cast<long double>(w - cc) + static_cast<long double>(cc) * c + dy * s;
        // The formula's own error grows with the square of the distance to
        // the centre (its arcsine is steep near the axes); the fixed point
        // adds at most w * 2^-41 from the rounded steps.
        const long double reach = std::fabs(dy) + maxDx;
        const long double tol = 1e-6L + reach * reach * 2e-17L;
        const long double magnitude = std::max(std::fabs(baseY), std::fabs(baseX)) + static_cast<long double>(w) * 2;
        Line& l = lines[std::size_t(y)];
        l.exact = magnitude > 4e6L || tol > 0.25L;
        l.ay = l.exact ? 0 : std::llround(baseY * one);
        l.ax = l.exact ? 0 : std::llround(baseX * one);
        l.tol = l.exact ? 0 : std::uint32_t(tol * 4294967296.0L) + 1;
    }

    // One shape: row r of the source starts r strides after row 0.
    const std::uint8_t* const base = src.row(0);
    const qsizetype stride = src.rowLength(0);
    constexpr int tile = 64;
    for (int y0 = 0; y0 < h; y0 += tile) {
        const int y1 = std::min(h, y0 + tile);
        for (long long x0 = 0; x0 < w; x0 += tile) {
            const long long x1 = std::min(w, x0 + tile);
            for (int y = y0; y < y1; ++y) {
                const Line& l = lines[std::size_t(y)];
                std::uint8_t* out = target.row(y);
                std::int64_t vy = l.ay + x0 * stepY;
                std::int64_t vx = l.ax + x0 * stepX;
                for (long long x = x0; x < x1; ++x, vy += stepY, vx += stepX) {
                    // The top 32 bits of each fraction, and their distance from one half.
                    const std::uint32_t fy = std::uint32_t(std::uint64_t(vy) >> (F - 32));
                    const std::uint32_t fx = std::uint32_t(std::uint64_t(vx) >> (F - 32));
                    long long row, col;
                    if (l.exact || std::uint32_t(fy - 0x80000000u + l.tol) < 2 * l.tol ||
                        std::uint32_t(fx - 0x80000000u + l.tol) < 2 * l.tol) {
                        const auto p = detail::RotationSource(y, x, w, rc, cc, a);
                        row = p.row;
                        col = p.col;
                    } else {
                        row = (vy + half) >> F;
                        col = w - ((vx + half) >> F);
                    }
                    if (std::uint64_t(row) < std::uint64_t(h) && std::uint64_t(col) < std::uint64_t(w))
                        copyPixel(out + 3 * x, base + row * stride + 3 * col);
                }
            }
        }
        addPosition(progress, y1 - y0);
    }
}

}  // namespace

void RotateForTabBGR(const TImgTabBGR& source, int centreRow, int centreCol, TProgress* progress, TImgTabBGR& target,
                     TColor fill, long double degrees)
{
    if (source.rowCount() < 3)
        return;
    try {
        const SourceView view(source, target);
        const TImgTabBGR& src = *view;
        if (!SetAndCrearTabBGR(src, fill, target, progress))
            return;
        startProgress(progress, target.rowCount());
        const long double a = toRadians(degrees);
        if (uniform(src) && src.width() > 0)
            rotateUniform(src, centreRow, centreCol, progress, target, a);
        else
            rotateGeneral(src, centreRow, centreCol, progress, target, a);
    } catch (const std::bad_alloc&) {
        fail(target, "RotateForTabBGR : Не могу повернуть изображение.");
    } catch (const RowMismatch&) {
        fail(target, "RotateForTabBGR : Не могу повернуть изображение.");
    }
    if (progress)
        progress->setPosition(0);
}

long double CheckRotationAngle(long double degrees)
{
    if (degrees < -89.9L || degrees > 89.9L || std::isnan(degrees)) {
        messages().warning(QStringLiteral(" Допустимый угол поворота в градусах должен \r\n"
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

}  // namespace detail

}  // namespace ormica
