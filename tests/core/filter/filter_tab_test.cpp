#include "core/filter/filter_tab.h"
#include "core/filter/popular_filters.h"

#include "recorders.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace ormica {
namespace {

using detail::FilterTabColorWith;
using detail::TConvolution;
using test::RecordingProgress;
using test::RecordingSink;

TImgTabColor makeTab(int h, int w, const std::function<TBGRTriple(int, int)>& pixel)
{
    TImgTabColor t;
    t.setShape(h, w);
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j)
            t.row(i)[j] = pixel(i, j);
    return t;
}

TImgTabColor flatTab(int h, int w, TBGRTriple colour)
{
    return makeTab(h, w, [&](int, int) { return colour; });
}

TImgTabColor randomTab(int h, int w, std::mt19937& rng)
{
    std::uniform_int_distribution<int> byte(0, 255);
    return makeTab(h, w, [&](int, int) {
        return TBGRTriple{std::uint8_t(byte(rng)), std::uint8_t(byte(rng)), std::uint8_t(byte(rng))};
    });
}

TBGRTriple px(int b, int g, int r)
{
    return {std::uint8_t(b), std::uint8_t(g), std::uint8_t(r)};
}

TImgTabColor filtered(const TFilterKernel& k, std::int32_t scale, const TImgTabColor& src,
                      TConvolution how = TConvolution::Fast)
{
    TImgTabColor out;
    EXPECT_TRUE(FilterTabColorWith(how, k, scale, src, out, nullptr));
    return out;
}

bool isBorder(int i, int j, int h, int w)
{
    return i < 3 || j < 3 || i > h - 4 || j > w - 4;
}

// The first differing pixel, for a readable failure.
::testing::AssertionResult sameTab(const TImgTabColor& a, const TImgTabColor& b)
{
    if (a.rowCount() != b.rowCount())
        return ::testing::AssertionFailure() << "rows " << a.rowCount() << " vs " << b.rowCount();
    for (int i = 0; i < a.rowCount(); ++i) {
        if (a.rowLength(i) != b.rowLength(i))
            return ::testing::AssertionFailure() << "row " << i << " length";
        for (int j = 0; j < a.rowLength(i); ++j)
            if (const TBGRTriple p = a.row(i)[j], q = b.row(i)[j]; !(p == q))
                return ::testing::AssertionFailure()
                       << "pixel (" << i << ", " << j << "): " << int(p.b) << " " << int(p.g) << " " << int(p.r)
                       << " vs " << int(q.b) << " " << int(q.g) << " " << int(q.r);
    }
    return ::testing::AssertionSuccess();
}

TEST(RangeFitting, WorkedExamplesKeepTheHue)
{
    double r = 100, g = 150, b = 300;
    FitOverflow(r, g, b);
    EXPECT_DOUBLE_EQ(b, 255);
    EXPECT_DOUBLE_EQ(g, 127.5);
    EXPECT_DOUBLE_EQ(r, 85);
    EXPECT_EQ(detail::FitToBytes(300, 150, 100), px(255, 127, 85));

    r = 200, g = 100, b = -50;
    FitUnderflow(r, g, b);
    EXPECT_NEAR(b, 0, 1e-12);
    EXPECT_NEAR(g, 255 - 155 * 255.0 / 305, 1e-12);
    EXPECT_NEAR(r, 255 - 55 * 255.0 / 305, 1e-12);
    EXPECT_EQ(detail::FitToBytes(-50, 100, 200), px(0, 125, 209));

    // 255 stays 255 under underflow fitting; a value above 255 stays above it
    // and the overflow fitting then brings the largest to 255.
    r = 255, g = -255, b = 0;
    FitUnderflow(r, g, b);
    EXPECT_DOUBLE_EQ(r, 255);
    EXPECT_DOUBLE_EQ(b, 127.5);
    EXPECT_EQ(detail::FitToBytes(-255, 510, 0), px(0, 255, 85));
    // Ties and in-range triples.
    EXPECT_EQ(detail::FitToBytes(-10, -10, 245), px(0, 0, 245));
    EXPECT_EQ(detail::FitToBytes(12.99, 0, 255), px(12, 0, 255));
}

