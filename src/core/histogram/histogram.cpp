#include "core/histogram/histogram.h"

#include "core/engine/row_bands.h"

#include "core/engine/gray.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

namespace ormica {

namespace {

// Counting spreads consecutive pixels over kLanes copies of each histogram:
// on smooth pictures neighbours share levels, and one array would make every
// increment wait for the store of the one before.
constexpr int kLanes = 4;
constexpr int kChannels = 4;

struct LaneCounts {
    std::uint32_t c[kLanes][kChannels][256];
};

struct CountFailure {};

// Light levels are worked out a stretch of a row at a time, in vectors,
// rather than looked up pixel by pixel in a table too large for the cache.
void countRow(const std::uint8_t* p, qsizetype pixels, LaneCounts& counts)
{
    constexpr int kStretch = 512;
    std::uint8_t light[kStretch];
    auto& c = counts.c;
    while (pixels > 0) {
        const int n = int(std::min<qsizetype>(pixels, kStretch));
        LightLevelsRow(p, light, n);
        int x = 0;
        for (; x + kLanes <= n; x += kLanes, p += 3 * kLanes) {
            for (int k = 0; k < kLanes; ++k) {
                ++c[k][0][p[3 * k + 2]];
                ++c[k][1][p[3 * k + 1]];
                ++c[k][2][p[3 * k]];
                ++c[k][3][light[x + k]];
            }
        }
        for (; x < n; ++x, p += 3) {
            ++c[0][0][p[2]];
            ++c[0][1][p[1]];
            ++c[0][2][p[0]];
            ++c[0][3][light[x]];
        }
        pixels -= n;
    }
}

// Sums the lanes into the record. Each Max is the largest count, as keeping
// it up to date after every increment would leave it.
void storeCounts(const LaneCounts& counts, std::uint32_t total, TGistogramData& d)
{
    TGistogram* gists[kChannels] = {&d.GistR, &d.GistG, &d.GistB, &d.GistL};
    std::int32_t* maxima[kChannels] = {&d.MaxR, &d.MaxG, &d.MaxB, &d.MaxL};
    for (int ch = 0; ch < kChannels; ++ch) {
        std::int32_t max = 0;
        for (int i = 0; i < 256; ++i) {
            std::uint32_t sum = 0;
            for (int k = 0; k < kLanes; ++k)
                sum += counts.c[k][ch][i];
            // total never exceeds INT32_MAX, so neither does any count
            (*gists[ch])[std::size_t(i)] = std::int32_t(sum);
            max = std::max(max, std::int32_t(sum));
        }
        *maxima[ch] = max;
    }
    d.Count = total;
}

// A picture of whole pixels in every row within the 32-bit counts: its rows
// can be counted in any order.
bool countable(const TImgTabBGR& image)
{
    qsizetype total = 0;
    for (int r = 0; r < image.rowCount(); ++r) {
        const qsizetype length = image.rowLength(r);
        if (length == 0 || length % 3 != 0)
            return false;
        total += length / 3;
        if (total > qsizetype(INT32_MAX))
            return false;
    }
    return true;
}

// Large pictures in row bands, each with counts of its own, summed at the
// end: the counts do not depend on the order of the rows.
void countInBands(const TImgTabBGR& image, TProgress* progress, TGistogramData& d)
{
    const auto counts = std::make_unique<LaneCounts[]>(2);  // zeroed
    const int rows = image.rowCount();
    std::uint32_t total = 0;
    for (int r = 0; r < rows; ++r)
        total += std::uint32_t(image.rowLength(r) / 3);
    const int bands = ForRowBands(rows, total >= kBandedPixels, [&](int band, int from, int to) {
        for (int r = from; r < to; ++r) {
            countRow(image.row(r), image.rowLength(r) / 3, counts[std::size_t(band)]);
            if (band == 0 && progress)
                progress->setPosition(r);
        }
    });
    for (int k = 0; k < kLanes; ++k)
        for (int ch = 0; ch < kChannels; ++ch)
            for (int i = 0; i < 256; ++i)
                counts[0].c[k][ch][i] += counts[1].c[k][ch][i];
    storeCounts(counts[0], total, d);
    if (progress && bands > 1)
        progress->setPosition(rows - 1);
}

void countImage(const TImgTabBGR& image, TProgress* progress, TGistogramData& d)
{
    if (countable(image)) {
        countInBands(image, progress, d);
        return;
    }
    // Counted up to the row that cannot be: what was counted is kept.
    LaneCounts counts;
    std::memset(&counts, 0, sizeof counts);
    std::uint32_t total = 0;
    for (int r = 0; r < image.rowCount(); ++r) {
        const qsizetype length = image.rowLength(r);
        const qsizetype pixels = length / 3;
        // Gist holds signed 32-bit counts: a picture beyond that is refused.
        if (length == 0 || length % 3 != 0 || pixels > qsizetype(INT32_MAX) - qsizetype(total)) {
            storeCounts(counts, total, d);
            throw CountFailure{};
        }
        countRow(image.row(r), pixels, counts);
        total += std::uint32_t(pixels);
        if (progress)
            progress->setPosition(r);
    }
    storeCounts(counts, total, d);
}

void normalize(const TGistogram& gist, std::int32_t max, TGistogram& norm)
{
    if (max <= 0)
        return;
    for (std::size_t i = 0; i < 256; ++i) {
        // The product needs 64 bits: 9,100,000 * 236 is past INT32_MAX.
        const long double q = static_cast<long double>(std::int64_t(gist[i]) * kNormHeight) / max;
        norm[i] = std::int32_t(std::nearbyint(q));
    }
}

long double mean(const TGistogram& gist, std::uint32_t count)
{
    long double sum = 0;
    for (std::int64_t i = 1; i < 256; ++i)
        sum += static_cast<long double>(i * gist[std::size_t(i)]);
    return sum / count;
}

long double variance(const TGistogram& gist, long double mean, std::uint32_t count)
{
    long double sum = 0;
    for (int i = 0; i < 256; ++i) {
        const long double d = i - mean;
        sum += gist[std::size_t(i)] * d * d;
    }
    return sum / count;
}

}  // namespace

void NormalizeGistogram(TGistogramData& d)
{
    d.NormR = {};
    d.NormG = {};
    d.NormB = {};
    d.NormL = {};
    if (d.Count == 0)
        return;
    normalize(d.GistR, d.MaxR, d.NormR);
    normalize(d.GistG, d.MaxG, d.NormG);
    normalize(d.GistB, d.MaxB, d.NormB);
    normalize(d.GistL, d.MaxL, d.NormL);
}

void GistogramStatistics(TGistogramData& d)
{
    d.MeanR = d.MeanG = d.MeanB = d.MeanL = 0;
    d.VarR = d.VarG = d.VarB = d.VarL = 0;
    d.Bessel = 0;
    d.StdR = d.StdG = d.StdB = d.StdL = 0;
    if (d.Count < 2)
        return;
    d.MeanR = mean(d.GistR, d.Count);
    d.MeanG = mean(d.GistG, d.Count);
    d.MeanB = mean(d.GistB, d.Count);
    d.MeanL = mean(d.GistL, d.Count);
    d.VarR = variance(d.GistR, d.MeanR, d.Count);
    d.VarG = variance(d.GistG, d.MeanG, d.Count);
    d.VarB = variance(d.GistB, d.MeanB, d.Count);
    d.VarL = variance(d.GistL, d.MeanL, d.Count);
    d.Bessel = static_cast<long double>(d.Count) / (static_cast<long double>(d.Count) - 1);
    d.StdR = std::sqrt(d.Bessel * d.VarR);
    d.StdG = std::sqrt(d.Bessel * d.VarG);
    d.StdB = std::sqrt(d.Bessel * d.VarB);
    d.StdL = std::sqrt(d.Bessel * d.VarL);
}

void CalculateAllGistogram(const TImgTabBGR* image, TProgress* progress, TGistogramData* data)
{
    if (!data)
        return;
    *data = TGistogramData{};
    if (!image)
        return;
    data->Sqrt3 = std::sqrt(3.0L);
    data->ImgTab = image;
    try {
        if (!image->empty()) {
            if (progress) {
                progress->setPosition(0);
                progress->setMaximum(image->rowCount() - 1);
            }
            countImage(*image, progress, *data);
            NormalizeGistogram(*data);
            GistogramStatistics(*data);
        }
    } catch (...) {
        messages().warning(
            QCoreApplication::translate("Histogram", "CalculateAllGistogram : Не могу вычислить гистограмму."));
    }
    if (progress)
        progress->setPosition(0);
}

}  // namespace ormica
