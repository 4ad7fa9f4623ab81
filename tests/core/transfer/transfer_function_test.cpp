#include "core/transfer/transfer_function.h"

#include "recorders.h"

#include <gtest/gtest.h>

namespace ormica {
namespace {

using test::RecordingProgress;
using test::RecordingSink;

using Bytes = std::array<std::uint8_t, 3>;

const TBrightPointArray kIdentity{{0, 0}, {255, 255}};
const TBrightPointArray kNegative{{0, 255}, {255, 0}};
// Doubles brightness up to 128 and holds 255 above it.
const TBrightPointArray kDoubling{{0, 0}, {128, 255}, {255, 255}};

Bytes convert(const TBrightPointArray& points, Bytes p)
{
    ConvertPixel(BuildConvSegments(points), p[0], p[1], p[2]);
    return p;
}

// Every 24-bit colour once: row = red * 16 + green / 16, 4096 pixels a row.
TImgTabBGR allColours()
{
    TImgTabBGR tab;
    tab.setShape(4096, 4096 * 3);
    for (int r = 0; r < 4096; ++r) {
        std::uint8_t* row = tab.row(r);
        for (int i = 0; i < 4096; ++i) {
            const int c = r * 4096 + i;
            row[3 * i] = std::uint8_t(c & 255);
            row[3 * i + 1] = std::uint8_t((c >> 8) & 255);
            row[3 * i + 2] = std::uint8_t(c >> 16);
        }
    }
    return tab;
}

TEST(ConvSegments, OnePerPairWithVerticalsAndClosingEntry)
{
    EXPECT_TRUE(BuildConvSegments({}).empty());
    EXPECT_TRUE(BuildConvSegments({{0, 0}}).empty());

    const TConvSegments s = BuildConvSegments({{0, 0}, {0, 64}, {64, 64}, {255, 0}});
    ASSERT_EQ(s.size(), 4u);
    EXPECT_TRUE(s[0].Vertical);
    EXPECT_EQ(s[0].Slope, 64.0);
    EXPECT_FALSE(s[1].Vertical);
    EXPECT_EQ(s[1].Slope, 0.0);
    EXPECT_EQ(s[2].X, 64);
    EXPECT_EQ(s[2].Y, 64);
    EXPECT_DOUBLE_EQ(s[2].Slope, -64.0 / 191.0);
    EXPECT_EQ(s[3].X, 255);
    EXPECT_EQ(s[3].Y, 0);
    EXPECT_TRUE(s[3].Vertical);
    EXPECT_EQ(s[3].Slope, 255.0);
}

TEST(ConvertPixel, GreyStaysGreyAtTheFunctionValueOrOneBelow)
{
    // F(v) = 255 - v exactly on the negative.
    for (int v = 1; v < 256; ++v) {
        const auto b = std::uint8_t(v);
        const Bytes out = convert(kNegative, {b, b, b});
        EXPECT_EQ(out[0], out[1]);
        EXPECT_EQ(out[1], out[2]);
        EXPECT_TRUE(out[0] == 255 - v || out[0] == 254 - v) << v;
    }
    // A flat segment at 128 over 253: 253 * (128 / 253) falls just short of 128.
    EXPECT_EQ(convert({{0, 0}, {250, 128}, {255, 128}}, {253, 253, 253}), (Bytes{127, 127, 127}));
}

TEST(ConvertPixel, BlackAndWhiteUnderTheNegative)
{
    EXPECT_EQ(convert(kNegative, {0, 0, 0}), (Bytes{0, 0, 0}));
    EXPECT_EQ(convert(kNegative, {255, 255, 255}), (Bytes{0, 0, 0}));
    // Black stays black even where the function lifts level 0 vertically.
    EXPECT_EQ(convert({{0, 0}, {0, 200}, {255, 255}}, {0, 0, 0}), (Bytes{0, 0, 0}));
}

TEST(ConvertPixel, DarkestColoursFollowTheFunction)
{
    // Sums of squares 1 and 2 have Light level 0 but are not black.
    const std::vector<Bytes> dark{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
    for (const Bytes& p : dark) {
        EXPECT_EQ(convert(kIdentity, p), p);
        const Bytes neg = convert(kNegative, p);
        for (int j = 0; j < 3; ++j) {
            if (p[std::size_t(j)] == 0)
                EXPECT_EQ(neg[std::size_t(j)], 0);
            else
                EXPECT_GE(neg[std::size_t(j)], 254);
        }
    }
    // A vertical first segment gives its upper value / L: (1, 0, 0) has L = 0.577, so Trunc(100 * 1.732).
    EXPECT_EQ(convert({{0, 0}, {0, 100}, {255, 255}}, {1, 0, 0}), (Bytes{173, 0, 0}));
    // 10 / L stays below 255: (1, 1, 0) has L = 0.816, so each channel becomes Trunc(12.2).
    EXPECT_EQ(convert({{0, 0}, {0, 10}, {255, 255}}, {1, 1, 0}), (Bytes{12, 12, 0}));
}

TEST(ConvertPixel, SaturatedColourIsScaledAsAWhole)
{
    // Light 126.49, F = 251, k = 1.99: red would reach 398.
    const Bytes out = convert(kDoubling, {40, 80, 200});
    EXPECT_GE(out[2], 254);
    EXPECT_TRUE(out[0] == 51 || out[0] == 50) << int(out[0]);
    EXPECT_TRUE(out[1] == 102 || out[1] == 101) << int(out[1]);
    // Without saturation the factor applies directly: L = 60, F = Trunc(119.5) = 119.
    EXPECT_EQ(convert(kDoubling, {60, 60, 60}), (Bytes{119, 119, 119}));
}

TEST(ConvertPixel, InputOutsideEverySegmentIsUnchanged)
{
    const TBrightPointArray upper{{100, 0}, {255, 255}};
    EXPECT_EQ(convert(upper, {10, 20, 30}), (Bytes{10, 20, 30}));
    EXPECT_EQ(convert(upper, {1, 0, 0}), (Bytes{1, 0, 0}));
    // F(200) = Trunc(100 * 255 / 155) = 164.
    EXPECT_EQ(convert(upper, {200, 200, 200}), (Bytes{164, 164, 164}));
}

// The table path against the direct per-pixel computation on every colour.
TEST(ConvertImageTab, MatchesConvertPixelOnEveryColour)
{
    const TImgTabBGR all = allColours();
    const std::vector<std::pair<const char*, TBrightPointArray>> functions{
        {"identity", kIdentity},
        {"negative", kNegative},
        {"step", GenerateSpecialPoints(1, 0, 0)},
        {"grating", GenerateSpecialPoints(2, 3, 4)},
        {"steep", {{0, 0}, {0, 40}, {12, 255}, {255, 255}}},
        {"doubling", kDoubling},
        {"exp 32", *GenerateFormulaPoints(2, 32, 2.0L)},
        // Factors far above 255 at the dark end, and negative ones clamped to 0.
        {"beyond the bytes", {{0, 300}, {255, -300}}},
    };
    // In place as well: the widest path reads ahead of its writes and keeps bytes for doubles.
    for (const auto& [bits, inPlace] : {std::pair{512, true}, {512, false}, {256, false}, {0, false}})
        for (const auto& [name, points] : functions) {
            SCOPED_TRACE(std::string(name) + ", vectors of at most " + std::to_string(bits) + " bits" +
                         (inPlace ? ", in place" : ""));
            TImgTabBGR fast;
            RecordingProgress progress;
            detail::setTransferVectorBits(bits);
            if (inPlace) {
                fast = all;
                ConvertImageTab(fast, fast, points, progress);
            } else {
                ConvertImageTab(all, fast, points, progress);
            }
            detail::setTransferVectorBits(512);
            ASSERT_EQ(fast.height(), all.height());
            const TConvSegments segments = BuildConvSegments(points);
            std::int64_t mismatches = 0, changed = 0;
            for (int r = 0; r < all.height(); ++r) {
                const std::uint8_t* src = all.row(r);
                const std::uint8_t* dst = fast.row(r);
                for (int i = 0; i < 4096 * 3; i += 3) {
                    std::uint8_t p0 = src[i], p1 = src[i + 1], p2 = src[i + 2];
                    ConvertPixel(segments, p0, p1, p2);
                    if (p0 != dst[i] || p1 != dst[i + 1] || p2 != dst[i + 2]) {
                        if (mismatches++ < 5)
                            ADD_FAILURE() << int(src[i]) << "," << int(src[i + 1]) << "," << int(src[i + 2]);
                    }
                    changed += (p0 != src[i] || p1 != src[i + 1] || p2 != src[i + 2]);
                }
            }
            EXPECT_EQ(mismatches, 0);
            if (points == kIdentity)
                EXPECT_EQ(changed, 0);
            else
                EXPECT_GT(changed, 0);
        }
}

TEST(ConvertImageTab, KeepsRowShapesAndDrivesTheProgressBar)
{
    TImgTabBGR src;
    const std::vector<qsizetype> lengths{9, 3, 0, 6};
    src.setShape(lengths);
    for (int r = 0; r < src.rowCount(); ++r)
        for (qsizetype j = 0; j < src.rowLength(r); ++j)
            src.row(r)[j] = std::uint8_t(40 * r + 17 * j);
    TImgTabBGR trg;
    RecordingSink sink;
    RecordingProgress progress;
    ConvertImageTab(src, trg, kNegative, progress);
    EXPECT_TRUE(sink.silent());
    ASSERT_EQ(trg.rowCount(), 4);
    const TConvSegments seg = BuildConvSegments(kNegative);
    for (int r = 0; r < 4; ++r) {
        ASSERT_EQ(trg.rowLength(r), lengths[std::size_t(r)]);
        for (qsizetype j = 0; j < lengths[std::size_t(r)]; j += 3) {
            Bytes p{src.row(r)[j], src.row(r)[j + 1], src.row(r)[j + 2]};
            ConvertPixel(seg, p[0], p[1], p[2]);
            EXPECT_EQ((Bytes{trg.row(r)[j], trg.row(r)[j + 1], trg.row(r)[j + 2]}), p);
        }
    }
    EXPECT_EQ(progress.maximum(), 4);
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 1, 2, 3, 4, 0}));

