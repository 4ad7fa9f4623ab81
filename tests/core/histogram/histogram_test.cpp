#include "core/engine/gray.h"
#include "core/histogram/histogram.h"
#include "recorders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

using namespace ormica;

namespace {

struct Bgr {
    std::uint8_t b, g, r;
};

// An array of `rows` rows of the same pixels.
TImgTabBGR arrayOfPixels(int rows, const std::vector<Bgr>& pixels)
{
    TImgTabBGR arr;
    arr.setShape(rows, qsizetype(3 * pixels.size()));
    for (int y = 0; y < rows; ++y)
        for (std::size_t x = 0; x < pixels.size(); ++x) {
            arr.row(y)[3 * x] = pixels[x].b;
            arr.row(y)[3 * x + 1] = pixels[x].g;
            arr.row(y)[3 * x + 2] = pixels[x].r;
        }
    return arr;
}

TImgTabBGR uniform(int rows, int width, Bgr colour)
{
    return arrayOfPixels(rows, std::vector<Bgr>(std::size_t(width), colour));
}

const TGistogram& gist(const TGistogramData& d, int ch)
{
    const TGistogram* g[] = {&d.GistR, &d.GistG, &d.GistB, &d.GistL};
    return *g[ch];
}
const TGistogram& norm(const TGistogramData& d, int ch)
{
    const TGistogram* n[] = {&d.NormR, &d.NormG, &d.NormB, &d.NormL};
    return *n[ch];
}
std::int32_t maxOf(const TGistogramData& d, int ch)
{
    const std::int32_t m[] = {d.MaxR, d.MaxG, d.MaxB, d.MaxL};
    return m[ch];
}
std::vector<long double> means(const TGistogramData& d)
{
    return {d.MeanR, d.MeanG, d.MeanB, d.MeanL};
}
std::vector<long double> variances(const TGistogramData& d)
{
    return {d.VarR, d.VarG, d.VarB, d.VarL};
}
std::vector<long double> deviations(const TGistogramData& d)
{
    return {d.StdR, d.StdG, d.StdB, d.StdL};
}

// The Light level straight from its definition, no table.
int directLightLevel(int s)
{
    const long double v = std::sqrt(static_cast<long double>(s)) / std::sqrt(3.0L);
    return v < 255.1L ? int(std::nearbyint(v)) : 255;
}

// Counts, maxima, bar heights and their relations, whatever the picture.
void expectInvariants(const TGistogramData& d)
{
    for (int ch = 0; ch < 4; ++ch) {
        SCOPED_TRACE(ch);
        const TGistogram& g = gist(d, ch);
        EXPECT_EQ(std::accumulate(g.begin(), g.end(), std::int64_t(0)), std::int64_t(d.Count));
        EXPECT_EQ(maxOf(d, ch), *std::max_element(g.begin(), g.end()));
        for (std::size_t i = 0; i < 256; ++i) {
            EXPECT_GE(norm(d, ch)[i], 0);
            EXPECT_LE(norm(d, ch)[i], 236);
            if (d.Count > 0 && g[i] == maxOf(d, ch)) {
                EXPECT_EQ(norm(d, ch)[i], 236) << "level " << i;
            }
        }
    }
}

bool sameRecord(const TGistogramData& a, const TGistogramData& b)
{
    return a.ImageTag == b.ImageTag && a.ImgTab == b.ImgTab && a.GistR == b.GistR && a.GistG == b.GistG &&
           a.GistB == b.GistB && a.GistL == b.GistL && a.MaxR == b.MaxR && a.MaxG == b.MaxG && a.MaxB == b.MaxB &&
           a.MaxL == b.MaxL && a.Sqrt3 == b.Sqrt3 && a.Count == b.Count && a.NumBlack == b.NumBlack &&
           a.NumWhite == b.NumWhite && a.NormR == b.NormR && a.NormG == b.NormG && a.NormB == b.NormB &&
           a.NormL == b.NormL && means(a) == means(b) && variances(a) == variances(b) && a.Bessel == b.Bessel &&
           deviations(a) == deviations(b);
}

}  // namespace

