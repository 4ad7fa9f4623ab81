// The area average at strong reductions: long rows and large pictures down
// to a few pixels, held to the exact mean.
#include "core/scale/area_resample.h"

#include "recorders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

using namespace ormica;

namespace {

using Fill = std::function<int(int x, int y, int channel)>;

QImage picture(int w, int h, const Fill& fill)
{
    QImage img(w, h, QImage::Format_BGR888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                img.scanLine(y)[3 * x + c] = uchar(fill(x, y, c));
    return img;
}

QImage resampled(const QImage& src, int w, int h)
{
    QImage dst(w, h, QImage::Format_BGR888);
    dst.fill(Qt::magenta);  // nothing left over from an earlier picture
    AreaResample(src, dst);
    return dst;
}

// Along one axis, for each destination index: the first source index and
// the part of each source pixel from there on that lies inside its span.
struct Cover {
    int from = 0;
    std::vector<long double> parts;
};

std::vector<Cover> covers(int srcLen, int dstLen)
{
    std::vector<Cover> all(static_cast<std::size_t>(dstLen));
    for (int j = 0; j < dstLen; ++j) {
        const long double lo = (long double)j * srcLen / dstLen;
        const long double hi = (long double)(j + 1) * srcLen / dstLen;
        Cover& c = all[std::size_t(j)];
        c.from = int(std::floor(lo));
        for (int i = c.from; i < std::min<long double>(srcLen, std::ceil(hi)); ++i)
            c.parts.push_back(std::min<long double>(hi, i + 1) - std::max<long double>(lo, i));
    }
    return all;
}

// The exact mean of the source area over each destination byte, unrounded.
std::vector<long double> exactMeans(const QImage& src, int dw, int dh)
{
    const std::vector<Cover> cx = covers(src.width(), dw), cy = covers(src.height(), dh);
    const long double area = (long double)src.width() / dw * src.height() / dh;
    std::vector<long double> means(std::size_t(3) * dw * dh);
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x)
            for (int c = 0; c < 3; ++c) {
                long double sum = 0;
                const Cover& ry = cy[std::size_t(y)];
                const Cover& rx = cx[std::size_t(x)];
                for (std::size_t k = 0; k < ry.parts.size(); ++k) {
                    const uchar* line = src.constScanLine(ry.from + int(k));
                    long double row = 0;
                    for (std::size_t i = 0; i < rx.parts.size(); ++i)
                        row += rx.parts[i] * line[3 * (rx.from + int(i)) + c];
                    sum += ry.parts[k] * row;
                }
                means[(std::size_t(y) * dw + x) * 3 + c] = sum / area;
            }
    return means;
}

// How far the worst destination byte lies from its exact mean, in levels.
long double worstError(const QImage& src, int dw, int dh)
{
    const QImage out = resampled(src, dw, dh);
    const std::vector<long double> means = exactMeans(src, dw, dh);
    long double worst = 0;
    for (int y = 0; y < dh; ++y)
        for (int i = 0; i < 3 * dw; ++i)
            worst = std::max(worst, std::fabs(out.constScanLine(y)[i] - means[std::size_t(y) * 3 * dw + i]));
    return worst;
}

int level(const QImage& img, int x, int channel)
{
    return img.constScanLine(0)[3 * x + channel];
}

// Contents that trouble rounded weights most (neighbours as far apart as
// they go), besides noise and a smooth ramp.
struct Content {
    const char* name;
    Fill fill;
};

std::vector<Content> contents(int w, unsigned seed)
{
    const QImage noise = test::patternImage(std::min(w, 4096), 7, seed);
    return {
        {"noise", [noise](int x, int y, int c) { return noise.constScanLine(y % 7)[3 * (x % noise.width()) + c]; }},
        {"columns", [](int x, int, int c) { return (x + c) % 2 ? 255 : 0; }},
        {"checkers", [](int x, int y, int) { return (x + y) % 2 ? 255 : 0; }},
        {"ramp", [w](int x, int, int c) { return int((long long)(x + c) * 255 / (w + 2)); }},
    };
}

}  // namespace