TEST(FilterTabColor, UnitKernelReproducesEveryPixel)
{
    std::mt19937 rng(5);
    TFilterKernel unit;
    const std::int32_t scale = MakeUnitKernel(unit, 100);
    for (auto [h, w] : {std::pair{4, 4}, {5, 9}, {6, 6}, {7, 7}, {13, 31}, {40, 101}}) {
        const TImgTabColor src = randomTab(h, w, rng);
        const TImgTabColor copy = src;
        for (TConvolution how : {TConvolution::Fast, TConvolution::Portable, TConvolution::Direct})
            EXPECT_TRUE(sameTab(filtered(unit, scale, src, how), src)) << h << " x " << w;
        EXPECT_TRUE(src.sameAs(copy));  // the source is not changed
    }
}

TEST(FilterTabColor, SharpeningKeepsAFlatGreyAndGainScalesEverything)
{
    // The source may be its own target.
    std::mt19937 rng(9);
    TImgTabColor inPlace = randomTab(15, 17, rng);
    const TImgTabColor expected = filtered(PopFilterH2, 16, inPlace);
    ASSERT_TRUE(FilterTabColor(PopFilterH2, 16, inPlace, inPlace, nullptr));
    EXPECT_TRUE(sameTab(inPlace, expected));

    const TImgTabColor grey = flatTab(20, 30, px(128, 128, 128));
    EXPECT_TRUE(sameTab(filtered(PopFilterH3, 1, grey), grey));
    EXPECT_TRUE(sameTab(filtered(PopFilterH1, 280, grey), grey));
    // A flat area receives the overall gain S / scale inside as on the border:
    // 108 / 216 halves 200 to 100 everywhere.
    const TImgTabColor half = filtered(PopFilterL1, 216, flatTab(12, 12, px(200, 50, 7)));
    EXPECT_TRUE(sameTab(half, flatTab(12, 12, px(100, 25, 3))));
    // Gain 2 overflows the border and the interior alike, hue kept.
    const TImgTabColor twice = filtered(PopFilterL3, 3, flatTab(9, 9, px(150, 75, 50)));
    EXPECT_TRUE(sameTab(twice, flatTab(9, 9, px(255, 127, 85))));
    // The factor 255 / M is a double: for M = 400 the largest channel lands a
    // rounding error below 255 and truncates to 254, border and interior alike.
    const TImgTabColor fourHundred = filtered(PopFilterL3, 3, flatTab(9, 9, px(200, 100, 50)));
    EXPECT_TRUE(sameTab(fourHundred, flatTab(9, 9, px(254, 127, 63))));
}

TEST(FilterTabColor, ZeroSumKernelLeavesTheBorderBlackAndShowsEdges)
{
    TFilterKernel edge;
    for (int r = 2; r <= 4; ++r)
        for (int c = 2; c <= 4; ++c)
            edge.at(r, c) = -1;
    edge.centre() = 8;
    // A flat left half and a flat right half.
    const int h = 12, w = 14;
    const TImgTabColor src = makeTab(h, w, [](int, int j) { return j < 7 ? px(10, 20, 30) : px(110, 70, 40); });
    for (TConvolution how : {TConvolution::Fast, TConvolution::Portable, TConvolution::Direct}) {
        const TImgTabColor out = filtered(edge, 1, src, how);
        for (int i = 0; i < h; ++i)
            for (int j = 0; j < w; ++j) {
                const TBGRTriple p = out.row(i)[j];
                if (isBorder(i, j, h, w) || (j != 6 && j != 7)) {
                    EXPECT_EQ(p, px(0, 0, 0)) << i << "," << j;
                }
            }
        // Column 6: 3 * (dark - bright) per channel, all negative: underflow
        // makes the smallest 0 and pulls the rest toward 255.
        // b: -300, g: -150, r: -30 -> k = 255 / 555.
        EXPECT_EQ(out.row(5)[6], px(0, int(255 - (255 + 150) * (255.0 / 555)), int(255 - (255 + 30) * (255.0 / 555))));
        // Column 7: 300, 150, 30 -> overflow 255 / 300.
        EXPECT_EQ(out.row(5)[7], px(255, 127, 25));
    }
}