TEST(Histogram, SinglePixelCountsButHasNoStatistics)
{
    const TImgTabBGR one = uniform(1, 1, {0, 0, 0});
    TGistogramData d;
    test::RecordingSink sink;
    CalculateAllGistogram(&one, nullptr, &d);
    EXPECT_EQ(d.Count, 1u);
    EXPECT_EQ(d.ImgTab, &one);
    EXPECT_EQ(d.Sqrt3, std::sqrt(3.0L));
    for (int ch = 0; ch < 4; ++ch) {
        EXPECT_EQ(gist(d, ch)[0], 1);
        EXPECT_EQ(maxOf(d, ch), 1);
        EXPECT_EQ(norm(d, ch)[0], 236);
    }
    expectInvariants(d);
    for (const auto& values : {means(d), variances(d), deviations(d)})
        for (long double v : values)
            EXPECT_EQ(v, 0.0L);
    EXPECT_EQ(d.Bessel, 0.0L);
    EXPECT_TRUE(sink.silent());
}

TEST(Histogram, UniformGreyHasOneBarAndNoSpread)
{
    const TImgTabBGR grey = uniform(5, 7, {128, 128, 128});
    TGistogramData d;
    CalculateAllGistogram(&grey, nullptr, &d);
    EXPECT_EQ(d.Count, 35u);
    for (int ch = 0; ch < 4; ++ch) {
        SCOPED_TRACE(ch);
        EXPECT_EQ(gist(d, ch)[128], 35);
        for (std::size_t i = 0; i < 256; ++i)
            EXPECT_EQ(norm(d, ch)[i], i == 128 ? 236 : 0);
        EXPECT_EQ(means(d)[std::size_t(ch)], 128.0L);
        EXPECT_EQ(variances(d)[std::size_t(ch)], 0.0L);
        EXPECT_EQ(deviations(d)[std::size_t(ch)], 0.0L);
    }
    EXPECT_EQ(d.Bessel, 35.0L / 34.0L);
    expectInvariants(d);
}

TEST(Histogram, ChannelsComeFromTheirBytesAndLightIsTheRoundedRootMeanSquare)
{
    // Bytes are blue, green, red. Red alone: v = 147.22; white: exactly 255,
    // below the clamp; (1, 0, 0): 0.577 rounds up to 1.
    const TImgTabBGR arr = arrayOfPixels(1, {{0, 0, 255}, {255, 255, 255}, {0, 0, 1}, {10, 20, 30}});
    TGistogramData d;
    CalculateAllGistogram(&arr, nullptr, &d);
    for (const int level : {147, 255, 1, 22})  // sqrt(1400 / 3) = 21.6
        EXPECT_EQ(d.GistL[std::size_t(level)], 1) << level;
    EXPECT_EQ(d.GistR[255], 2);
    EXPECT_EQ(d.GistR[30], 1);
    EXPECT_EQ(d.GistG[20], 1);
    EXPECT_EQ(d.GistB[10], 1);
    EXPECT_EQ(d.GistB[0], 2);
    EXPECT_EQ(d.MaxB, 2);
    expectInvariants(d);
}

TEST(Histogram, VarianceIsOfThePopulationAndDeviationCarriesTheSampleCorrection)
{
    // Red 0 and 2: mean 1, variance 1, deviation sqrt(2); green stays 5.
    const TImgTabBGR arr = arrayOfPixels(1, {{7, 5, 0}, {9, 5, 2}});
    TGistogramData d;
    CalculateAllGistogram(&arr, nullptr, &d);
    EXPECT_EQ(d.MeanR, 1.0L);
    EXPECT_EQ(d.VarR, 1.0L);
    EXPECT_EQ(d.Bessel, 2.0L);
    EXPECT_NEAR(double(d.StdR), 1.41421356237309505, 1e-15);
    EXPECT_EQ(d.MeanG, 5.0L);
    EXPECT_EQ(d.VarG, 0.0L);
    EXPECT_EQ(d.MeanB, 8.0L);
    EXPECT_EQ(d.VarB, 1.0L);
    // Norm halves go to even: counts 1 and 3 of 8 give 29.5 -> 30 and 88.5 -> 88.
    std::vector<Bgr> reds(12, Bgr{0, 0, 3});
    reds[0].r = 1;
    reds[1].r = reds[2].r = reds[3].r = 2;
    const TImgTabBGR halves = arrayOfPixels(1, reds);
    CalculateAllGistogram(&halves, nullptr, &d);
    EXPECT_EQ(d.MaxR, 8);
    EXPECT_EQ(d.NormR[1], 30);
    EXPECT_EQ(d.NormR[2], 88);
    EXPECT_EQ(d.NormR[3], 236);
}

