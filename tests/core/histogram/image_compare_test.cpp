#include "core/engine/gray.h"
#include "core/histogram/image_compare.h"
#include "recorders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace ormica;

namespace {

// B, G, R and Light of a pixel of a 24-bit picture.
std::array<int, 4> levels(const QImage& image, int x, int y)
{
    const uchar* p = image.constScanLine(y) + 3 * x;
    return {p[0], p[1], p[2], GrayLevel(p[0], p[1], p[2])};
}

// `a` with a random change in about one pixel of `share`, by at most `spread`
// in each channel (clipped to 0..255).
QImage perturbed(const QImage& a, double share, int spread, unsigned seed)
{
    std::mt19937 random(seed);
    std::bernoulli_distribution changed(share);
    std::uniform_int_distribution<int> delta(-spread, spread);
    QImage b = a.copy();
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (changed(random))
                for (int c = 0; c < 3; ++c) {
                    uchar& v = b.scanLine(y)[3 * x + c];
                    v = uchar(std::clamp(v + delta(random), 0, 255));
                }
    return b;
}

}  // namespace

TEST(ImageCompare, NumbersAreThoseOfTheFormulasOnRandomPairs)
{
    struct Case {
        int width, height;
        double share;
        int spread;
    } cases[] = {{1, 1, 1.0, 255}, {37, 23, 0.3, 4}, {64, 50, 0.02, 60}, {13, 71, 1.0, 255}};
    unsigned seed = 1;
    for (const Case& k : cases) {
        SCOPED_TRACE(seed);
        const QImage a = test::patternImage(k.width, k.height, seed);
        const QImage b = perturbed(a, k.share, k.spread, ++seed);
        double sum[4] = {}, squares[4] = {};
        int max[4] = {};
        std::uint64_t differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const auto la = levels(a, x, y), lb = levels(b, x, y);
                differing += la[0] != lb[0] || la[1] != lb[1] || la[2] != lb[2];
                for (int c = 0; c < 4; ++c) {
                    const int d = std::abs(la[c] - lb[c]);
                    max[c] = std::max(max[c], d);
                    sum[c] += d;
                    squares[c] += double(d) * d;
                }
            }
        const double n = double(a.width()) * a.height();
        const auto r = CompareImages(a, b);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Pixels, std::uint64_t(n));
        EXPECT_EQ(r->Differing, differing);
        EXPECT_GT(differing, 0u);
        for (int c = 0; c < 4; ++c) {
            const TChannelDifference& d = r->Channels[std::size_t(c)];
            const double mse = squares[c] / n;
            EXPECT_EQ(d.Max, max[c]) << c;
            EXPECT_DOUBLE_EQ(d.Mae, sum[c] / n) << c;
            EXPECT_DOUBLE_EQ(d.Mse, mse) << c;
            if (mse == 0)
                EXPECT_TRUE(std::isinf(d.Psnr) && d.Psnr > 0) << c;
            else
                EXPECT_DOUBLE_EQ(d.Psnr, 10 * std::log10(255.0 * 255.0 / mse)) << c;
        }
    }
}

TEST(ImageCompare, IdenticalPicturesDifferNowhere)
{
    const QImage a = test::patternImage(30, 20, 5);
    QImage black(a.size(), QImage::Format_BGR888);
    black.fill(Qt::black);
    // Another format of the same pixels is the same picture.
    for (const QImage& b : {a, a.copy(), a.convertToFormat(QImage::Format_RGB32)}) {
        const auto r = CompareImages(a, b);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->Differing, 0u);
        for (const TChannelDifference& d : r->Channels) {
            EXPECT_EQ(d.Max, 0);
            EXPECT_EQ(d.Mae, 0);
            EXPECT_EQ(d.Mse, 0);
            EXPECT_TRUE(std::isinf(d.Psnr) && d.Psnr > 0);
        }
        EXPECT_EQ(DifferenceImage(a, b, TCompareChannel::All, 64), black);
    }
}

TEST(ImageCompare, DifferencePictureIsTheAmplifiedDifferenceStoppingAt255)
{
    const QImage a = test::patternImage(40, 30, 7);
    const QImage b = perturbed(a, 0.5, 40, 8);
    const QImage kept = a.copy();
    struct Case {
        TCompareChannel channel;
        int gain;   // as asked
        int times;  // as applied
    } cases[] = {{TCompareChannel::All, 1, 1}, {TCompareChannel::All, 64, 64},  {TCompareChannel::B, 4, 4},
                 {TCompareChannel::G, 16, 16}, {TCompareChannel::R, 2, 2},      {TCompareChannel::Light, 8, 8},
                 {TCompareChannel::All, 0, 1}, {TCompareChannel::Light, 99, 64}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << int(k.channel) << " x" << k.gain);
        const QImage diff = DifferenceImage(a, b, k.channel, k.gain);
        ASSERT_EQ(diff.size(), a.size());
        ASSERT_EQ(diff.format(), QImage::Format_BGR888);
        bool saturated = false;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const auto la = levels(a, x, y), lb = levels(b, x, y);
                int expected[3];
                for (int c = 0; c < 3; ++c) {
                    const int from = k.channel == TCompareChannel::All ? c : int(k.channel);
                    const int d = std::abs(la[from] - lb[from]) * k.times;
                    saturated |= d > 255;
                    expected[c] = std::min(255, d);
                }
                const uchar* p = diff.constScanLine(y) + 3 * x;
                ASSERT_TRUE(p[0] == expected[0] && p[1] == expected[1] && p[2] == expected[2]) << x << ", " << y;
            }
        EXPECT_EQ(saturated, k.times >= 8);  // differences reach 40
    }
    // The caller's picture is left as it was.
    EXPECT_EQ(a, kept);
}

TEST(ImageCompare, PicturesOfDifferentSizesOrEmptyOnesAreRefused)
{
    const QImage a = test::patternImage(10, 8, 1);
    const QString sizes =
        QStringLiteral("Изображения разного размера: сравнить можно только изображения одного размера.");
    const QString empty = QStringLiteral("Сравнивать нечего: одно из изображений пусто.");
    const struct {
        QImage b;
        QString refusal;
    } cases[] = {{test::patternImage(8, 10, 1), sizes},
                 {test::patternImage(10, 9, 1), sizes},
                 {QImage(), empty},
                 {a, QString()}};
    for (const auto& k : cases) {
        EXPECT_EQ(CompareRefusal(a, k.b), k.refusal);
        EXPECT_EQ(CompareRefusal(k.b, a), k.refusal);
        EXPECT_EQ(CompareImages(a, k.b).has_value(), k.refusal.isEmpty());
        EXPECT_EQ(DifferenceImage(a, k.b, TCompareChannel::All, 1).isNull(), !k.refusal.isEmpty());
    }
}
