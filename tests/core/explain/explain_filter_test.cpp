#include "core/engine/img_service.h"
#include "core/explain/explanation.h"
#include "core/filter/filter_tab.h"
#include "core/filter/popular_filters.h"
#include "core/transfer/transfer_function.h"

#include "recorders.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace ormica {
namespace {

QImage randomPicture(int w, int h, std::mt19937& rng)
{
    QImage picture(w, h, QImage::Format_BGR888);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < 3 * w; ++i)
            picture.scanLine(y)[i] = uchar(rng() & 0xFF);
    return picture;
}

// The filter window's road: picture, array, colour array, FilterTabColor and back.
QImage filteredAsShown(const QImage& source, const TFilterKernel& kernel, std::int32_t scale)
{
    TImgTabColor in, out;
    TabBRGtoTabColor(test::arrayOf(source), in);
    EXPECT_TRUE(FilterTabColor(kernel, scale, in, out, nullptr));
    TImgTabBGR result;
    TabColorToTabBRG(out, result);
    QImage written(1, 1, QImage::Format_BGR888);
    ImgTabToBitMap(written, result, nullptr);
    return written;
}

TOperationRecord filterRecord(const QImage& source, const TFilterKernel& kernel, std::int32_t scale)
{
    TOperationRecord record;
    record.Kind = TOperationRecord::TKind::Filter;
    record.Source = source;
    record.Kernel = kernel;
    record.Scale = scale;
    return record;
}

// Every pixel of a small picture, the corners and random ones of a large.
std::vector<QPoint> sampledPixels(int w, int h, std::mt19937& rng)
{
    std::vector<QPoint> points;
    if (w * h <= 400) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                points.emplace_back(x, y);
        return points;
    }
    points = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {3, 3}, {w - 4, h - 4}, {2, 3}, {w - 3, h - 4}};
    for (int i = 0; i < 80; ++i)
        points.emplace_back(int(rng() % unsigned(w)), int(rng() % unsigned(h)));
    return points;
}

TEST(ExplainFilter, ResultIsThePixelFilterTabColorWrote)
{
    TFilterKernel laplace;  // weight sum 0: a black border, sums of both signs
    for (int r = 2; r <= 4; ++r)
        for (int c = 2; c <= 4; ++c)
            laplace.at(r, c) = -1;
    laplace.centre() = 8;
    std::mt19937 rng(20240611);
    TFilterKernel wild;  // negative sum
    for (std::int32_t& weight : wild.Weights)
        weight = int(rng() % 101) - 60;
    const struct {
        int w, h;
        TFilterKernel kernel;
        std::int32_t scale;
    } cases[] = {
        {9, 9, PopFilterH1, 280}, {9, 9, PopFilterH1, 100},   {13, 11, PopFilterL2, 43}, {7, 7, PopFilterH2, 16},
        {4, 4, PopFilterL1, 108}, {6, 12, PopFilterH3, 1},    {12, 5, PopFilterL3, 3},   {10, 8, laplace, 1},
        {11, 9, wild, 37},        {61, 23, PopFilterH1, 280}, {64, 17, PopFilterL1, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << ", scale " << c.scale);
        const QImage source = randomPicture(c.w, c.h, rng);
        const QImage written = filteredAsShown(source, c.kernel, c.scale);
        const TOperationRecord record = filterRecord(source, c.kernel, c.scale);
        for (const QPoint& p : sampledPixels(c.w, c.h, rng)) {
            const TExplanation e = Explain(record, written, p.x(), p.y());
            EXPECT_TRUE(e.Matches()) << "(" << p.x() << ", " << p.y() << ")\n" << ExplanationText(e).toStdString();
        }
    }
}