TEST(Histogram, AbsentInputsAndNoRowsGiveZerosQuietly)
{
    test::RecordingSink sink;
    test::RecordingProgress progress;
    CalculateAllGistogram(nullptr, &progress, nullptr);

    // A record left from another picture is cleared, tag and window fields too.
    const TImgTabBGR picture = uniform(3, 3, {1, 2, 3});
    TGistogramData d;
    CalculateAllGistogram(&picture, nullptr, &d);
    d.ImageTag = 'M';
    d.NumBlack = 4;
    d.NumWhite = 5;
    CalculateAllGistogram(nullptr, &progress, &d);
    EXPECT_TRUE(sameRecord(d, TGistogramData{}));
    EXPECT_TRUE(progress.positions.empty());

    const TImgTabBGR empty;
    progress.setPosition(17);
    progress.positions.clear();
    CalculateAllGistogram(&empty, &progress, &d);
    TGistogramData expected;
    expected.ImgTab = &empty;
    expected.Sqrt3 = std::sqrt(3.0L);
    EXPECT_TRUE(sameRecord(d, expected));
    EXPECT_EQ(progress.positions, std::vector<int>{0});
    EXPECT_TRUE(sink.silent());
}

TEST(Histogram, EachCallStartsAfreshAndMatchesAPixelByPixelCount)
{
    // Widths around the unrolled step, so every tail length is met.
    for (int width : {1, 2, 3, 4, 5, 7, 8, 9, 33}) {
        SCOPED_TRACE(width);
        const TImgTabBGR arr = test::arrayOf(test::patternImage(width, 11, unsigned(width)));
        TGistogram expected[4] = {};
        for (int y = 0; y < arr.rowCount(); ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = arr.row(y) + 3 * x;
                ++expected[0][p[2]];
                ++expected[1][p[1]];
                ++expected[2][p[0]];
                ++expected[3][std::size_t(directLightLevel(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]))];
            }
        TGistogramData once, twice;
        CalculateAllGistogram(&arr, nullptr, &once);
        CalculateAllGistogram(&arr, nullptr, &twice);
        CalculateAllGistogram(&arr, nullptr, &twice);
        EXPECT_TRUE(sameRecord(once, twice));
        for (int ch = 0; ch < 4; ++ch)
            EXPECT_EQ(gist(once, ch), expected[ch]) << "channel " << ch;
        EXPECT_EQ(once.Count, std::uint32_t(11 * width));
        expectInvariants(once);
        // A mean from the pixels themselves.
        long double red = 0;
        for (int y = 0; y < arr.rowCount(); ++y)
            for (int x = 0; x < width; ++x)
                red += arr.row(y)[3 * x + 2];
        EXPECT_NEAR(double(once.MeanR), double(red / (11 * width)), 1e-12);
    }
}

TEST(Histogram, ProgressRunsOverTheRowsAndEndsAtZero)
{
    const TImgTabBGR arr = uniform(4, 2, {9, 9, 9});
    test::RecordingProgress progress;
    TGistogramData d;
    CalculateAllGistogram(&arr, &progress, &d);
    EXPECT_EQ(progress.maximum(), 3);
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 0, 1, 2, 3, 0}));
}

TEST(Histogram, ABadRowEndsTheCountWithAWarningAndKeepsWhatWasCounted)
{
    for (qsizetype badLength : {0, 4}) {
        SCOPED_TRACE(badLength);
        const std::vector<qsizetype> lengths{6, 3, badLength, 6};
        TImgTabBGR arr;
        arr.setShape(lengths);
        for (int y = 0; y < arr.rowCount(); ++y)
            std::fill_n(arr.row(y), arr.rowLength(y), std::uint8_t(200));
        test::RecordingSink sink;
        test::RecordingProgress progress;
        TGistogramData d;
        CalculateAllGistogram(&arr, &progress, &d);
        EXPECT_EQ(sink.warnings,
                  QStringList{QString::fromUtf8("CalculateAllGistogram : Не могу вычислить гистограмму.")});
        EXPECT_EQ(progress.position(), 0);
        EXPECT_EQ(d.Count, 3u);
        EXPECT_EQ(d.GistR[200], 3);
        EXPECT_EQ(d.GistL[200], 3);
        EXPECT_EQ(d.MaxL, 3);
        EXPECT_EQ(d.NormL, TGistogram{});
        EXPECT_EQ(d.MeanR, 0.0L);
        EXPECT_EQ(d.Bessel, 0.0L);
    }
}