TEST(AreaResampleStrong, SparseWhitePixelsAverageOutOfLongRows)
{
    // One white pixel among 5000 is 0.051 of white: black, wherever it is.
    for (const int white : {0, 2500, 4999}) {
        const QImage row = picture(5000, 1, [white](int x, int, int) { return x == white ? 255 : 0; });
        EXPECT_EQ(resampled(row, 1, 1).pixelColor(0, 0).name(), "#000000") << "white at " << white;
    }
    // A 1 % zoom of a row with every 100th pixel white: 2.55 in every pixel.
    const QImage dotted = picture(3000, 1, [](int x, int, int) { return x % 100 == 0 ? 255 : 0; });
    const QImage small = resampled(dotted, 30, 1);
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(small.pixelColor(x, 0).name(), "#030303") << x;
    // Past 1/4096 every pixel must still count, not one picked out of many.
    const QImage stripes = picture(10000, 1, [](int x, int, int) { return x % 2 ? 255 : 0; });
    EXPECT_EQ(resampled(stripes, 1, 1).pixelColor(0, 0).name(), "#808080");  // 127.5, to even
    const QImage lastThird = picture(65536, 1, [](int x, int, int) { return 3 * x >= 2 * 65536 ? 255 : 0; });
    const QImage three = resampled(lastThird, 3, 1);
    EXPECT_EQ(three.pixelColor(0, 0).name(), "#000000");
    EXPECT_EQ(three.pixelColor(1, 0).name(), "#000000");
    EXPECT_EQ(three.pixelColor(2, 0).name(), "#ffffff");  // a third of a black pixel among 21845 white
}

TEST(AreaResampleStrong, LongRowsStayWithinOneLevelOfTheExactMean)
{
    const std::vector<std::pair<int, int>> sizes = {
        {6000, 1},  {5000, 1},  {3000, 30},  {4097, 1},     {8193, 2},     {6000, 59},    {12000, 7},
        {65536, 1}, {65536, 3}, {65536, 97}, {65536, 1000}, {65536, 6000}, {60001, 5999}, {30011, 2},
    };
    for (const auto& [sw, dw] : sizes)
        for (const Content& content : contents(sw, unsigned(sw + dw)))
            for (const int sh : {1, 2}) {
                const QImage src = picture(sw, sh, content.fill);
                EXPECT_LE(worstError(src, dw, 1), 1.0L) << content.name << " " << sw << "x" << sh << " -> " << dw;
            }
}

TEST(AreaResampleStrong, PicturesStayWithinOneLevelOfTheExactMean)
{
    struct Case {
        int sw, sh, dw, dh;
    };
    // Zooms of 1 % and below, one side only, and one side shrunk while the
    // other grows.
    const Case cases[] = {
        {6000, 4000, 60, 40}, {6000, 4000, 1, 1}, {1500, 1000, 15, 10}, {997, 1201, 13, 7},
        {65536, 3, 5, 40},    {40, 65536, 60, 3}, {1, 6000, 1, 1},      {6000, 400, 6000, 3},
    };
    for (const Case& c : cases) {
        const QImage src = test::patternImage(c.sw, c.sh, unsigned(c.sw ^ c.sh));
        EXPECT_LE(worstError(src, c.dw, c.dh), 1.0L) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
    }
    // Every ratio from enlargement down to 1/120 by 1/90, where the rounded
    // weights give way to exact ones.
    for (const Content& content : contents(120, 11)) {
        const QImage src = picture(120, 90, content.fill);
        for (int dw = 1; dw <= 61; ++dw)
            for (const int dh : {1, 2, 3, 5, 8, 10, 11, 13, 17, 23, 30, 45, 60, 89, 91, 200})
                ASSERT_LE(worstError(src, dw, dh), 1.0L) << content.name << " -> " << dw << "x" << dh;
    }
}