    // In place gives the same bytes.
    TImgTabBGR same = src;
    ConvertImageTab(same, same, kNegative, progress);
    EXPECT_TRUE(same.sameAs(trg));
}

TEST(ConvertImageTab, FailuresAndNoOps)
{
    RecordingSink sink;
    RecordingProgress progress;
    TImgTabBGR src;
    src.setShape(std::vector<qsizetype>{6, 4});
    std::fill(src.row(0), src.row(0) + 10, std::uint8_t(9));
    TImgTabBGR trg;
    trg.setShape(1, 3);
    ConvertImageTab(src, trg, kIdentity, progress);
    EXPECT_TRUE(trg.empty());
    EXPECT_EQ(sink.warnings, QStringList{QStringLiteral("TabBRGtoTabBGR : Не могу скопировать массив.")});
    EXPECT_EQ(progress.position(), 0);

    // Fewer than two pairs and an empty source leave the target alone.
    sink.warnings.clear();
    trg.setShape(1, 3);
    src.setShape(1, 3);
    ConvertImageTab(src, trg, {{0, 0}}, progress);
    EXPECT_EQ(trg.rowCount(), 1);
    ConvertImageTab(TImgTabBGR{}, trg, kIdentity, progress);
    EXPECT_EQ(trg.rowCount(), 1);
    EXPECT_TRUE(sink.silent());
}

