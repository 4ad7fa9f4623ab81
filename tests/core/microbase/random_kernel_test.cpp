#include "core/microbase/random_kernel.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <random>

namespace ormica {
namespace {

// Random(n) that always gives its largest value.
int largest(int n)
{
    return n - 1;
}

TEST(RandomKernel, MagnitudesFollowTheDistanceFromTheCentre)
{
    TFilterKernel k;
    k.at(3, 0) = 9;  // the middle row and column are not generated
    k.at(6, 3) = -4;
    RandomKernel(0, k, largest);
    EXPECT_EQ(k.centre(), 11);
    EXPECT_EQ(k.at(3, 0), 9);
    EXPECT_EQ(k.at(6, 3), -4);
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j) {
            if (i == 3 || j == 3)
                continue;
            const int d = std::abs(i - 3) + std::abs(j - 3);
            EXPECT_EQ(k.at(i, j), std::abs(6 - d)) << i << "," << j;
        }
    EXPECT_EQ(k.at(0, 0), 0);
    EXPECT_EQ(k.at(2, 2), 4);

    RandomKernel(1, k, largest);
    EXPECT_EQ(k.at(2, 4), -4);
    RandomKernel(3, k, largest);
    EXPECT_EQ(k.at(2, 4), 0);
    EXPECT_EQ(k.centre(), 11);
}

TEST(RandomKernel, SharpeningTypeTakesBothSignsAndStaysInRange)
{
    std::mt19937 engine(7);
    const auto random = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); };
    bool negative = false, positive = false;
    for (int run = 0; run < 50; ++run) {
        TFilterKernel k;
        RandomKernel(2, k, random);
        ASSERT_GE(k.centre(), 6);
        ASSERT_LE(k.centre(), 11);
        for (int i = 0; i < 7; ++i)
            for (int j = 0; j < 7; ++j)
                if (i != 3 && j != 3) {
                    const int limit = std::abs(6 - (std::abs(i - 3) + std::abs(j - 3)));
                    ASSERT_LE(std::abs(k.at(i, j)), limit);
                    negative |= k.at(i, j) < 0;
                    positive |= k.at(i, j) > 0;
                }
    }
    EXPECT_TRUE(negative && positive);
}

TEST(RandomKernel, ScaleIsThePositiveSumOrOne)
{
    TFilterKernel k;
    k.centre() = 8;
    k.at(0, 0) = -3;
    EXPECT_EQ(ScaleOfKernel(k), 5);
    k.at(0, 1) = -5;
    EXPECT_EQ(ScaleOfKernel(k), 1);
    k.at(0, 1) = -6;
    EXPECT_EQ(ScaleOfKernel(k), 1);
}

}  // namespace
}  // namespace ormica