TEST(FilterTabColor, WorkedFittingExamplesInTheInterior)
{
    // A 7 x 7 picture: only the centre is convolved.
    TImgTabColor src = flatTab(7, 7, px(0, 0, 0));
    src.row(3)[3] = px(150, 75, 50);
    TFilterKernel doubling;
    doubling.centre() = 2;
    TImgTabColor out = filtered(doubling, 1, src);
    EXPECT_EQ(out.row(3)[3], px(255, 127, 85));

    TFilterKernel difference;  // the pixel minus its right neighbour; sum 0
    difference.centre() = 1;
    difference.at(3, 4) = -1;
    src.row(3)[3] = px(0, 150, 200);
    src.row(3)[4] = px(50, 50, 0);
    for (TConvolution how : {TConvolution::Fast, TConvolution::Portable, TConvolution::Direct}) {
        out = filtered(difference, 1, src, how);
        for (int i = 0; i < 7; ++i)
            for (int j = 0; j < 7; ++j)
                EXPECT_EQ(out.row(i)[j], (i == 3 && j == 3) ? px(0, 125, 209) : px(0, 0, 0)) << i << "," << j;
    }
}

// One interior pixel written out from the definition, so that no way of the
// routine under test is its own reference: products summed in double,
// divided by the scale, fitted keeping the hue, truncated.
TBGRTriple definedPixel(const TFilterKernel& k, std::int32_t scale, const TImgTabColor& src, int i, int j)
{
    double v[3] = {0, 0, 0};  // blue, green, red
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            if (const std::int32_t w = k.at(r, c)) {
                const TBGRTriple p = src.row(i + r - 3)[j + c - 3];
                v[0] += w * p.b;
                v[1] += w * p.g;
                v[2] += w * p.r;
            }
    for (double& x : v)
        x /= scale;
    if (const double m = std::min({v[0], v[1], v[2]}); m < 0)
        for (double& x : v)
            x = 255 - (255 - x) * (255 / (255 - m));
    if (const double m = std::max({v[0], v[1], v[2]}); m > 255)
        for (double& x : v)
            x = x * (255 / m);
    return px(int(v[0]), int(v[1]), int(v[2]));
}

// Kernels that differ top to bottom (and from their own transposes): weight
// (r, c) takes the pixel r - 3 rows below, never above or sideways.
TEST(FilterTabColor, RowsOfTheKernelReachTheRowsBelowAndAbove)
{
    std::mt19937 rng(31);
    TFilterKernel above;  // the rows above only, and the centre
    above.at(0, 3) = 3;
    above.at(1, 2) = -2;
    above.at(2, 4) = 1;
    above.centre() = 2;
    TFilterKernel slope;  // large weights: one far above, one far below
    slope.at(0, 1) = 100000;
    slope.at(6, 5) = -99990;
    slope.centre() = 7;
    const TImgTabColor src = randomTab(15, 11, rng);
    for (const TFilterKernel& k : {above, slope, PopFilterL2})
        for (const std::int32_t scale : {1, *KernelSum(k)})
            for (TConvolution how : {TConvolution::Fast, TConvolution::Portable, TConvolution::Direct}) {
                const TImgTabColor out = filtered(k, scale, src, how);
                for (int i = 3; i < 15 - 3; ++i)
                    for (int j = 3; j < 11 - 3; ++j)
                        ASSERT_EQ(out.row(i)[j], definedPixel(k, scale, src, i, j))
                            << "pixel (" << i << ", " << j << "), scale " << scale << ", way " << int(how);
            }
}

TEST(FilterTabColor, PicturesUnderSevenPixelsAreGainedNotConvolved)
{
    std::mt19937 rng(11);
    // Gain 280 / 140 = 2 everywhere, the sharpening never looked at.
    for (auto [h, w] : {std::pair{6, 6}, {4, 4}, {4, 50}, {50, 5}, {6, 20}}) {
        const TImgTabColor src = randomTab(h, w, rng);
        const TImgTabColor out = filtered(PopFilterH1, 140, src);
        for (int i = 0; i < h; ++i)
            for (int j = 0; j < w; ++j) {
                const TBGRTriple p = src.row(i)[j];
                EXPECT_EQ(out.row(i)[j], detail::FitToBytes(p.b * 2.0, p.g * 2.0, p.r * 2.0)) << i << "," << j;
            }
    }
    // 7 x 7: only (3, 3) is convolved. Gain 1 keeps the rest; a dot in the
    // corner changes nothing at the centre, while a dot next to it does.
    TImgTabColor src = flatTab(7, 7, px(100, 100, 100));
    src.row(0)[0] = px(0, 0, 0);
    src.row(3)[4] = px(90, 90, 90);
    const TImgTabColor out = filtered(PopFilterH3, 1, src);
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j)
            if (i != 3 || j != 3) {
                EXPECT_EQ(out.row(i)[j], src.row(i)[j]) << i << "," << j;
            }
    EXPECT_EQ(out.row(3)[3], px(110, 110, 110));
}

