#include "core/histogram/predicted_histogram.h"

#include "core/engine/row_bands.h"

#include "core/engine/gray.h"
#include "core/transfer/transfer_function.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace ormica {

namespace {

// Light counts of converted rows spread over four copies: neighbours often
// share a level, and one array would make each increment wait for the last.
struct TLaneCounts {
    std::uint32_t lane[4][256] = {};
};

void countConvertedRows(const TImgTabBGR& source, const TPixelConverter& converter, const std::uint8_t* lightOf,
                        int first, int last, int step, std::vector<std::uint8_t>& row, TLaneCounts& counts)
{
    const auto light = [&](const std::uint8_t* p) { return lightOf[p[0] * p[0] + p[1] * p[1] + p[2] * p[2]]; };
    for (int r = first; r < last; r += step) {
        const qsizetype n = source.rowLength(r) / 3;
        converter.convertRow(source.row(r), row.data(), n);
        const std::uint8_t* p = row.data();
        qsizetype x = 0;
        for (; x + 4 <= n; x += 4, p += 12)
            for (int k = 0; k < 4; ++k)
                ++counts.lane[k][light(p + 3 * k)];
        for (; x < n; ++x, p += 3)
            ++counts.lane[0][light(p)];
    }
}

}  // namespace

TGistogram PredictedLightHistogram(const TImgTabBGR& source, const TBrightPointArray& points, int step,
                                   std::int64_t& pixels)
{
    TGistogram counts{};
    pixels = 0;
    const TConvSegments segments = BuildConvSegments(points);
    if (segments.size() < 2)
        return counts;
    const int rows = source.rowCount();
    qsizetype widest = 0;
    for (int r = 0; r < rows; ++r) {
        if (source.rowLength(r) % 3 != 0) {
            pixels = 0;
            return counts;
        }
        widest = std::max(widest, source.rowLength(r));
        if (r % step == 0)
            pixels += source.rowLength(r) / 3;
    }
    const TPixelConverter converter(segments);
    const std::uint8_t* lightOf = LightLevelTable();
    const int bands =
        pixels >= kBandedPixels && WorkerThreads() > 1
            ? int(std::clamp<unsigned>(std::thread::hardware_concurrency(), 1, 8))
            : 1;
    // Band edges fall on sampled rows, so every band steps from its first.
    const int perBand = (rows / step + bands) / bands * step;
    std::vector<TLaneCounts> lanes(static_cast<std::size_t>(bands));
    std::vector<std::vector<std::uint8_t>> buffers(static_cast<std::size_t>(bands),
                                                   std::vector<std::uint8_t>(static_cast<std::size_t>(widest)));
    const auto band = [&](int b) {
        countConvertedRows(source, converter, lightOf, std::min(rows, b * perBand), std::min(rows, (b + 1) * perBand),
                           step, buffers[std::size_t(b)], lanes[std::size_t(b)]);
    };
    std::vector<std::thread> helpers;
    int b = 1;
    try {
        for (; b < bands; ++b)
            helpers.emplace_back(band, b);
    } catch (const std::system_error&) {
        // Without more threads the caller's takes the bands left.
        for (int rest = b; rest < bands; ++rest)
            band(rest);
    }
    band(0);
    for (std::thread& t : helpers)
        t.join();
    for (const TLaneCounts& l : lanes)
        for (std::size_t i = 0; i < 256; ++i)
            counts[i] += std::int32_t(l.lane[0][i] + l.lane[1][i] + l.lane[2][i] + l.lane[3][i]);
    return counts;
}

}  // namespace ormica