TEST(FormulaPoints, SquareRootExampleAndIdentity)
{
    RecordingSink sink;
    EXPECT_EQ(*GenerateFormulaPoints(3, 4, 1.0L), (TBrightPointArray{{0, 0}, {85, 147}, {170, 208}, {255, 255}}));
    const TBrightPointArray line = *GenerateFormulaPoints(0, 16, 1.0L);
    ASSERT_EQ(line.size(), 16u);
    for (std::size_t i = 0; i < line.size(); ++i) {
        EXPECT_EQ(line[i].X, int(i) * 17);
        EXPECT_EQ(line[i].Y, line[i].X);
    }
    EXPECT_TRUE(sink.silent());
}

TEST(FormulaPoints, EveryListedFormulaOverEveryRangeSucceeds)
{
    RecordingSink sink;
    for (int kind = 0; kind <= 5; ++kind)
        for (int n : {4, 8, 16, 32})
            for (int pos = 10; pos <= 200; pos += 10) {
                const long double xe = static_cast<long double>(pos) * 2 / 200 + 0;
                const auto pts = GenerateFormulaPoints(kind, n, xe);
                ASSERT_TRUE(pts && pts->size() == std::size_t(n)) << kind << " " << n << " " << pos;
                EXPECT_EQ(pts->front(), (TBrightPoint{0, 0}));
                EXPECT_EQ(pts->back(), (TBrightPoint{255, 255}));
                for (std::size_t i = 1; i < pts->size(); ++i) {
                    EXPECT_GT((*pts)[i].X, (*pts)[i - 1].X);
                    EXPECT_GE((*pts)[i].Y, (*pts)[i - 1].Y);
                }
            }
    EXPECT_TRUE(sink.silent());
}