TEST(ExplainFilter, RefusedRunsHaveNothingToExplain)
{
    TFilterKernel huge;
    huge.centre() = 10'000'000;  // 255 times it leaves 32 bits
    const struct {
        int w, h;
        TFilterKernel kernel;
        std::int32_t scale;
    } cases[] = {{3, 8, PopFilterH1, 280}, {8, 3, PopFilterH1, 280}, {8, 8, PopFilterH1, 0}, {8, 8, huge, 1}};
    std::mt19937 rng(7);
    test::RecordingSink sink;
    for (const auto& c : cases) {
        const QImage source = randomPicture(c.w, c.h, rng);
        TImgTabColor in, out;
        TabBRGtoTabColor(test::arrayOf(source), in);
        EXPECT_FALSE(FilterTabColor(c.kernel, c.scale, in, out, nullptr));
        const TExplanation e = Explain(filterRecord(source, c.kernel, c.scale), source, 0, 0);
        EXPECT_FALSE(e.Unavailable.isEmpty());
        EXPECT_FALSE(e.Result);
    }
}

std::uint8_t truncated(double v)
{
    return std::uint8_t(int(v));
}

// H1 on a 9 x 9 picture of (10, 60, 150) with one spot (250, 60, 150) at (4, 4).
TEST(ExplainFilter, H1WorkedByHand)
{
    const TBGRTriple ground{10, 60, 150}, spot{250, 60, 150};
    QImage source(9, 9, QImage::Format_BGR888);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const TBGRTriple p = x == 4 && y == 4 ? spot : ground;
            uchar* q = source.scanLine(y) + 3 * x;
            q[0] = p.b, q[1] = p.g, q[2] = p.r;
        }
    // Within the window every pixel is the ground, the spot adds (spot - ground)
    // times the weight it meets: S = 280·ground + w·(spot - ground).
    const auto sum = [&](std::int32_t w, int channel) {
        const int g[] = {ground.b, ground.g, ground.r}, s[] = {spot.b, spot.g, spot.r};
        return 280 * g[channel] + w * (s[channel] - g[channel]);
    };
    // (4, 4): the spot under the centre, 500. S_B / 280 = 122800 / 280 > 255: all times 255 / m.
    const double m44 = sum(500, 0) / 280.0;
    // (5, 4): the spot at column offset -1, -20. S_B = 2800 - 4800 < 0: lifted by k = 255 / (255 - m).
    const double m54 = sum(-20, 0) / 280.0, k54 = 255 / (255 - m54);
    const struct {
        std::int32_t scale;
        int x, y;
        TBGRTriple expected;
    } cases[] = {
        // Corner, scale 280: gain 280 / 280 = 1.
        {280, 0, 0, ground},
        // Corner, scale 140: gain 2, (20, 120, 300), 300 > 255: times 255 / 300.
        {140, 0, 0, {truncated(20 * (255.0 / 300)), truncated(120 * (255.0 / 300)), truncated(300 * (255.0 / 300))}},
        {280, 4, 4, {truncated(m44 * (255 / m44)), truncated(60 * (255 / m44)), truncated(150 * (255 / m44))}},
        // (3, 3) is convolved too: the spot at offset (+1, +1), -10; S_B = 2800 - 2400.
        {280, 3, 3, {truncated(400 / 280.0), 60, 150}},
        {280,
         5,
         4,
         {truncated(255 - (255 - m54) * k54), truncated(255 - (255 - 60) * k54), truncated(255 - (255 - 150) * k54)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << "), scale " << c.scale);
        const QImage written = filteredAsShown(source, PopFilterH1, c.scale);
        const TExplanation e = Explain(filterRecord(source, PopFilterH1, c.scale), written, c.x, c.y);
        ASSERT_TRUE(e.Result);
        EXPECT_EQ(*e.Result, c.expected);
        EXPECT_TRUE(e.Matches());
        EXPECT_EQ(e.Neighbourhood.has_value(), c.x >= 3 && c.y >= 3);
    }
    const TExplanation e =
        Explain(filterRecord(source, PopFilterH1, 280), filteredAsShown(source, PopFilterH1, 280), 4, 4);
    ASSERT_TRUE(e.Neighbourhood);
    const TNeighbourhood& n = *e.Neighbourhood;
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(n.Rows[i], int(i) + 1);
        EXPECT_EQ(n.Cols[i], int(i) + 1);
        for (std::size_t j = 0; j < 7; ++j) {
            EXPECT_EQ(n.Weights[i][j], PopFilterH1.at(int(i), int(j)));
            EXPECT_EQ(n.Values[i][j], i == 3 && j == 3 ? spot : ground);
        }
    }
    EXPECT_TRUE(ExplanationText(e).contains(QString::number(sum(500, 0))));
}

