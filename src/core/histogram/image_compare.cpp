#include "core/histogram/image_compare.h"

#include "core/engine/gray.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ormica {

namespace {

QImage inBgr(QImage image)
{
    if (image.format() != QImage::Format_BGR888)
        image.convertTo(QImage::Format_BGR888);
    return image;
}

TChannelDifference channelDifference(int max, std::uint64_t sum, std::uint64_t squares, std::uint64_t pixels)
{
    TChannelDifference d;
    d.Max = max;
    d.Mae = double(sum) / double(pixels);
    d.Mse = double(squares) / double(pixels);
    d.Psnr = d.Mse == 0 ? std::numeric_limits<double>::infinity() : 10 * std::log10(255.0 * 255.0 / d.Mse);
    return d;
}

}  // namespace

QString CompareRefusal(const QImage& a, const QImage& b)
{
    if (a.isNull() || b.isNull())
        return QCoreApplication::translate("ImageCompare", "Сравнивать нечего: одно из изображений пусто.");
    if (a.size() != b.size())
        return QCoreApplication::translate(
            "ImageCompare", "Изображения разного размера: сравнить можно только изображения одного размера.");
    return {};
}

std::optional<TImageComparison> CompareImages(const QImage& first, const QImage& second)
{
    if (!CompareRefusal(first, second).isEmpty())
        return std::nullopt;
    const QImage a = inBgr(first), b = inBgr(second);
    const std::uint8_t* lightOf = LightLevelTable();
    std::array<std::uint64_t, kCompareChannels> sum{}, squares{};
    std::array<int, kCompareChannels> max{};
    std::uint64_t differing = 0;
    const int width = a.width();
    for (int y = 0; y < a.height(); ++y) {
        const uchar* p = a.constScanLine(y);
        const uchar* q = b.constScanLine(y);
        for (int x = 0; x < width; ++x, p += 3, q += 3) {
            const int la = lightOf[p[0] * p[0] + p[1] * p[1] + p[2] * p[2]];
            const int lb = lightOf[q[0] * q[0] + q[1] * q[1] + q[2] * q[2]];
            const int d[kCompareChannels] = {std::abs(p[0] - q[0]), std::abs(p[1] - q[1]), std::abs(p[2] - q[2]),
                                             std::abs(la - lb)};
            differing += (d[0] | d[1] | d[2]) != 0;
            for (int c = 0; c < kCompareChannels; ++c) {
                sum[c] += std::uint64_t(d[c]);
                squares[c] += std::uint64_t(d[c] * d[c]);
                max[c] = std::max(max[c], d[c]);
            }
        }
    }
    TImageComparison result;
    result.Pixels = std::uint64_t(width) * std::uint64_t(a.height());
    result.Differing = differing;
    for (int c = 0; c < kCompareChannels; ++c)
        result.Channels[std::size_t(c)] = channelDifference(max[c], sum[c], squares[c], result.Pixels);
    return result;
}

QImage DifferenceImage(QImage a, const QImage& second, TCompareChannel channel, int gain)
{
    if (!CompareRefusal(a, second).isEmpty())
        return {};
    a = inBgr(std::move(a));
    const QImage b = inBgr(second);
    gain = std::clamp(gain, kMinDifferenceGain, kMaxDifferenceGain);
    std::uint8_t amplified[256];
    for (int d = 0; d < 256; ++d)
        amplified[d] = std::uint8_t(std::min(255, d * gain));
    const std::uint8_t* lightOf = LightLevelTable();
    const int width = a.width();
    for (int y = 0; y < a.height(); ++y) {
        uchar* p = a.scanLine(y);
        const uchar* q = b.constScanLine(y);
        if (channel == TCompareChannel::All) {
            for (int i = 0; i < 3 * width; ++i)
                p[i] = amplified[std::abs(p[i] - q[i])];
            continue;
        }
        for (int x = 0; x < width; ++x, p += 3, q += 3) {
            int d = 0;
            if (channel == TCompareChannel::Light)
                d = std::abs(lightOf[p[0] * p[0] + p[1] * p[1] + p[2] * p[2]] -
                             lightOf[q[0] * q[0] + q[1] * q[1] + q[2] * q[2]]);
            else
                d = std::abs(p[int(channel)] - q[int(channel)]);
            p[0] = p[1] = p[2] = amplified[d];
        }
    }
    return a;
}

}  // namespace ormica
