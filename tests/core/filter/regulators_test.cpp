#include "core/filter/popular_filters.h"
#include "core/filter/regulators.h"

#include "recorders.h"

#include <gtest/gtest.h>

namespace ormica {
namespace {

using test::RecordingSink;

TFilterKernel unitOf(std::int32_t centre)
{
    TFilterKernel k;
    MakeUnitKernel(k, centre);
    return k;
}

TEST(LightToScale, ExampleTablesAndTheKernelsWithoutEffect)
{
    const TFilterKernel hundred = unitOf(100);
    const std::pair<int, std::int32_t> table[] = {{-10, 145}, {-5, 122}, {-1, 104}, {0, 100},
                                                  {1, 96},    {5, 78},   {10, 55}};
    for (auto [position, scale] : table)
        EXPECT_EQ(LightToScale(hundred, position), scale) << position;
    EXPECT_EQ(LightToScale(PopFilterH2, -10), 23);
    EXPECT_EQ(LightToScale(PopFilterH2, 10), 9);
    EXPECT_EQ(LightToScale(PopFilterH1, 3), 280 - 37);  // v = 126, u = Trunc(37.8)
    EXPECT_EQ(LightToScale(PopFilterH1, -3), 280 + 37);
    // Sums of 2 or less give no change at any position.
    for (int position = -10; position <= 10; ++position) {
        EXPECT_EQ(LightToScale(unitOf(2), position), std::nullopt) << position;
        EXPECT_EQ(LightToScale(PopFilterH3, position), std::nullopt) << position;
    }
    TFilterKernel negative = PopFilterH3;
    negative.centre() = -3;
    EXPECT_EQ(LightToScale(negative, 10), std::nullopt);
    EXPECT_EQ(LightToScale(unitOf(3), 10), 2);  // v = 1
    // Positions beyond the track bar's count as its ends.
    EXPECT_EQ(LightToScale(hundred, 25), 55);
    EXPECT_EQ(LightToScale(hundred, -25), 145);
}

TEST(LightToScale, RefusesAKernelTooLargeForTheArithmetic)
{
    RecordingSink sink;
    TFilterKernel huge;
    huge.centre() = 2000000000;
    EXPECT_EQ(LightToScale(huge, 5), std::nullopt);
    ASSERT_EQ(sink.errors.size(), 1);
    EXPECT_EQ(sink.errors[0], QStringLiteral("LightToScale : ") + KernelTooLargeText());
}

TEST(FocusToKernel, ExampleTableAndTheLimits)
{
    // PopFilterL3: C0 = 2, S0 = 6.
    const std::pair<int, std::int32_t> table[] = {{-10, 7}, {-5, 4}, {0, 2}, {5, 0}, {10, -3}};
    for (auto [position, centre] : table) {
        const auto result = FocusToKernel(PopFilterL3, 2, 6, position);
        ASSERT_TRUE(result) << position;
        EXPECT_EQ(result->Centre, centre) << position;
        EXPECT_EQ(result->Scale, 6 - 2 + centre) << position;  // the sum with the new centre
    }
    EXPECT_EQ(FocusToKernel(PopFilterL3, 2, 6, 10), (TFocusResult{-3, 1}));
    // Any filter at +10 sums to 1; at -10 its centre grows by S0 - 1.
    EXPECT_EQ(FocusToKernel(PopFilterH1, 500, 280, 10), (TFocusResult{221, 1}));
    EXPECT_EQ(FocusToKernel(PopFilterH1, 500, 280, -10), (TFocusResult{779, 559}));
    // The regulator works from the origin, not from the kernel's present centre.
    TFilterKernel moved = PopFilterL3;
    moved.centre() = 40;
    EXPECT_EQ(FocusToKernel(moved, 2, 6, 5), (TFocusResult{0, 4}));
    // S0 = 1: no effect at any position.
    for (int position = -10; position <= 10; ++position)
        EXPECT_EQ(FocusToKernel(PopFilterH3, 5, 1, position), (TFocusResult{5, 1})) << position;
    // No origin yet (start-up) or a non-positive one: no change.
    EXPECT_EQ(FocusToKernel(unitOf(100), 0, 0, 10), std::nullopt);
    EXPECT_EQ(FocusToKernel(PopFilterL3, 2, -4, 10), std::nullopt);
}

TEST(FocusToKernel, ASumBelowOneKeepsTheCentreAndTakesTheBaseSum)
{
    // An origin that no longer matches the kernel: the new centre would bring
    // the sum to 4 - 97 = -93.
    EXPECT_EQ(FocusToKernel(PopFilterL3, 2, 100, 10), (TFocusResult{2, 100}));
    // Exactly 1 is accepted.
    EXPECT_EQ(FocusToKernel(PopFilterL3, 2, 6, 10)->Scale, 1);
}

TEST(FocusToKernel, ACentreBeyondTheArithmeticIsRefusedWithAnError)
{
    RecordingSink sink;
    // C0 - Trunc((S0 - 1) * -10 / 10) leaves 32 bits.
    EXPECT_EQ(FocusToKernel(unitOf(2000000000), 2000000000, 2000000000, -10), std::nullopt);
    // In range, but 255 times the weights is not.
    EXPECT_EQ(FocusToKernel(unitOf(100), 100, 9000000, -10), std::nullopt);
    ASSERT_EQ(sink.errors.size(), 2);
    EXPECT_EQ(sink.errors[0], QStringLiteral("FocusToKernel : ") + KernelTooLargeText());
    EXPECT_EQ(sink.errors[1], sink.errors[0]);
}

}  // namespace
}  // namespace ormica