TEST(FilterTabColor, ProgressRunsOncePerInteriorRow)
{
    for (int h : {4, 6, 7, 12}) {
        RecordingProgress progress;
        TImgTabColor out;
        ASSERT_TRUE(FilterTabColor(PopFilterL3, 6, flatTab(h, h == 12 ? 5 : 9, px(1, 2, 3)), out, &progress));
        EXPECT_EQ(progress.minimum(), 0);
        EXPECT_EQ(progress.maximum(), h);
        std::vector<int> expected{0};
        for (int i = 3; i <= h - 4; ++i)
            expected.push_back(i - 2);
        EXPECT_EQ(progress.positions, expected) << h;
    }
}

TEST(FilterTabColor, RefusalsLeaveTheTargetAsItWas)
{
    const TImgTabColor before = flatTab(2, 2, px(9, 9, 9));
    auto refused = [&](const TImgTabColor& src, const TFilterKernel& k, std::int32_t scale) {
        TImgTabColor target = before;
        RecordingProgress progress;
        const bool ran = FilterTabColor(k, scale, src, target, &progress);
        EXPECT_TRUE(target.sameAs(before));
        EXPECT_TRUE(progress.positions.empty());
        return !ran;
    };
    std::mt19937 rng(3);
    {
        RecordingSink sink;
        EXPECT_TRUE(refused(TImgTabColor{}, PopFilterH1, 280));
        EXPECT_TRUE(sink.silent());
    }
    for (auto [h, w] : {std::pair{3, 3}, {1, 1}, {3, 100}, {100, 3}, {1, 7}}) {
        RecordingSink sink;
        EXPECT_TRUE(refused(randomTab(h, w, rng), PopFilterH1, 280)) << h << " x " << w;
        ASSERT_EQ(sink.warnings.size(), 1);
        EXPECT_EQ(sink.warnings[0],
                  QStringLiteral("FilterTabColor : Массив меньше 4 x 4 пикселей, фильтр не применяется."));
    }
    {
        RecordingSink sink;
        TImgTabColor ragged;
        const qsizetype lengths[] = {8, 8, 8, 8, 3};
        ragged.setShape(lengths);
        for (int r = 0; r < 5; ++r)
            std::fill_n(ragged.row(r), ragged.rowLength(r), px(1, 1, 1));
        EXPECT_TRUE(refused(ragged, PopFilterH3, 1));
        ASSERT_EQ(sink.warnings.size(), 1);
        EXPECT_TRUE(sink.warnings[0].startsWith(QStringLiteral("FilterTabColor : ")));
    }
    {
        RecordingSink sink;
        EXPECT_TRUE(refused(randomTab(8, 8, rng), PopFilterH3, 0));
        ASSERT_EQ(sink.warnings.size(), 1);
        EXPECT_EQ(sink.warnings[0], QStringLiteral("FilterTabColor : ") + ScaleBelowOneRunText());
    }
    {
        RecordingSink sink;
        TFilterKernel huge;
        huge.centre() = 9000000;
        EXPECT_TRUE(refused(randomTab(8, 8, rng), huge, 1));
        TFilterKernel wrapping;
        wrapping.at(0, 0) = 2000000000;
        wrapping.at(0, 1) = 2000000000;
        EXPECT_TRUE(refused(randomTab(8, 8, rng), wrapping, 1));
        ASSERT_EQ(sink.errors.size(), 2);
        EXPECT_EQ(sink.errors[0], QStringLiteral("FilterTabColor : ") + KernelTooLargeText());
        EXPECT_TRUE(sink.warnings.isEmpty());
    }
}

