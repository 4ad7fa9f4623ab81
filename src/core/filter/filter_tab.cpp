#include "core/filter/filter_tab.h"

#include "core/engine/message_sink.h"
#include "core/filter/interior.h"

#include <QCoreApplication>
#include <algorithm>
#include <new>

namespace ormica {

namespace {

// Truncation toward zero; fitted values lie in (-1, 256).
inline std::uint8_t byteOf(double v)
{
    return std::uint8_t(int(v));
}

void setPosition(TProgress* progress, int value)
{
    if (progress)
        progress->setPosition(value);
}

bool evenRows(const TImgTabColor& a)
{
    for (int r = 1; r < a.rowCount(); ++r)
        if (a.rowLength(r) != a.rowLength(0))
            return false;
    return true;
}

bool sameShape(const TImgTabColor& a, const TImgTabColor& b)
{
    if (a.rowCount() != b.rowCount())
        return false;
    for (int r = 0; r < a.rowCount(); ++r)
        if (a.rowLength(r) != b.rowLength(r))
            return false;
    return true;
}

void warnFilter(const QString& text)
{
    messages().warning(QStringLiteral("FilterTabColor : ") + text);
}

}  // namespace

void FitUnderflow(double& r, double& g, double& b)
{
    double m = r;
    if (g < m)
        m = g;
    if (b < m)
        m = b;
    const double k = 255 / (255 - m);
    r = 255 - (255 - r) * k;
    g = 255 - (255 - g) * k;
    b = 255 - (255 - b) * k;
}

void FitOverflow(double& r, double& g, double& b)
{
    double m = r;
    if (g > m)
        m = g;
    if (b > m)
        m = b;
    const double k = 255 / m;
    r = r * k;
    g = g * k;
    b = b * k;
}

namespace detail {

TBGRTriple FitToBytes(double b, double g, double r)
{
    if (r < 0 || g < 0 || b < 0)
        FitUnderflow(r, g, b);
    if (r > 255 || g > 255 || b > 255)
        FitOverflow(r, g, b);
    return {byteOf(b), byteOf(g), byteOf(r)};
}

void ConvolveInteriorDirect(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source,
                            TImgTabColor& target, TProgress* progress)
{
    const int h = source.height();
    const int w = source.width();
    const double s = scale;
    for (int i = 3; i <= h - 4; ++i) {
        TBGRTriple* out = target.row(i);
        for (int j = 3; j <= w - 4; ++j) {
            double sb = 0, sg = 0, sr = 0;
            for (int r = 0; r < TFilterKernel::kSide; ++r) {
                const TBGRTriple* in = source.row(i + r - 3);
                for (int c = 0; c < TFilterKernel::kSide; ++c) {
                    const std::int32_t weight = kernel.at(r, c);
                    if (weight == 0)
                        continue;
                    const TBGRTriple& p = in[j + c - 3];
                    sb += weight * std::int32_t(p.b);
                    sg += weight * std::int32_t(p.g);
                    sr += weight * std::int32_t(p.r);
                }
            }
            out[j] = FitToBytes(sb / s, sg / s, sr / s);
        }
        setPosition(progress, i - 2);
    }
}

// The integer sum of a channel is exact in 32 bits (KernelFits), and the
// double sum of the definition holds the same integer. For 0 <= S <= 255 *
// scale no fitting happens and Trunc(S / scale) computed in double equals the
// integer quotient: a quotient that is not an integer lies at least 1 / scale
// >= 2^-31 from one, while the rounding error of a double below 256 is at most
// 2^-45. Only the other pixels go the double way.
void ConvolveInteriorPortable(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source,
                              TImgTabColor& target, TProgress* progress)
{
    struct Tap {
        int row, column;
        std::int32_t weight;
    };
    Tap taps[TFilterKernel::kCount];
    int count = 0;
    for (int r = 0; r < TFilterKernel::kSide; ++r)
        for (int c = 0; c < TFilterKernel::kSide; ++c)
            if (kernel.at(r, c) != 0)
                taps[count++] = {r, c - 3, kernel.at(r, c)};
    const int h = source.height();
    const int w = source.width();
    const std::uint32_t limit = std::uint32_t(std::min<std::int64_t>(std::int64_t(scale) * 255, INT32_MAX));
    const double s = scale;
    const TBGRTriple* rows[TFilterKernel::kSide];
    for (int i = 3; i <= h - 4; ++i) {
        for (int r = 0; r < TFilterKernel::kSide; ++r)
            rows[r] = source.row(i + r - 3);
        TBGRTriple* out = target.row(i);
        for (int j = 3; j <= w - 4; ++j) {
            std::int32_t sb = 0, sg = 0, sr = 0;
            for (int t = 0; t < count; ++t) {
                const TBGRTriple& p = rows[taps[t].row][j + taps[t].column];
                sb += taps[t].weight * std::int32_t(p.b);
                sg += taps[t].weight * std::int32_t(p.g);
                sr += taps[t].weight * std::int32_t(p.r);
            }
            // Negative sums become large unsigned values: one test for both ends.
            if (std::uint32_t(sb) <= limit && std::uint32_t(sg) <= limit && std::uint32_t(sr) <= limit)
                out[j] = {std::uint8_t(sb / scale), std::uint8_t(sg / scale), std::uint8_t(sr / scale)};
            else
                out[j] = FitToBytes(sb / s, sg / s, sr / s);
        }
        setPosition(progress, i - 2);
    }
}

bool FastConvolutionIsVectorised()
{
    return VectorisedAvailable();
}

bool FilterTabColorWith(TConvolution how, const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source,
                        TImgTabColor& target, TProgress* progress)
{
    if (source.empty())
        return false;
    const int h = source.height();
    const int w = source.width();
    if (h < 4 || w < 4) {
        warnFilter(QCoreApplication::translate("FilterTab", "Массив меньше 4 x 4 пикселей, фильтр не применяется."));
        return false;
    }
    if (!evenRows(source)) {
        warnFilter(QCoreApplication::translate("FilterTab", "Строки массива разной длины, фильтр не применяется."));
        return false;
    }
    if (scale < 1) {
        messages().warning(QStringLiteral("FilterTabColor : ") + ScaleBelowOneRunText());
        return false;
    }
    if (!CheckKernel(kernel, QStringLiteral("FilterTabColor")))
        return false;
    // The target's block is reused where it fits: a fresh picture-sized block
    // costs more in page faults than the whole of a small kernel's arithmetic.
    TImgTabColor aside;
    TImgTabColor& result = &source == &target ? aside : target;
    try {
        result.setShape(h, w);
        // Black wherever the interior will not be written.
        for (int r = 0; r < h; ++r) {
            if (r < 3 || r > h - 4 || w < 7) {
                std::fill_n(result.row(r), w, TBGRTriple{});
            } else {
                std::fill_n(result.row(r), 3, TBGRTriple{});
                std::fill_n(result.row(r) + w - 3, 3, TBGRTriple{});
            }
        }
        if (progress) {
            progress->setMinimum(0);
            progress->setMaximum(h);
            progress->setPosition(0);
        }
        FilterBorder(kernel, scale, source, result);
        if (h >= 7) {
            if (w < 7) {
                for (int i = 3; i <= h - 4; ++i)
                    setPosition(progress, i - 2);
            } else if (how == TConvolution::Direct) {
                ConvolveInteriorDirect(kernel, scale, source, result, progress);
            } else if (how == TConvolution::Portable ||
                       !ConvolveInteriorVectorised(kernel, scale, source, result, progress)) {
                ConvolveInteriorPortable(kernel, scale, source, result, progress);
            }
        }
    } catch (const std::bad_alloc&) {
        result.clear();
        warnFilter(QCoreApplication::translate("FilterTab", "Недостаточно памяти для результата фильтрации."));
        return false;
    }
    if (&result == &aside)
        target = std::move(aside);
    return true;
}

}  // namespace detail

void GainPixel(int row, int column, const TImgTabColor& source, TImgTabColor& target, double gain)
{
    const TBGRTriple& p = source.row(row)[column];
    target.row(row)[column] = detail::FitToBytes(p.b * gain, p.g * gain, p.r * gain);
}

void FilterBorder(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source, TImgTabColor& target)
{
    const int h = source.height();
    const int w = source.width();
    if (h < 4 || w < 4 || scale < 1 || !evenRows(source) || !sameShape(source, target))
        return;
    const std::optional<std::int32_t> sum = KernelSum(kernel);
    if (!sum || *sum <= 0)
        return;
    const double gain = double(*sum) / scale;
    for (int i = 0; i < h; ++i) {
        if (i <= 3 || i >= h - 4) {
            for (int j = 0; j < w; ++j)
                GainPixel(i, j, source, target, gain);
        } else {
            for (int j = 0; j <= 3; ++j)
                GainPixel(i, j, source, target, gain);
            for (int j = w - 4; j < w; ++j)
                GainPixel(i, j, source, target, gain);
        }
    }
}

bool FilterTabColor(const TFilterKernel& kernel, std::int32_t scale, const TImgTabColor& source, TImgTabColor& target,
                    TProgress* progress)
{
    return detail::FilterTabColorWith(detail::TConvolution::Fast, kernel, scale, source, target, progress);
}

}  // namespace ormica