TOperationRecord transferRecord(const QImage& source, const TBrightPointArray& points)
{
    TOperationRecord record;
    record.Kind = TOperationRecord::TKind::Transfer;
    record.Source = source;
    record.Points = points;
    return record;
}

QImage convertedAsShown(const QImage& source, const TBrightPointArray& points)
{
    TImgTabBGR result;
    TSilentProgress progress;
    ConvertImageTab(test::arrayOf(source), result, points, progress);
    QImage written(1, 1, QImage::Format_BGR888);
    ImgTabToBitMap(written, result, &progress);
    return written;
}

TEST(ExplainTransfer, ResultIsThePixelConvertImageTabWrote)
{
    const TBrightPointArray functions[] = {
        {{0, 0}, {255, 255}},
        {{0, 0}, {64, 200}, {255, 255}},  // steep: saturates
        {{0, 255}, {255, 0}},
        {{10, 0}, {200, 255}},              // dark and bright levels fall outside
        {{0, -50}, {128, 40}, {255, 300}},  // negative factors
        GenerateSpecialPoints(1, 0, 0),     // steps: vertical segments
        GenerateSpecialPoints(2, 1, 2),
    };
    std::mt19937 rng(99);
    for (const TBrightPointArray& points : functions) {
        QImage source = randomPicture(20, 16, rng);
        // Below level 1 and the extremes.
        const TBGRTriple extremes[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 1}, {1, 1, 1}, {255, 255, 255}, {0, 0, 255}};
        for (int i = 0; i < 6; ++i) {
            uchar* q = source.scanLine(i) + 3 * i;
            q[0] = extremes[i].b, q[1] = extremes[i].g, q[2] = extremes[i].r;
        }
        const QImage written = convertedAsShown(source, points);
        const TOperationRecord record = transferRecord(source, points);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x) {
                const TExplanation e = Explain(record, written, x, y);
                EXPECT_TRUE(e.Matches()) << "(" << x << ", " << y << ")\n" << ExplanationText(e).toStdString();
            }
    }
}

TEST(ExplainTransfer, WorkedByHand)
{
    // (0, 0) - (100, 250) - (255, 255): slope 2.5 up to level 100.
    const TBrightPointArray points{{0, 0}, {100, 250}, {255, 255}};
    const struct {
        TBGRTriple pixel;
        TBGRTriple expected;
        bool saturates;
    } cases[] = {
        // s = 1600 + 6400 + 14400, L = √(22400 / 3) = 86.4, F = ⌊2.5·86⌋ = 215, k = 215 / 86 = 2.5:
        // (100, 200, 300), m = 300 > 255, each times 255 / 300.
        {{40, 80, 120},
         {truncated(40 * 2.5 * (255 / 300.0)), truncated(80 * 2.5 * (255 / 300.0)),
          truncated(120 * 2.5 * (255 / 300.0))},
         true},
        // s = 2700, L = 30, F = 75, k = 2.5.
        {{30, 30, 30}, {75, 75, 75}, false},
        // s = 1, L = √(1/3) < 1: k = 2.5·L / L.
        {{1, 0, 0}, {2, 0, 0}, false},
    };
    for (const auto& c : cases) {
        QImage source(1, 1, QImage::Format_BGR888);
        uchar* q = source.scanLine(0);
        q[0] = c.pixel.b, q[1] = c.pixel.g, q[2] = c.pixel.r;
        const TExplanation e = Explain(transferRecord(source, points), convertedAsShown(source, points), 0, 0);
        ASSERT_TRUE(e.Result);
        EXPECT_EQ(*e.Result, c.expected);
        EXPECT_TRUE(e.Matches());
        EXPECT_EQ(ExplanationText(e).contains(QStringLiteral("Насыщение")), c.saturates);
    }
    const QImage one = test::patternImage(2, 2);
    EXPECT_FALSE(Explain(transferRecord(one, {{0, 0}}), one, 0, 0).Unavailable.isEmpty());
}

}  // namespace
}  // namespace ormica