TEST(FormulaPoints, DegenerateRangeWarnsAndTooFewPointsDoNothing)
{
    RecordingSink sink;
    const auto constant = GenerateFormulaPoints(4, 8, 0.0L);
    ASSERT_TRUE(constant);
    EXPECT_TRUE(constant->empty());
    const auto negative = GenerateFormulaPoints(0, 8, -1.0L);
    ASSERT_TRUE(negative);
    EXPECT_TRUE(negative->empty());
    EXPECT_EQ(sink.warnings, (QStringList{QStringLiteral("Недопустимый вид порождающей функции"),
                                          QStringLiteral("Недопустимый вид порождающей функции")}));
    sink.warnings.clear();
    EXPECT_FALSE(GenerateFormulaPoints(3, 1, 1.0L));
    EXPECT_TRUE(sink.silent());
}

TEST(SpecialPoints, StaircaseStepsAndGratings)
{
    EXPECT_EQ(GenerateSpecialPoints(1, 0, 0),
              (TBrightPointArray{
                  {0, 0}, {0, 64}, {64, 64}, {64, 128}, {128, 128}, {128, 192}, {192, 192}, {192, 255}, {255, 255}}));
    EXPECT_EQ(GenerateSpecialPoints(2, 0, 0),
              (TBrightPointArray{
                  {0, 0}, {32, 32}, {64, 64}, {96, 96}, {128, 128}, {160, 160}, {192, 192}, {224, 224}, {255, 255}}));
    const TBrightPointArray stepDip = GenerateSpecialPoints(1, 0, 2);
    ASSERT_EQ(stepDip.size(), 17u);
    EXPECT_EQ(TBrightPointArray(stepDip.begin(), stepDip.begin() + 4),
              (TBrightPointArray{{0, 0}, {0, 6}, {2, 6}, {2, 64}}));
    EXPECT_EQ(stepDip[15], (TBrightPoint{194, 255}));
    const TBrightPointArray gratingDip = GenerateSpecialPoints(2, 1, 3);
    ASSERT_EQ(gratingDip.size(), 33u);
    EXPECT_EQ(TBrightPointArray(gratingDip.begin() + 4, gratingDip.begin() + 8),
              (TBrightPointArray{{32, 32}, {32, 6}, {35, 6}, {35, 35}}));

    EXPECT_TRUE(GenerateSpecialPoints(0, 0, 0).empty());
    EXPECT_TRUE(GenerateSpecialPoints(3, 0, 0).empty());
    // Unknown section items fall back to 4 sections.
    EXPECT_EQ(GenerateSpecialPoints(1, 7, 0).size(), 9u);
}

TEST(SpecialPoints, FinestGridStaysInRangeAndReportsItsCount)
{
    for (int type : {1, 2}) {
        const TBrightPointArray p = GenerateSpecialPoints(type, 3, 4);
        ASSERT_EQ(p.size(), 129u);
        for (const TBrightPoint& q : p) {
            EXPECT_TRUE(q.X >= 0 && q.X <= 255 && q.Y >= 0 && q.Y <= 255);
        }
        const QStringList report = ReportPoints(p);
        ASSERT_EQ(report.size(), 131);
        EXPECT_EQ(report[0], QStringLiteral(" Число точек : 129"));
    }
}

TEST(ReportPoints, Lines)
{
    EXPECT_EQ(ReportPoints({{0, 255}, {17, 3}}),
              (QStringList{QStringLiteral(" Число точек : 2"), QStringLiteral(" Список точек в координатах яркости :"),
                           QStringLiteral(" X = 0\t Y = 255"), QStringLiteral(" X = 17\t Y = 3")}));
    EXPECT_EQ(ReportPoints({}).size(), 2);
}

}  // namespace
}  // namespace ormica