TEST(Histogram, LargeCountsDoNotOverflow)
{
    // 9,100,000 white pixels: 255 * count and 236 * count are both past INT32_MAX.
    const TImgTabBGR white = uniform(2600, 3500, {255, 255, 255});
    TGistogramData d;
    CalculateAllGistogram(&white, nullptr, &d);
    EXPECT_EQ(d.Count, 9100000u);
    EXPECT_EQ(d.GistL[255], 9100000);
    EXPECT_EQ(d.NormL[255], 236);
    EXPECT_EQ(d.MeanL, 255.0L);
    EXPECT_EQ(d.VarR, 0.0L);
    expectInvariants(d);

    // The closing steps alone, on counts no real test picture needs to hold.
    TGistogramData s;
    s.GistR[255] = 9100000;
    s.GistR[254] = 4550000;
    s.GistR[1] = 1;
    s.MaxR = 9100000;
    s.Count = 13650001;
    NormalizeGistogram(s);
    EXPECT_EQ(s.NormR[255], 236);
    EXPECT_EQ(s.NormR[254], 118);
    EXPECT_EQ(s.NormR[1], 0);
    EXPECT_EQ(s.NormG, TGistogram{});  // a channel with no maximum keeps zeros
    GistogramStatistics(s);
    const long double mean = (255.0L * 9100000 + 254.0L * 4550000 + 1) / 13650001;
    EXPECT_NEAR(double(s.MeanR), double(mean), 1e-12);
    const long double var =
        (9100000 * (255 - mean) * (255 - mean) + 4550000 * (254 - mean) * (254 - mean) + (1 - mean) * (1 - mean)) /
        13650001;
    EXPECT_NEAR(double(s.VarR), double(var), 1e-12);
    EXPECT_NEAR(double(s.StdR), std::sqrt(double(var) * 13650001.0 / 13650000.0), 1e-12);
    EXPECT_EQ(s.MeanG, 0.0L);
}

TEST(Histogram, LightLevelOfEverySumFollowsTheRule)
{
    // Nearest integer to sqrt(s / 3) by integers alone: L when
    // 3(2L-1)^2 <= 4s < 3(2L+1)^2 (4s is even, the bounds odd, so no ties).
    const std::uint8_t* table = LightLevelTable();
    for (int s = 0; s <= kMaxSumOfSquares; ++s) {
        const int level = table[s];
        ASSERT_EQ(level, directLightLevel(s)) << "sum " << s;
        ASSERT_EQ(LightLevelOfSum(s), level) << "sum " << s;
        if (level > 0) {
            ASSERT_LE(3 * (2 * level - 1) * (2 * level - 1), 4 * s) << "sum " << s;
        }
        if (level < 255) {
            ASSERT_LT(4 * s, 3 * (2 * level + 1) * (2 * level + 1)) << "sum " << s;
        }
    }
    EXPECT_EQ(table[kMaxSumOfSquares], 255);
}

TEST(Histogram, EveryColourOfTheCubeIsCountedAtItsLevel)
{
    // 4096 x 4096 pixels hold each of the 2^24 colours once.
    TImgTabBGR cube;
    cube.setShape(4096, 3 * 4096);
    std::vector<std::int64_t> light(256, 0);
    for (int y = 0; y < 4096; ++y) {
        std::uint8_t* p = cube.row(y);
        for (int x = 0; x < 4096; ++x, p += 3) {
            const int c = y * 4096 + x;
            p[0] = std::uint8_t(c), p[1] = std::uint8_t(c >> 8), p[2] = std::uint8_t(c >> 16);
            ++light[std::size_t(directLightLevel(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]))];
        }
    }
    TGistogramData d;
    CalculateAllGistogram(&cube, nullptr, &d);
    ASSERT_EQ(d.Count, 1u << 24);
    for (std::size_t i = 0; i < 256; ++i) {
        ASSERT_EQ(d.GistR[i], 65536);
        ASSERT_EQ(d.GistG[i], 65536);
        ASSERT_EQ(d.GistB[i], 65536);
        ASSERT_EQ(d.GistL[i], light[i]) << "level " << i;
    }
    EXPECT_EQ(d.MeanR, 127.5L);
    expectInvariants(d);
}
