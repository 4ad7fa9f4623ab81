#include "core/filter/frequency_response.h"
#include "core/filter/popular_filters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

namespace ormica {
namespace {

constexpr double kPi = std::numbers::pi;

// The definition, term by term: row i, column j of an n grid.
double directMagnitude(const TFilterKernel& k, std::int32_t scale, int n, int i, int j)
{
    const double v = double(i - n / 2) / n;
    const double u = double(j - n / 2) / n;
    std::complex<double> sum = 0;
    for (int r = -3; r <= 3; ++r)
        for (int c = -3; c <= 3; ++c)
            sum += double(k.at(r + 3, c + 3)) * std::polar(1.0, -2 * kPi * (u * c + v * r));
    return std::abs(sum) / scale;
}

TEST(FrequencyResponse, ASingleWeightIsFlat)
{
    struct {
        int row, column;
        std::int32_t weight, scale;
        int n;
    } const cases[] = {{3, 3, 100, 100, 64}, {3, 3, 7, 2, 5}, {0, 6, -4, 3, 12}, {5, 1, 9, 1, 2}};
    for (const auto& t : cases) {
        TFilterKernel k;
        k.at(t.row, t.column) = t.weight;
        const TFrequencyResponse f = FrequencyResponse(k, t.scale, t.n);
        ASSERT_EQ(f.Size, t.n);
        ASSERT_EQ(f.Magnitude.size(), std::size_t(t.n * t.n));
        for (double m : f.Magnitude)
            EXPECT_NEAR(m, std::abs(double(t.weight)) / t.scale, 1e-12) << t.row << ' ' << t.column << ' ' << t.n;
    }
}

TEST(FrequencyResponse, BoxHasItsZerosAtAThirdOfACycle)
{
    TFilterKernel box;
    for (int r = 2; r <= 4; ++r)
        for (int c = 2; c <= 4; ++c)
            box.at(r, c) = 1;
    for (const int n : {6, 12}) {
        const TFrequencyResponse f = FrequencyResponse(box, 9, n);
        ASSERT_EQ(f.Size, n);
        EXPECT_NEAR(f.Gain(), 1.0, 1e-12);
        // The box is separable: (1 + 2 cos 2 pi u)(1 + 2 cos 2 pi v) / 9.
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                const double v = double(i - n / 2) / n, u = double(j - n / 2) / n;
                const double expected = std::abs((1 + 2 * std::cos(2 * kPi * u)) * (1 + 2 * std::cos(2 * kPi * v))) / 9;
                EXPECT_NEAR(f.at(i, j), expected, 1e-12) << n << ' ' << i << ' ' << j;
                if (3 * std::abs(i - n / 2) == n || 3 * std::abs(j - n / 2) == n) {
                    EXPECT_NEAR(f.at(i, j), 0.0, 1e-12) << n << ' ' << i << ' ' << j;
                }
            }
    }
}

TEST(FrequencyResponse, ReadyKernelsSmoothOrSharpen)
{
    const struct {
        const TFilterKernel* kernel;
        bool lowPass;
    } cases[] = {{&PopFilterL1, true},  {&PopFilterL2, true},  {&PopFilterL3, true},
                 {&PopFilterH1, false}, {&PopFilterH2, false}, {&PopFilterH3, false}};
    for (const auto& t : cases) {
        const int n = 64;
        const TFrequencyResponse f = FrequencyResponse(*t.kernel, *KernelSum(*t.kernel), n);
        EXPECT_NEAR(f.Gain(), 1.0, 1e-12);
        // The highest frequencies: the corner, and the middles of two edges.
        for (const auto& [i, j] : {std::pair{0, 0}, std::pair{0, n / 2}, std::pair{n / 2, 0}}) {
            const double ratio = f.at(i, j) / f.Gain();
            EXPECT_TRUE(t.lowPass ? ratio < 0.5 : ratio > 1.5)
                << *KernelSum(*t.kernel) << ' ' << i << ' ' << j << ' ' << ratio;
        }
    }
}

TEST(FrequencyResponse, MatchesTheDefinitionOnARandomKernel)
{
    std::mt19937 rng(23);
    std::uniform_int_distribution<std::int32_t> weight(-500, 500);
    TFilterKernel k;
    for (std::int32_t& w : k.Weights)
        w = weight(rng);
    const std::int32_t scale = 37;
    for (const int n : {2, 7, 64, 1024}) {
        const TFrequencyResponse f = FrequencyResponse(k, scale, n);
        ASSERT_EQ(f.Size, n);
        const std::pair<int, int> points[] = {{0, 0}, {n / 2, n / 2}, {n - 1, 0}, {1, n - 2}, {n / 3, n - 1}};
        for (const auto& [i, j] : points)
            EXPECT_NEAR(f.at(i, j), directMagnitude(k, scale, n, i, j), 1e-9) << n << ' ' << i << ' ' << j;
    }
    // Outside the grid sizes and scales it takes, nothing.
    EXPECT_EQ(FrequencyResponse(k, scale, 1).Size, 0);
    EXPECT_EQ(FrequencyResponse(k, scale, 1025).Size, 0);
    EXPECT_EQ(FrequencyResponse(k, 0, 8).Size, 0);
}

}  // namespace
}  // namespace ormica