TEST(FilterTabColor, BorderRuleAloneTouchesOnlyTheFourOuterRowsAndColumns)
{
    std::mt19937 rng(8);
    const TImgTabColor src = randomTab(10, 11, rng);
    TImgTabColor target = flatTab(10, 11, px(1, 2, 3));
    FilterBorder(PopFilterL2, 86, src, target);  // gain 1/2
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 11; ++j) {
            const TBGRTriple p = src.row(i)[j];
            const bool outer = i <= 3 || i >= 6 || j <= 3 || j >= 7;
            EXPECT_EQ(target.row(i)[j], outer ? px(p.b / 2, p.g / 2, p.r / 2) : px(1, 2, 3)) << i << "," << j;
        }
    // A non-positive sum leaves the target alone; so does a mismatched shape.
    const TImgTabColor untouched = flatTab(10, 11, px(1, 2, 3));
    target = untouched;
    TFilterKernel negative;
    negative.centre() = -1;
    FilterBorder(negative, 1, src, target);
    EXPECT_TRUE(target.sameAs(untouched));
    TImgTabColor smaller = flatTab(4, 4, px(1, 2, 3));
    FilterBorder(PopFilterL2, 43, src, smaller);
    EXPECT_TRUE(smaller.sameAs(flatTab(4, 4, px(1, 2, 3))));

    TImgTabColor one = flatTab(4, 4, px(0, 0, 0));
    GainPixel(2, 1, flatTab(4, 4, px(100, 60, 20)), one, 3.0);
    EXPECT_EQ(one.row(2)[1], px(255, 153, 51));
    EXPECT_EQ(one.row(1)[2], px(0, 0, 0));
    GainPixel(0, 0, flatTab(4, 4, px(100, 60, 20)), one, -1.0);
    EXPECT_EQ(one.row(0)[0], px(0, 28, 57));
}

// A kernel for the comparison: the kinds of weights that take different
// roads through the vectorised code.
TFilterKernel randomKernel(std::mt19937& rng, int kind)
{
    TFilterKernel k;
    std::uniform_int_distribution<int> small(-20, 40);
    std::uniform_int_distribution<int> large(-150000, 150000);
    std::uniform_int_distribution<int> which(0, 48);
    std::bernoulli_distribution sparse(0.4);
    switch (kind) {
    case 0:  // dense, small weights
        for (auto& w : k.Weights)
            w = small(rng);
        break;
    case 1:  // sparse, small weights
        for (auto& w : k.Weights)
            w = sparse(rng) ? small(rng) : 0;
        break;
    case 2:  // large weights: sums beyond what a float holds exactly
        for (auto& w : k.Weights)
            w = sparse(rng) ? large(rng) : 0;
        break;
    case 3:  // a 3 x 3 kernel with a negative sum
        for (int r = 2; r <= 4; ++r)
            for (int c = 2; c <= 4; ++c)
                k.at(r, c) = -small(rng) - 25;
        k.centre() = 100;
        break;
    default:  // a single weight anywhere
        k.Weights[std::size_t(which(rng))] = large(rng);
        break;
    }
    return k;
}

TEST(FilterTabColor, FastAndPortableWaysGiveTheBytesOfTheDefinition)
{
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> width(4, 300), height(4, 24);
    // Now and then a picture wider than a thousand bytes of interior and
    // taller than a hundred rows, for the pieces the fast way cuts rows into.
    std::uniform_int_distribution<int> wide(380, 900), tall(120, 300);
    const std::int32_t fixedScales[] = {1, 2, 3, 7, 255, 65535, 65536, 65537, 1000003, 2147483647};
    for (int round = 0; round < 160; ++round) {
        const bool big = round % 16 == 15;
        const int w = round < 20 ? 4 + round : big ? wide(rng) : width(rng);  // every small width, then any
        const int h = big ? tall(rng) : height(rng);
        const TImgTabColor src = randomTab(h, w, rng);
        const TFilterKernel k = randomKernel(rng, round % 5);
        const std::int64_t sum = *KernelSum(k);
        std::int32_t scale;
        switch (round % 4) {
        case 0:
            scale = 1;
            break;
        case 1:
            scale = std::int32_t(std::clamp<std::int64_t>(sum, 1, INT32_MAX));
            break;
        case 2:
            scale = std::int32_t(std::clamp<std::int64_t>(std::abs(sum) / 3 + 1, 1, INT32_MAX));
            break;
        default:
            scale = fixedScales[(round / 4) % std::size(fixedScales)];
            break;
        }
        const TImgTabColor direct = filtered(k, scale, src, TConvolution::Direct);
        for (TConvolution how : {TConvolution::Fast, TConvolution::Portable})
            EXPECT_TRUE(sameTab(filtered(k, scale, src, how), direct))
                << "round " << round << ", " << h << " x " << w << ", scale " << scale << ", way " << int(how);
    }
}

