#include "core/histogram/fragment_stats.h"
#include "recorders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace ormica;

namespace {

using Rows = std::vector<std::vector<TBGRTriple>>;

TImgTabColor fragmentOf(const Rows& rows)
{
    TImgTabColor arr;
    arr.setShape(int(rows.size()), rows.empty() ? 0 : qsizetype(rows[0].size()));
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            arr.row(int(y))[x] = rows[y][x];
    return arr;
}

TBGRTriple red(std::uint8_t r)
{
    return TBGRTriple{0, 0, r};
}

// Three rows, three pixels wide; row 1 holds the reds 10, 11, 12 (with other
// channels that must not leak into the red sample).
TImgTabColor redRowFragment()
{
    return fragmentOf({{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
                       {{50, 60, 10}, {70, 80, 11}, {90, 100, 12}},
                       {{0, 0, 0}, {255, 255, 255}, {9, 9, 9}}});
}

std::vector<long double> xs(const TGraphArr& points)
{
    std::vector<long double> out;
    for (const TGraphPoint& p : points)
        out.push_back(p.X);
    return out;
}

void expectNear(const TArrExtnd& got, const std::vector<long double>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(double(got[i]), double(want[i]), 1e-15) << "entry " << i;
}

}  // namespace

TEST(FragmentSample, RedRowTenElevenTwelve)
{
    test::RecordingSink sink;
    const TImgTabColor frag = redRowFragment();
    TAcExtract ac;
    ac.SelRow = 1;
    ac.SelCol = 2;  // never used for a row
    ASSERT_TRUE(ExtractSample(frag, true, 'R', ac));
    EXPECT_EQ(ac.NumPnt, 3);
    ASSERT_EQ(ac.Extract.size(), 3u);
    EXPECT_EQ(ac.Extract[2], (TBGRTriple{90, 100, 12}));
    EXPECT_FALSE(ac.StatReady);

    SampleStatistics(ac, 'R');
    EXPECT_TRUE(ac.StatReady);
    EXPECT_EQ(ac.Mean, 11.0L);
    EXPECT_NEAR(double(ac.Variance), 2.0 / 3.0, 1e-18);
    EXPECT_EQ(ac.Centred, (TArrExtnd{-1, 0, 1}));
    ASSERT_EQ(ac.GraphCentred.size(), 3u);
    EXPECT_EQ(xs(ac.GraphCentred), (std::vector<long double>{0, 1, 2}));
    EXPECT_EQ(ac.GraphCentred[0].Y, -1.0L);

    ASSERT_TRUE(CorrelateSample(ac, 'A'));
    expectNear(ac.AcResult, {0, 0, -1.5, 0, 3, 0, -1.5, 0, 0});
    EXPECT_EQ(xs(ac.GraphAc), (std::vector<long double>{-4, -3, -2, -1, 0, 1, 2, 3, 4}));
    EXPECT_EQ(ac.GraphAc[4].Y, ac.AcResult[4]);

    ASSERT_TRUE(BuildConvFunc(ac, kFuncOne));
    EXPECT_EQ(ac.ConvFunc, (TArrExtnd{1, 1, 1}));
    ASSERT_TRUE(CorrelateSample(ac, 'C'));
    // Not divided by the variance, and not reversed.
    EXPECT_EQ(ac.AcResult, (TArrExtnd{0, 0, -1, -1, 0, 1, 1, 0, 0}));
    EXPECT_TRUE(sink.silent());
}

TEST(FragmentSample, ColumnAndEachChannel)
{
    test::RecordingSink sink;
    const TImgTabColor frag = redRowFragment();
    TAcExtract ac;
    ac.SelRow = 99;  // never used for a column
    ac.SelCol = 1;
    ASSERT_TRUE(ExtractSample(frag, true, 'C', ac));
    ASSERT_EQ(ac.NumPnt, 3);
    EXPECT_EQ(ac.Extract[0], (TBGRTriple{4, 5, 6}));
    EXPECT_EQ(ac.Extract[1], (TBGRTriple{70, 80, 11}));
    EXPECT_EQ(ac.Extract[2], (TBGRTriple{255, 255, 255}));

    SampleStatistics(ac, 'B');
    EXPECT_EQ(ac.Mean, (4.0L + 70 + 255) / 3);
    SampleStatistics(ac, 'G');
    EXPECT_EQ(ac.Mean, (5.0L + 80 + 255) / 3);
    SampleStatistics(ac, 'R');
    EXPECT_EQ(ac.Mean, (6.0L + 11 + 255) / 3);

    // Light is the unrounded root mean square of the three bytes.
    SampleStatistics(ac, 'L');
    const long double l0 = std::sqrt((4.0L * 4 + 5 * 5 + 6 * 6) / 3);
    const long double l1 = std::sqrt((70.0L * 70 + 80 * 80 + 11 * 11) / 3);
    const long double mean = (l0 + l1 + 255) / 3;
    EXPECT_NEAR(double(ac.Mean), double(mean), 1e-12);
    EXPECT_NE(ac.Mean, std::nearbyint(ac.Mean));
    const long double var = ((l0 - mean) * (l0 - mean) + (l1 - mean) * (l1 - mean) + (255 - mean) * (255 - mean)) / 3;
    EXPECT_NEAR(double(ac.Variance), double(var), 1e-9);
    EXPECT_NEAR(double(ac.Centred[0]), double(l0 - mean), 1e-12);
    EXPECT_NEAR(double(ChannelValue({12, 11, 10}, 'L')), std::sqrt(365.0 / 3), 1e-13);
    EXPECT_TRUE(sink.silent());
}

TEST(FragmentSample, RefusalsAndTheirMessages)
{
    test::RecordingSink sink;
    const TImgTabColor frag = redRowFragment();
    TAcExtract ac;
    ac.StatReady = true;

    // No frozen point: the statistics are not touched.
    EXPECT_FALSE(ExtractSample(frag, false, 'R', ac));
    EXPECT_EQ(sink.warnings,
              QStringList{QStringLiteral("Вначале выберите координаты\r\n(кликните в поле изображения)")});
    EXPECT_TRUE(ac.StatReady);
    sink.warnings.clear();

    // A row beyond the last becomes -1, so the refusal repeats.
    ac.SelRow = 3;
    ac.SelCol = 0;
    EXPECT_FALSE(ExtractSample(frag, true, 'R', ac));
    EXPECT_FALSE(ac.StatReady);
    EXPECT_EQ(ac.SelRow, -1);
    EXPECT_EQ(ac.SelCol, 0);
    EXPECT_FALSE(ExtractSample(frag, true, 'R', ac));
    const QString rowOut = QStringLiteral("Координаты СТРОКИ ВНЕ\r\nразмеров изображения");
    EXPECT_EQ(sink.warnings, (QStringList{rowOut, rowOut}));
    sink.warnings.clear();

    // The same row is fine for a column sample; a column beyond is not.
    ac.SelCol = 3;
    EXPECT_FALSE(ExtractSample(frag, true, 'C', ac));
    EXPECT_EQ(ac.SelCol, -1);
    ac.SelCol = -5;
    ac.SelRow = -5;
    EXPECT_FALSE(ExtractSample(frag, true, 'C', ac));
    EXPECT_EQ(ac.SelRow, -5);
    const QString colOut = QStringLiteral("Координаты СТОЛБЦА ВНЕ\r\nразмеров изображения");
    EXPECT_EQ(sink.warnings, (QStringList{colOut, colOut}));
    sink.warnings.clear();

    // Fewer than two rows, or than two pixels in the first row.
    ac.SelRow = ac.SelCol = 0;
    const QString small = QStringLiteral("Габариты изображения\r\nменьше двух точек");
    for (const TImgTabColor& f :
         {fragmentOf({{red(1), red(2), red(3)}}), fragmentOf({{red(1)}, {red(2)}}), TImgTabColor{}}) {
        ac.StatReady = true;
        EXPECT_FALSE(ExtractSample(f, true, 'R', ac));
        EXPECT_FALSE(ac.StatReady);
    }
    EXPECT_EQ(sink.warnings, (QStringList{small, small, small}));
}

TEST(FragmentSample, TwoPixelsWideGivesStatisticsButNoCorrelation)
{
    test::RecordingSink sink;
    const TImgTabColor frag = fragmentOf({{red(10), red(20)}, {red(30), red(50)}, {red(0), red(0)}});
    TAcExtract ac;
    ac.SelRow = 1;
    ASSERT_TRUE(ExtractSample(frag, true, 'R', ac));
    SampleStatistics(ac, 'R');
    EXPECT_TRUE(ac.StatReady);
    EXPECT_EQ(ac.Mean, 40.0L);
    EXPECT_EQ(ac.Variance, 100.0L);
    ac.AcResult = {7};
    EXPECT_FALSE(CorrelateSample(ac, 'A'));
    EXPECT_FALSE(CorrelateSample(ac, 'C'));
    const QString need = QStringLiteral("Необходим расчет мат. ожидания и дисперсии");
    EXPECT_EQ(sink.warnings, (QStringList{need, need}));
    EXPECT_EQ(ac.AcResult, TArrExtnd{7});

    // Along the column the same fragment gives three points, enough to correlate.
    sink.warnings.clear();
    ac.SelCol = 1;
    ASSERT_TRUE(ExtractSample(frag, true, 'C', ac));
    SampleStatistics(ac, 'R');
    EXPECT_TRUE(CorrelateSample(ac, 'A'));
    EXPECT_EQ(ac.AcResult.size(), 9u);
    EXPECT_TRUE(sink.silent());

    // A new extraction clears the statistics until they are computed again.
    ASSERT_TRUE(ExtractSample(frag, true, 'C', ac));
    EXPECT_FALSE(CorrelateSample(ac, 'A'));
    EXPECT_EQ(sink.warnings, QStringList{need});
}

TEST(FragmentSample, EqualValuesGiveZeroVarianceAndAnUndividedZeroCorrelation)
{
    test::RecordingSink sink;
    const TImgTabColor frag =
        fragmentOf({{{7, 7, 7}, {7, 7, 7}, {7, 7, 7}, {7, 7, 7}}, {{7, 7, 7}, {7, 7, 7}, {7, 7, 7}, {7, 7, 7}}});
    TAcExtract ac;
    ac.SelRow = 0;
    ASSERT_TRUE(ExtractSample(frag, true, 'R', ac));
    SampleStatistics(ac, 'L');
    EXPECT_TRUE(ac.StatReady);
    EXPECT_NEAR(double(ac.Mean), 7.0, 1e-15);
    EXPECT_NEAR(double(ac.Variance), 0.0, 1e-28);
    for (long double c : ac.Centred)
        EXPECT_NEAR(double(c), 0.0, 1e-15);
    SampleStatistics(ac, 'R');
    EXPECT_EQ(ac.Variance, 0.0L);
    EXPECT_EQ(ac.Centred, (TArrExtnd{0, 0, 0, 0}));
    ASSERT_TRUE(CorrelateSample(ac, 'A'));
    EXPECT_EQ(ac.AcResult, TArrExtnd(11, 0));
    EXPECT_TRUE(sink.silent());
}

TEST(FragmentSample, ConvolutionFunctions)
{
    TAcExtract ac;
    ASSERT_TRUE(AllocAcArrays(ac, 11));
    ASSERT_TRUE(BuildConvFunc(ac, kFuncRect));
    EXPECT_EQ(ac.ConvFunc, (TArrExtnd{0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(ac.GraphFunc[5].X, 5.0L);
    EXPECT_EQ(ac.GraphFunc[5].Y, 1.0L);
    ASSERT_TRUE(BuildConvFunc(ac, kFuncX));
    EXPECT_EQ(ac.ConvFunc[0], 0.0L);
    EXPECT_EQ(ac.ConvFunc[5], 0.5L);
    EXPECT_EQ(ac.ConvFunc[10], 1.0L);
    ASSERT_TRUE(BuildConvFunc(ac, kFuncOneMinusX));
    EXPECT_EQ(ac.ConvFunc[0], 1.0L);
    EXPECT_NEAR(double(ac.ConvFunc[2]), 0.8, 1e-15);
    EXPECT_EQ(ac.ConvFunc[10], 0.0L);
    ASSERT_TRUE(BuildConvFunc(ac, 17));  // an unknown index gives 1
    EXPECT_EQ(ac.ConvFunc, TArrExtnd(11, 1));

    ASSERT_TRUE(AllocAcArrays(ac, 3));
    ASSERT_TRUE(BuildConvFunc(ac, kFuncRect));
    EXPECT_EQ(ac.ConvFunc, (TArrExtnd{1, 0, 0}));

    // Nothing is built for a short or mismatched function.
    ac.Centred.resize(4);
    ac.ConvFunc = {5, 5, 5};
    EXPECT_FALSE(BuildConvFunc(ac, kFuncOne));
    EXPECT_EQ(ac.ConvFunc, (TArrExtnd{5, 5, 5}));
    ASSERT_TRUE(AllocAcArrays(ac, 1));
    EXPECT_FALSE(BuildConvFunc(ac, kFuncOne));
}

TEST(FragmentSample, CorrelateSlidesWithoutReversing)
{
    test::RecordingSink sink;
    TArrExtnd result;
    Correlate('C', {1, 2, 3}, {0, 0.5L, 1}, result, 10);
    EXPECT_EQ(result, (TArrExtnd{0, 0, 1, 2.5L, 4, 1.5L, 0, 0, 0}));
    EXPECT_EQ(LaggedProductSum('C', {1, 2, 3}, {0, 0.5L, 1}, -1, 10), 2.5L);

    // Autocorrelation ignores the second operand and divides.
    Correlate('A', {1, 2, 3}, {9, 9, 9}, result, 2);
    EXPECT_EQ(result, (TArrExtnd{0, 0, 1.5L, 4, 7, 4, 1.5L, 0, 0}));
    Correlate('A', {1, 2, 3}, {9, 9, 9}, result, 0);
    EXPECT_EQ(result[4], 14.0L);
    Correlate('A', {1, 2, 3}, {9, 9, 9}, result, -1);
    EXPECT_EQ(result[4], 14.0L);

    // Another mode gives zeros of the full length.
    Correlate('X', {1, 2, 3, 4}, {1, 2, 3, 4}, result, 1);
    EXPECT_EQ(result, TArrExtnd(11, 0));
    EXPECT_TRUE(sink.silent());

    // The running sum is a double: a share below its precision is lost.
    const long double tiny = std::ldexp(1.0L, -60);
    Correlate('C', {1, 1}, {1, tiny}, result, 1);
    EXPECT_EQ(result[3], 1.0L);
    EXPECT_EQ(result[2], tiny);  // alone it survives
    EXPECT_EQ(result[4], 1.0L);
}

TEST(FragmentSample, CorrelateRefusalsLeaveTheResult)
{
    test::RecordingSink sink;
    TArrExtnd result{42};
    Correlate('A', {1}, {1, 2}, result, 1);
    Correlate('C', {1, 2}, {}, result, 1);
    Correlate('C', {1, 2, 3}, {1, 2}, result, 1);
    EXPECT_EQ(result, TArrExtnd{42});
    EXPECT_EQ(sink.informations, (QStringList{QStringLiteral("Функции должны содержать не менее двух точек"),
                                              QStringLiteral("Функции должны содержать не менее двух точек"),
                                              QStringLiteral("Число точек в функциях должно быть одинаковым")}));
}

TEST(FragmentSample, AutocorrelationOfAnySampleIsSymmetricWithNAtLagZero)
{
    Rows rows(2);
    for (int x = 0; x < 37; ++x) {
        rows[0].push_back({std::uint8_t(x * 7 % 256), std::uint8_t(x * x % 256), std::uint8_t((x * 53 + 11) % 256)});
        rows[1].push_back({0, 0, 0});
    }
    const TImgTabColor frag = fragmentOf(rows);
    TAcExtract ac;
    ac.SelRow = 0;
    ASSERT_TRUE(ExtractSample(frag, true, 'R', ac));
    for (char channel : {'R', 'G', 'B', 'L'}) {
        SampleStatistics(ac, channel);
        long double sum = 0;
        for (long double c : ac.Centred)
            sum += c;
        EXPECT_NEAR(double(sum), 0.0, 1e-9);
        ASSERT_TRUE(CorrelateSample(ac, 'A'));
        ASSERT_EQ(ac.AcResult.size(), 77u);
        EXPECT_NEAR(double(ac.AcResult[38]), 37.0, 1e-9) << channel;
        for (std::size_t k = 1; k < 37; ++k)
            EXPECT_NEAR(double(ac.AcResult[38 + k]), double(ac.AcResult[38 - k]), 1e-9);
        for (std::size_t i : {0u, 1u, 75u, 76u})
            EXPECT_EQ(ac.AcResult[i], 0.0L);
    }
}

TEST(FragmentSample, AllocationSizesAndFreeing)
{
    TAcExtract ac;
    ASSERT_TRUE(AllocAcArrays(ac, 5));
    EXPECT_EQ(ac.NumPnt, 5);
    for (std::size_t size : {ac.Extract.size(), ac.Centred.size(), ac.ConvFunc.size(), ac.GraphCentred.size(),
                             ac.GraphAc.size(), ac.GraphFunc.size()})
        EXPECT_EQ(size, 5u);
    EXPECT_TRUE(ac.AcResult.empty());
    ac.AcResult.resize(13);
    FreeAcArrays(ac);
    EXPECT_TRUE(ac.Extract.empty() && ac.Centred.empty() && ac.ConvFunc.empty() && ac.AcResult.empty() &&
                ac.GraphCentred.empty() && ac.GraphAc.empty() && ac.GraphFunc.empty());

    // One point has no statistics.
    ASSERT_TRUE(AllocAcArrays(ac, 1));
    ac.Extract[0] = red(200);
    ac.Mean = ac.Variance = 5;
    SampleStatistics(ac, 'R');
    EXPECT_EQ(ac.Mean, 0.0L);
    EXPECT_EQ(ac.Variance, 0.0L);
    EXPECT_FALSE(ac.StatReady);
    EXPECT_EQ(ac.Centred, TArrExtnd{200});
}

TEST(FragmentWhole, MeanAndVarianceOverEveryPixel)
{
    const TImgTabColor frag = fragmentOf({{{1, 2, 3}, {4, 5, 6}}, {{7, 8, 9}, {10, 11, 12}}, {{0, 0, 0}, {3, 4, 0}}});
    EXPECT_EQ(FragmentMean(frag, 'R'), (3.0L + 6 + 9 + 12 + 0 + 0) / 6);
    EXPECT_EQ(FragmentMean(frag, 'B'), (1.0L + 4 + 7 + 10 + 0 + 3) / 6);
    const long double mg = FragmentMean(frag, 'G');
    EXPECT_EQ(mg, 5.0L);
    EXPECT_EQ(FragmentVariance(frag, 'G', mg), (9.0L + 0 + 9 + 36 + 25 + 1) / 6);
    // Variance around any given centre, not only the mean.
    EXPECT_EQ(FragmentVariance(frag, 'G', 0), (4.0L + 25 + 64 + 121 + 0 + 16) / 6);

    long double sum = 0;
    std::vector<long double> lights;
    for (int y = 0; y < frag.rowCount(); ++y)
        for (const TBGRTriple& p : frag[y]) {
            const long double v = std::sqrt((long double)(p.r * p.r + p.g * p.g + p.b * p.b)) / std::sqrt(3.0L);
            lights.push_back(v);
            sum += v;
        }
    const long double ml = FragmentMean(frag, 'L');
    EXPECT_NEAR(double(ml), double(sum / 6), 1e-13);
    long double dev = 0;
    for (long double v : lights)
        dev += (v - ml) * (v - ml);
    EXPECT_NEAR(double(FragmentVariance(frag, 'L', ml)), double(dev / 6), 1e-11);
    EXPECT_NEAR(double(lights[5]), 5 / std::sqrt(3.0), 1e-14);

    EXPECT_EQ(FragmentMean(TImgTabColor{}, 'L'), 0.0L);
    EXPECT_EQ(FragmentVariance(TImgTabColor{}, 'L', 3), 0.0L);
}
