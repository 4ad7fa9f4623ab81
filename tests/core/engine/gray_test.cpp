#include "core/engine/gray.h"

#include "recorders.h"

#include <gtest/gtest.h>

using namespace ormica;

namespace {

// The rounded root mean square found with integers only: v is the level
// when (2v - 1)² · 3 <= 4s < (2v + 1)² · 3, s the sum of squares (no sum
// lies on a half, so there is nothing to break).
int exactLevel(int b, int g, int r)
{
    const long long s4 = 4LL * (b * b + g * g + r * r);
    int v = 0;
    while (3LL * (2 * v + 1) * (2 * v + 1) <= s4)
        ++v;
    return std::min(v, 255);
}

}  // namespace

TEST(Gray, KnownLevels)
{
    EXPECT_EQ(GrayLevel(0, 0, 255), 147);
    EXPECT_EQ(GrayLevel(255, 255, 255), 255);
    EXPECT_EQ(GrayLevel(1, 2, 2), 2);
    EXPECT_EQ(GrayLevel(0, 0, 0), 0);
}

TEST(Gray, ExtendedFormulaMatchesTheIntegerCriterionOnEverySum)
{
    std::vector<int> levelOfSum(195076, -1);
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g <= r; ++g)
            for (int b = 0; b <= g; ++b) {
                const int s = b * b + g * g + r * r;
                if (levelOfSum[std::size_t(s)] < 0) {
                    levelOfSum[std::size_t(s)] = GrayLevel(b, g, r);
                    ASSERT_EQ(levelOfSum[std::size_t(s)], exactLevel(b, g, r)) << "sum " << s;
                }
            }
}

TEST(Gray, EveryColourOfTheCubeGetsItsLevel)
{
    // 4096 x 4096 pixels hold each of the 2^24 colours once.
    QImage cube(4096, 4096, QImage::Format_BGR888);
    for (int y = 0; y < 4096; ++y) {
        uchar* line = cube.scanLine(y);
        for (int x = 0; x < 4096; ++x) {
            const unsigned c = unsigned(y) * 4096u + unsigned(x);
            line[3 * x] = uchar(c);
            line[3 * x + 1] = uchar(c >> 8);
            line[3 * x + 2] = uchar(c >> 16);
        }
    }
    std::vector<std::uint8_t> expected(195076);
    for (int s = 0; s < 195076; ++s) {
        int v = 0;
        while (3LL * (2 * v + 1) * (2 * v + 1) <= 4LL * s)
            ++v;
        expected[std::size_t(s)] = std::uint8_t(std::min(v, 255));
    }
    QImage grey;
    BitMapToGrayBitMap(cube, grey);
    ASSERT_EQ(grey.size(), cube.size());
    long long wrong = 0;
    for (int y = 0; y < 4096; ++y) {
        const uchar* in = cube.constScanLine(y);
        const uchar* out = grey.constScanLine(y);
        for (int x = 0; x < 4096; ++x) {
            const int s = in[3 * x] * in[3 * x] + in[3 * x + 1] * in[3 * x + 1] + in[3 * x + 2] * in[3 * x + 2];
            const std::uint8_t e = expected[std::size_t(s)];
            wrong += out[3 * x] != e || out[3 * x + 1] != e || out[3 * x + 2] != e;
        }
    }
    EXPECT_EQ(wrong, 0);

    // In place gives the same picture.
    BitMapToGrayBitMap(cube, cube);
    EXPECT_EQ(cube, grey);
}

TEST(Gray, RowKernelsAndLightLevelsAgreeOnEveryWidth)
{
    const QImage source = test::patternImage(67, 1, 11);
    for (int width = 0; width <= 67; ++width) {
        std::vector<std::uint8_t> a(std::size_t(3 * width) + 1, 7), b(std::size_t(3 * width) + 1, 7);
        detail::grayRowPortable(source.constScanLine(0), a.data(), width);
        detail::grayRowSimd(source.constScanLine(0), b.data(), width);
        ASSERT_EQ(a, b) << "width " << width;
        EXPECT_EQ(a.back(), 7) << "wrote past the row";
        // One level a pixel, as the histograms count them.
        std::vector<std::uint8_t> light(std::size_t(width) + 1, 7);
        LightLevelsRow(source.constScanLine(0), light.data(), width);
        EXPECT_EQ(light.back(), 7) << "wrote past the row";
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(light[std::size_t(x)], a[std::size_t(3 * x)]) << "width " << width << " pixel " << x;
        for (int x = 0; x < width; ++x) {
            const uchar* p = source.constScanLine(0) + 3 * x;
            ASSERT_EQ(a[std::size_t(3 * x)], exactLevel(p[0], p[1], p[2]));
        }
    }
}

TEST(Gray, GuardsLeaveTheDestinationAlone)
{
    QImage dest = test::patternImage(3, 3);
    const QImage kept = dest;
    BitMapToGrayBitMap(QImage(), dest);
    BitMapToGrayBitMap(test::patternImage(4, 4).convertToFormat(QImage::Format_RGB32), dest);
    EXPECT_EQ(dest, kept);

    QImage src = test::patternImage(5, 2);
    BitMapToGrayBitMap(src, dest);
    EXPECT_EQ(dest.size(), QSize(5, 2));
    EXPECT_EQ(dest.format(), QImage::Format_BGR888);
}

TEST(Gray, ANewBitmapOfTheSameSizeKeepsItsMemory)
{
    const QImage source = test::patternImage(37, 23, 5);
    QImage expected;
    BitMapToGrayBitMap(source, expected);
    ASSERT_EQ(expected.size(), source.size());
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) {
            const uchar* p = source.constScanLine(y) + 3 * x;
            const uchar* q = expected.constScanLine(y) + 3 * x;
            const int e = exactLevel(p[0], p[1], p[2]);
            ASSERT_TRUE(q[0] == e && q[1] == e && q[2] == e) << x << "," << y;
        }

    // Same size and format, not shared: written over where it lies.
    QImage dest = test::patternImage(37, 23, 9);
    const uchar* memory = dest.constBits();
    BitMapToGrayBitMap(source, dest);
    EXPECT_EQ(dest.constBits(), memory);
    EXPECT_EQ(dest, expected);

    // Shared with another picture: that one keeps its pixels.
    QImage shared = test::patternImage(37, 23, 9);
    const QImage other = shared;
    BitMapToGrayBitMap(source, shared);
    EXPECT_EQ(shared, expected);
    EXPECT_EQ(other, test::patternImage(37, 23, 9));

    // Shared with the source itself: the source is not greyed on the way.
    const QImage sourceCopy = source;
    QImage alias = source;
    BitMapToGrayBitMap(source, alias);
    EXPECT_EQ(alias, expected);
    EXPECT_EQ(source, sourceCopy);
    EXPECT_EQ(source, test::patternImage(37, 23, 5));

    // Another size or format: a new picture of the source's size.
    for (QImage wrong :
         {test::patternImage(36, 23, 9), test::patternImage(37, 23, 9).convertToFormat(QImage::Format_RGB32)}) {
        BitMapToGrayBitMap(source, wrong);
        EXPECT_EQ(wrong.format(), QImage::Format_BGR888);
        EXPECT_EQ(wrong, expected);
    }
}