// Every quotient the vectorised division can meet, near each multiple of the
// scale: sums 255 * v1 + v2 for a weight of 255 and one of 1.
TEST(FilterTabColor, QuotientsNextToMultiplesOfTheScaleTruncateAsTheDefinition)
{
    TFilterKernel k;
    k.centre() = 255;
    k.at(3, 4) = 1;
    const int w = 256 + 7;
    const TImgTabColor src = makeTab(9, w, [](int i, int j) {
        const int v = (j * 37 + i * 11) % 256;
        return px(v, 255 - v, (v * 7) % 256);
    });
    for (std::int32_t scale : {1, 3, 17, 255, 256, 257, 1021, 65535, 65536, 65537, 70000, 16777216}) {
        const TImgTabColor direct = filtered(k, scale, src, TConvolution::Direct);
        for (TConvolution how : {TConvolution::Fast, TConvolution::Portable})
            EXPECT_TRUE(sameTab(filtered(k, scale, src, how), direct)) << scale << ", way " << int(how);
    }
}

// Kernels of small weights (255 times their sum of |weights| within 16 bits)
// with every scale up to 128, and the ready-made kernels with their own sums.
TEST(FilterTabColor, SmallKernelsWithEverySmallScaleGiveTheBytesOfTheDefinition)
{
    std::mt19937 rng(77);
    std::uniform_int_distribution<int> weight(-6, 9), cell(0, 48), width(7, 420);
    for (std::int32_t scale = 1; scale <= 128; ++scale) {
        TFilterKernel k;
        int budget = 128;  // the sum of |weights|
        while (budget > 9) {
            const int w = weight(rng);
            k.Weights[std::size_t(cell(rng))] += w;
            budget -= std::abs(w);
        }
        const TImgTabColor src = randomTab(scale % 3 ? 8 : 40, width(rng), rng);
        EXPECT_TRUE(sameTab(filtered(k, scale, src), filtered(k, scale, src, TConvolution::Direct))) << scale;
    }
    const TImgTabColor src = randomTab(11, 431, rng);
    for (const TFilterKernel& k : {PopFilterH2, PopFilterH3, PopFilterL2, PopFilterL3})
        EXPECT_TRUE(sameTab(filtered(k, *KernelSum(k), src), filtered(k, *KernelSum(k), src, TConvolution::Direct)));
}

// A photograph-sized run of the three benchmark kernels, compared with the definition.
TEST(FilterTabColor, LargePictureMatchesTheDefinitionForTheBenchmarkKernels)
{
    const QImage picture = test::patternImage(1203, 401, 7);
    TImgTabColor src;
    src.setShape(picture.height(), picture.width());
    for (int i = 0; i < picture.height(); ++i)
        for (int j = 0; j < picture.width(); ++j) {
            const QRgb c = picture.pixel(j, i);
            src.row(i)[j] = px(qBlue(c), qGreen(c), qRed(c));
        }
    TFilterKernel dense;
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            dense.at(r, c) = (r == 3 && c == 3) ? 120 : ((r + 2 * c) % 5) - 2;
    for (const auto& [k, scale] : {std::pair{PopFilterH1, 280}, {dense, *KernelSum(dense)}, {PopFilterH3, 1}}) {
        RecordingProgress fast, direct;
        TImgTabColor a, b;
        ASSERT_TRUE(FilterTabColor(k, scale, src, a, &fast));
        ASSERT_TRUE(FilterTabColorWith(TConvolution::Direct, k, scale, src, b, &direct));
        EXPECT_TRUE(sameTab(a, b));
        EXPECT_EQ(fast.positions, direct.positions);
    }
}

}  // namespace
}  // namespace ormica
