#include "core/filter/filter_kernel.h"
#include "core/filter/popular_filters.h"

#include "recorders.h"

#include <gtest/gtest.h>
#include <limits>

namespace ormica {
namespace {

using test::RecordingSink;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(FilterKernel, SumIsExactUpToTheEdgesOfThirtyTwoBitsAndNeverWraps)
{
    TFilterKernel k;
    EXPECT_EQ(KernelSum(k), 0);
    k.at(0, 0) = kMax;
    EXPECT_EQ(KernelSum(k), kMax);
    k.at(6, 6) = 1;
    EXPECT_EQ(KernelSum(k), std::nullopt);  // one past the top
    k.at(6, 6) = -1;
    k.at(0, 1) = 1;
    EXPECT_EQ(KernelSum(k), kMax);
    // Intermediate sums may leave the range; only the total counts.
    TFilterKernel swing;
    swing.at(0, 0) = kMax;
    swing.at(0, 1) = kMax;
    swing.at(0, 2) = kMin;
    swing.at(0, 3) = kMin;
    EXPECT_EQ(KernelSum(swing), -2);
    TFilterKernel low;
    low.at(3, 3) = kMin;
    EXPECT_EQ(KernelSum(low), kMin);
    low.at(2, 2) = -1;
    EXPECT_EQ(KernelSum(low), std::nullopt);
}

TEST(FilterKernel, UnitKernelAndTheInitialWorkingFilter)
{
    TFilterKernel k;
    k.Weights.fill(7);
    EXPECT_EQ(MakeUnitKernel(k, 100), 100);
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(k.at(r, c), r == 3 && c == 3 ? 100 : 0) << r << "," << c;
    EXPECT_EQ(k.Weights[24], 100);  // row-major: the centre is the 25th weight
    EXPECT_EQ(MakeUnitKernel(k, 0), 1);
    EXPECT_EQ(k.centre(), 1);
    EXPECT_EQ(MakeUnitKernel(k, -5), 1);
    EXPECT_EQ(k.centre(), 1);
    EXPECT_EQ(KernelSum(k), 1);
    ClearKernel(k);
    EXPECT_EQ(k, TFilterKernel{});

    const TFilterData initial;
    TFilterKernel unit;
    EXPECT_EQ(initial.Scale, MakeUnitKernel(unit, 100));
    EXPECT_EQ(initial.Kernel, unit);
    EXPECT_EQ(initial.Type, 0);
    EXPECT_EQ(TRegulatorOrigin{}, (TRegulatorOrigin{0, 0}));
    EXPECT_EQ(FilterTypeNames(), (QStringList{QStringLiteral("Неопределенный"), QStringLiteral("Сглаживающий"),
                                              QStringLiteral("Обостряющий"), QStringLiteral("Специальный")}));
}

// Every weight of the six ready-made kernels, row 0 first, as the filter
// window's menu has always offered them; the sums check the tables.
struct Ready {
    const char* name;
    const TFilterKernel& kernel;
    std::int32_t sum;
    std::int32_t rows[7][7];
};
const Ready kReady[] = {
    {"H1",
     PopFilterH1,
     280,
     {{0, 0, 0, -5, 0, 0, 0},
      {0, 0, -5, -10, -5, 0, 0},
      {0, -5, -10, -20, -10, -5, 0},
      {-5, -10, -20, 500, -20, -10, -5},
      {0, -5, -10, -20, -10, -5, 0},
      {0, 0, -5, -10, -5, 0, 0},
      {0, 0, 0, -5, 0, 0, 0}}},
    {"H2",
     PopFilterH2,
     16,
     {{0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, -1, 0, 0, 0},
      {0, 0, -1, -2, -1, 0, 0},
      {0, -1, -2, 32, -2, -1, 0},
      {0, 0, -1, -2, -1, 0, 0},
      {0, 0, 0, -1, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0}}},
    {"H3",
     PopFilterH3,
     1,
     {{0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, -1, 0, 0, 0},
      {0, 0, -1, 5, -1, 0, 0},
      {0, 0, 0, -1, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0}}},
    {"L1",
     PopFilterL1,
     108,
     {{0, 0, -1, 2, -1, 0, 0},
      {0, -1, 2, 4, 2, -1, 0},
      {-1, 2, 4, 8, 4, 2, -1},
      {2, 4, 8, 32, 8, 4, 2},
      {-1, 2, 4, 8, 4, 2, -1},
      {0, -1, 2, 4, 2, -1, 0},
      {0, 0, -1, 2, -1, 0, 0}}},
    {"L2",  // row 4 is not the mirror of row 2
     PopFilterL2,
     43,
     {{0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 1, 0, 0, 0},
      {0, 0, 2, 4, 2, 0, 0},
      {0, 1, 4, 16, 4, 1, 0},
      {0, 0, 1, 4, 2, 0, 0},
      {0, 0, 0, 1, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0}}},
    {"L3",
     PopFilterL3,
     6,
     {{0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 1, 0, 0, 0},
      {0, 0, 1, 2, 1, 0, 0},
      {0, 0, 0, 1, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0, 0, 0}}},
};

TEST(FilterKernel, ReadyMadeKernelsHoldTheirWeights)
{
    for (const Ready& e : kReady) {
        std::int32_t tableSum = 0;
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 7; ++c) {
                EXPECT_EQ(e.kernel.at(r, c), e.rows[r][c]) << e.name << " (" << r << ", " << c << ")";
                tableSum += e.rows[r][c];
            }
        EXPECT_EQ(tableSum, e.sum) << e.name;
        EXPECT_EQ(PopularFilter(QLatin1String(e.name)), e.kernel);
    }
    EXPECT_EQ(PopularFilter(QStringLiteral("h1")), std::nullopt);
    EXPECT_EQ(PopularFilter(QStringLiteral("H4")), std::nullopt);
}

TEST(FilterKernel, KernelsWhoseArithmeticWouldOverflowAreRefusedWithAnError)
{
    // 255 * 8421504 = 2147483520 fits; one more weight unit does not.
    TFilterKernel k;
    k.at(3, 3) = 8421504;
    EXPECT_TRUE(KernelFits(k));
    k.at(3, 3) = 8421505;
    EXPECT_FALSE(KernelFits(k));
    // The absolute weights count, not the sum: this kernel sums to 0.
    TFilterKernel balanced;
    balanced.at(3, 3) = 4210752;
    balanced.at(0, 0) = -4210752;
    EXPECT_TRUE(KernelFits(balanced));
    balanced.at(0, 0) = -4210753;
    balanced.at(3, 3) = 4210753;
    EXPECT_FALSE(KernelFits(balanced));
    TFilterKernel wide;
    wide.at(0, 0) = kMax;
    wide.at(0, 1) = kMax;
    EXPECT_FALSE(KernelFits(wide));

    RecordingSink sink;
    EXPECT_TRUE(CheckKernel(PopFilterH1, QStringLiteral("Test")));
    EXPECT_TRUE(sink.silent());
    EXPECT_FALSE(CheckKernel(k, QStringLiteral("Test")));
    ASSERT_EQ(sink.errors.size(), 1);
    EXPECT_EQ(sink.errors[0], QStringLiteral("Test : ") + KernelTooLargeText());
    EXPECT_TRUE(sink.warnings.isEmpty());
}

}  // namespace
}  // namespace ormica