TEST(AreaResampleStrong, FlatColoursAndHalvesAtStrongReductions)
{
    const QColor c(201, 13, 77);
    for (const QSize from : {QSize(65536, 1), QSize(6000, 7), QSize(5000, 3), QSize(3, 20000)})
        for (const QSize to : {QSize(1, 1), QSize(3, 1), QSize(59, 2), QSize(1, 7), QSize(4097, 1)}) {
            QImage src(from, QImage::Format_BGR888);
            src.fill(c);
            const QImage out = resampled(src, to.width(), to.height());
            for (int y = 0; y < out.height(); ++y)
                for (int x = 0; x < out.width(); ++x)
                    ASSERT_EQ(out.pixelColor(x, y).name(), c.name()) << from.width() << "x" << from.height() << " -> "
                                                                     << to.width() << "x" << to.height() << " at " << x;
        }
    // Exact halves go to the even level, on every kind of weights.
    for (const int w : {4, 10000, 65536}) {
        const QImage pairs = picture(w, 1, [](int x, int, int c) { return 1 + c + x % 2; });  // 1.5, 2.5, 3.5
        const QImage one = resampled(pairs, 1, 1);
        EXPECT_EQ(level(one, 0, 0), 2) << w;
        EXPECT_EQ(level(one, 0, 1), 2) << w;
        EXPECT_EQ(level(one, 0, 2), 4) << w;
    }
    const QImage board = picture(5000, 2, [](int x, int y, int) { return (x + y) % 2 ? 255 : 0; });
    EXPECT_EQ(resampled(board, 1, 1).pixelColor(0, 0).name(), "#808080");
}

TEST(AreaResampleStrong, ShuffledAndPlainPathsAgreeAtStrongReductions)
{
    struct Case {
        int sw, sh, dw, dh;
    };
    // Two taps a pixel along one side while the other shrinks hard, and hard
    // shrinking along both.
    const Case cases[] = {
        {50, 6000, 70, 3}, {3000, 2, 30, 1},      {65536, 1, 7, 1},    {6000, 400, 60, 4},
        {5000, 1, 1, 1},   {2000, 6000, 3000, 1}, {121, 9000, 180, 2}, {6000, 4000, 60, 40},
    };
    for (const Case& c : cases) {
        const QImage src = test::patternImage(c.sw, c.sh, unsigned(c.dw + c.dh));
        const QImage fast = resampled(src, c.dw, c.dh);
        detail::allowResampleSimd(false);
        const QImage plain = resampled(src, c.dw, c.dh);
        detail::allowResampleSimd(true);
        ASSERT_EQ(fast, plain) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
    }
}

TEST(AreaResampleHalving, EveryBlockIsItsSumOverFourHalvesToEven)
{
    // Levels 0..3 make sums that end in a half a quarter of the time; full
    // noise checks the byte order of every pixel. Widths around the steps
    // of sixteen pixels, and odd ones, check the ends of the rows.
    std::mt19937 rng(4242);
    std::vector<int> widths{1, 2, 15, 16, 17, 31, 32, 33, 47, 48, 49, 101};
    for (int i = 0; i < 12; ++i)
        widths.push_back(std::uniform_int_distribution<int>(1, 200)(rng));
    for (const int dw : widths)
        for (const int top : {3, 255}) {
            const int dh = 1 + dw % 4;
            QImage src(2 * dw, 2 * dh, QImage::Format_BGR888);
            for (int y = 0; y < src.height(); ++y)
                for (int i = 0; i < 3 * src.width(); ++i)
                    src.scanLine(y)[i] = uchar(std::uniform_int_distribution<int>(0, top)(rng));
            const QImage fast = resampled(src, dw, dh);
            detail::allowResampleSimd(false);
            const QImage plain = resampled(src, dw, dh);
            detail::allowResampleSimd(true);
            for (int y = 0; y < dh; ++y)
                for (int x = 0; x < dw; ++x)
                    for (int c = 0; c < 3; ++c) {
                        const uchar* r0 = src.constScanLine(2 * y) + 6 * x + c;
                        const uchar* r1 = src.constScanLine(2 * y + 1) + 6 * x + c;
                        const int sum = r0[0] + r0[3] + r1[0] + r1[3];
                        const int expected = int(std::nearbyint(sum / 4.0));
                        ASSERT_EQ(fast.constScanLine(y)[3 * x + c], expected)
                            << dw << "x" << dh << " top " << top << " at " << x << "," << y << " channel " << c;
                        ASSERT_EQ(plain.constScanLine(y)[3 * x + c], expected)
                            << dw << "x" << dh << " top " << top << " at " << x << "," << y << " channel " << c;
                    }
        }
}
