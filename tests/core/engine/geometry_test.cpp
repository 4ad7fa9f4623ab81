#include "core/engine/geometry.h"

#include "core/engine/img_service.h"
#include "recorders.h"

#include <gtest/gtest.h>
#include <cstring>
#include <random>
#include <tuple>

using namespace ormica;

namespace {

// Pixel (x, y) of an array as one number.
int px(const TImgTabBGR& a, int x, int y)
{
    const std::uint8_t* p = a.row(y) + 3 * x;
    return p[0] | p[1] << 8 | p[2] << 16;
}

// A picture whose every pixel is distinct: its value encodes (x, y).
TImgTabBGR numbered(int w, int h)
{
    TImgTabBGR a;
    a.setShape(h, 3 * qsizetype(w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            a.row(y)[3 * x] = std::uint8_t(x);
            a.row(y)[3 * x + 1] = std::uint8_t(y);
            a.row(y)[3 * x + 2] = 7;
        }
    return a;
}

}  // namespace

TEST(Mirror, HorizontalReversesRowsAndVerticalSwapsThem)
{
    test::RecordingProgress progress;
    const TImgTabBGR src = numbered(3, 4);
    TImgTabBGR out;
    MirrorToTrgArr(src, 'H', out, &progress);
    ASSERT_EQ(out.width(), 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(px(out, x, y), px(src, 2 - x, y));
    EXPECT_EQ(progress.maximum(), 4);
    EXPECT_EQ(progress.position(), 0);
    EXPECT_EQ(progress.positions[progress.positions.size() - 2], 4);

    MirrorToTrgArr(src, 'V', out, nullptr);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(px(out, 1, y), px(src, 1, 3 - y));

    // Twice is the identity, also in place.
    TImgTabBGR again = src;
    MirrorToTrgArr(again, 'H', again, nullptr);
    MirrorToTrgArr(again, 'H', again, nullptr);
    EXPECT_TRUE(again.sameAs(src));
}

TEST(Mirror, OtherModesAndEmptySourcesDoNothing)
{
    test::RecordingSink sink;
    TImgTabBGR out = numbered(2, 2);
    const TImgTabBGR before = out;
    MirrorToTrgArr(numbered(3, 3), 'x', out, nullptr);
    MirrorToTrgArr(TImgTabBGR(), 'H', out, nullptr);
    Rotate90PlusMinus(numbered(3, 3), '*', out, nullptr);
    EXPECT_TRUE(out.sameAs(before));
    EXPECT_TRUE(sink.silent());
}

TEST(Mirror, UnequalRowsAreAFailureNotAReadPastTheEnd)
{
    test::RecordingSink sink;
    TImgTabBGR ragged;
    const std::vector<qsizetype> lengths{9, 3, 9};
    ragged.setShape(lengths);
    std::memset(ragged.row(0), 1, 9);
    std::memset(ragged.row(1), 2, 3);
    std::memset(ragged.row(2), 3, 9);
    TImgTabBGR out;
    MirrorToTrgArr(ragged, 'H', out, nullptr);  // each row within itself: fine
    EXPECT_EQ(out.rowLength(1), 3);
    EXPECT_TRUE(sink.silent());
    MirrorToTrgArr(ragged, 'V', out, nullptr);  // row 0 lands on the short row 2? no: 2 -> 0, 1 -> 1, 0 -> 2
    EXPECT_TRUE(sink.silent());
    const std::vector<qsizetype> worse{9, 9, 3};
    ragged.setShape(worse);
    MirrorToTrgArr(ragged, 'V', out, nullptr);
    EXPECT_TRUE(out.empty());
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], QStringLiteral("MirrorToTrgArr : Не могу перевернуть изображение."));
}

TEST(Rotate90, TurnsBothWaysWithTheRightCorners)
{
    const TImgTabBGR src = numbered(3, 2);  // W = 3, H = 2
    TImgTabBGR plus, minus;
    test::RecordingProgress progress;
    Rotate90PlusMinus(src, '+', plus, &progress);
    ASSERT_EQ(plus.width(), 2);
    ASSERT_EQ(plus.height(), 3);
    EXPECT_EQ(px(plus, 0, 0), px(src, 2, 0));  // top-left takes the top-right
    EXPECT_EQ(progress.position(), 2);         // not reset at the end
    Rotate90PlusMinus(src, '-', minus, nullptr);
    EXPECT_EQ(px(minus, 0, 0), px(src, 0, 1));  // top-left takes the bottom-left

    // On a picture larger than a tile, + then - is the identity; four + too.
    const TImgTabBGR big = test::arrayOf(test::patternImage(70, 45, 3));
    TImgTabBGR a, b;
    Rotate90PlusMinus(big, '+', a, nullptr);
    Rotate90PlusMinus(a, '-', b, nullptr);
    EXPECT_TRUE(b.sameAs(big));
    for (int i = 0; i < 4; ++i)
        Rotate90PlusMinus(b, '+', b, nullptr);
    EXPECT_TRUE(b.sameAs(big));
    for (int y = 0; y < 45; y += 11)
        for (int x = 0; x < 70; x += 13)
            EXPECT_EQ(px(a, y, 69 - x), px(big, x, y));
}

TEST(RotateAngle, FortyFiveDegreesOnFiveByFive)
{
    const TImgTabBGR src = numbered(5, 5);
    TImgTabBGR out;
    const TColor fill = RGBToColor(200, 100, 50);
    RotateForTabBGR(src, 2, 2, nullptr, out, fill, 45.0L);
    ASSERT_EQ(out.width(), 5);
    ASSERT_EQ(out.height(), 5);
    EXPECT_EQ(px(out, 2, 0), px(src, 3, 1));
    EXPECT_EQ(px(out, 2, 2), px(src, 2, 2));
    const int fillPx = 50 | 100 << 8 | 200 << 16;
    for (auto [x, y] : {std::pair{0, 0}, {4, 0}, {0, 4}, {4, 4}})
        EXPECT_EQ(px(out, x, y), fillPx) << x << "," << y;
}

TEST(RotateAngle, GuardsAndCentresFarAway)
{
    TImgTabBGR out = numbered(2, 2);
    const TImgTabBGR before = out;
    RotateForTabBGR(numbered(4, 2), 1, 1, nullptr, out, clWhite, 30.0L);  // two rows: nothing
    EXPECT_TRUE(out.sameAs(before));

    // Centre at the origin: most of the picture turns out of the frame.
    RotateForTabBGR(numbered(40, 30), 0, 0, nullptr, out, clWhite, 60.0L);
    int filled = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            filled += px(out, x, y) == 0xFFFFFF;
    EXPECT_GT(filled, 600);

    // A zero angle copies.
    RotateForTabBGR(numbered(9, 7), 3, 4, nullptr, out, clWhite, 0.0L);
    EXPECT_TRUE(out.sameAs(numbered(9, 7)));
}

TEST(RotateAngle, AgreesWithTheFormulaPixelForPixel)
{
    std::mt19937 rng(20261207);
    std::uniform_real_distribution<double> angle(-89.9, 89.9);
    for (int trial = 0; trial < 120; ++trial) {
        const int w = std::uniform_int_distribution<int>(3, 90)(rng);
        const int h = std::uniform_int_distribution<int>(3, 70)(rng);
        const TImgTabBGR src = test::arrayOf(test::patternImage(w, h, unsigned(trial)));
        // Centres inside the picture, near it and far outside.
        const int spread = trial % 3 == 0 ? 3000 : 2 * std::max(w, h);
        const int rc = std::uniform_int_distribution<int>(-spread, h + spread)(rng);
        const int cc = std::uniform_int_distribution<int>(-spread, w + spread)(rng);
        long double deg = angle(rng);
        if (trial % 10 == 0)
            deg = std::round(deg);  // whole degrees, as users type them
        if (trial == 1)
            deg = 89.9L;
        if (trial == 2)
            deg = -45.0L;
        SCOPED_TRACE(::testing::Message()
                     << w << "x" << h << " centre " << rc << "," << cc << " angle " << double(deg));
        TImgTabBGR fast, exact;
        RotateForTabBGR(src, rc, cc, nullptr, fast, clBlack, deg);
        detail::RotateByFormula(src, rc, cc, exact, clBlack, deg);
        ASSERT_TRUE(fast.sameAs(exact));
    }
}

TEST(RotateAngle, AgreesWithTheFormulaOnHalfwayPixels)
{
    // 90 degrees about the picture centre puts every source coordinate on a
    // whole number, and 45 degrees with odd offsets puts many near halves.
    const TImgTabBGR src = test::arrayOf(test::patternImage(31, 31, 4));
    for (long double deg : {89.9L, -89.9L, 45.0L, -45.0L, 30.0L, 60.0L, 0.001L}) {
        for (auto [rc, cc] : {std::pair{15, 15}, {0, 0}, {-7, 40}, {30, 0}}) {
            TImgTabBGR fast, exact;
            RotateForTabBGR(src, rc, cc, nullptr, fast, clBlack, deg);
            detail::RotateByFormula(src, rc, cc, exact, clBlack, deg);
            EXPECT_TRUE(fast.sameAs(exact)) << double(deg) << " " << rc << "," << cc;
        }
    }
}

namespace {

// A target that already holds other pixels of the same shape, as a kept
// target array does: every pixel must be written, fill or copy.
TImgTabBGR stale(int w, int h, std::mt19937& rng)
{
    TImgTabBGR a;
    a.setShape(h, 3 * qsizetype(w));
    for (int y = 0; y < h; ++y)
        for (qsizetype i = 0; i < 3 * qsizetype(w); ++i)
            a.row(y)[i] = std::uint8_t(rng());
    return a;
}

}  // namespace

TEST(RotateAngle, RowBandsOnAnyNumberOfThreadsGiveTheFormula)
{
    std::mt19937 rng(5150);
    std::uniform_real_distribution<double> angle(-89.9, 89.9);
    for (int trial = 0; trial < 60; ++trial) {
        const int w = std::uniform_int_distribution<int>(3, 160)(rng) | (trial % 2);  // odd widths too
        const int h = std::uniform_int_distribution<int>(3, 140)(rng);
        const int threads = 1 + trial % 4;
        const TImgTabBGR src = test::arrayOf(test::patternImage(w, h, unsigned(trial + 300)));
        const int rc = std::uniform_int_distribution<int>(-h, 2 * h)(rng);
        const int cc = std::uniform_int_distribution<int>(-w, 2 * w)(rng);
        const long double deg = trial % 7 == 0 ? std::round(angle(rng)) : angle(rng);
        const TColor fill = RGBToColor(std::uint8_t(trial), 90, 200);
        SCOPED_TRACE(::testing::Message() << w << "x" << h << " centre " << rc << "," << cc << " angle " << double(deg)
                                          << " threads " << threads);
        TImgTabBGR fast = stale(w, h, rng), plain = stale(w, h, rng), exact;
        test::RecordingProgress progress;
        detail::RotateWithThreads(src, rc, cc, &progress, fast, fill, deg, threads);
        detail::allowGeometrySimd(false);
        detail::RotateWithThreads(src, rc, cc, nullptr, plain, fill, deg, threads);
        detail::allowGeometrySimd(true);
        detail::RotateByFormula(src, rc, cc, exact, fill, deg);
        ASSERT_TRUE(fast.sameAs(exact));
        ASSERT_TRUE(plain.sameAs(exact));
        // Every row counted once, whichever thread did it, then reset.
        EXPECT_EQ(progress.maximum(), h);
        ASSERT_GE(progress.positions.size(), 2u);
        EXPECT_EQ(progress.positions[progress.positions.size() - 2], h);
        EXPECT_EQ(progress.position(), 0);
    }
}

TEST(RotateAngle, InPlaceAndCentresFarBeyondTheFixedPoint)
{
    // Centres millions of pixels away take the formula for whole rows; the
    // result must not depend on which way a row went.
    const TImgTabBGR src = test::arrayOf(test::patternImage(47, 33, 12));
    for (auto [rc, cc, deg] : {std::tuple{4000100, 20, 0.0001L},
                               {16, -3999990, -0.0002L},
                               {-2000000, 2000000, 45.0L},
                               {16, 23, 89.9L},
                               {16, 23, -89.9L}}) {
        std::mt19937 rng{unsigned(rc)};
        TImgTabBGR fast = stale(47, 33, rng), exact;
        RotateForTabBGR(src, rc, cc, nullptr, fast, clWhite, deg);
        detail::RotateByFormula(src, rc, cc, exact, clWhite, deg);
        EXPECT_TRUE(fast.sameAs(exact)) << rc << "," << cc << " " << double(deg);

        // The source given as its own target.
        TImgTabBGR same = src;
        detail::RotateWithThreads(same, rc, cc, nullptr, same, clWhite, deg, 2);
        EXPECT_TRUE(same.sameAs(exact)) << rc << "," << cc << " " << double(deg);
    }
}

TEST(RotateAngle, LargePicturesOnTheProgramsOwnThreadsGiveTheFormula)
{
    // Large enough for the routine to share it out.
    const TImgTabBGR src = test::arrayOf(test::patternImage(613, 521, 8));
    for (long double deg : {30.0L, -17.3L, 61.0L}) {
        TImgTabBGR fast, plain, exact;
        RotateForTabBGR(src, 200, 350, nullptr, fast, clYellow, deg);
        detail::allowGeometrySimd(false);
        RotateForTabBGR(src, 200, 350, nullptr, plain, clYellow, deg);
        detail::allowGeometrySimd(true);
        detail::RotateByFormula(src, 200, 350, exact, clYellow, deg);
        EXPECT_TRUE(fast.sameAs(exact)) << double(deg);
        EXPECT_TRUE(plain.sameAs(exact)) << double(deg);
    }
}

TEST(Mirror, HorizontalOnAnyWidthMatchesPixelByPixelReversal)
{
    std::mt19937 rng(77);
    for (const bool vectors : {true, false})
        for (int w = 1; w <= 70; ++w) {
            const int h = 1 + w % 3;
            const TImgTabBGR src = test::arrayOf(test::patternImage(w, h, unsigned(w)));
            TImgTabBGR out = stale(w, h, rng);
            detail::allowGeometrySimd(vectors);
            MirrorToTrgArr(src, 'H', out, nullptr);
            detail::allowGeometrySimd(true);
            ASSERT_EQ(out.width(), w);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(px(out, x, y), px(src, w - 1 - x, y)) << vectors << " " << w << " at " << x << "," << y;
        }
}

TEST(Mirror, VerticalOnAPictureLargerThanTheCachesSwapsEveryRow)
{
    // Odd row lengths start rows at every alignment; large pictures are written past the caches.
    const int w = 3371, h = 3400;
    TImgTabBGR src;
    src.setShape(h, qsizetype(w) * 3);
    for (int y = 0; y < h; ++y)
        for (qsizetype i = 0; i < qsizetype(w) * 3; ++i)
            src.row(y)[i] = std::uint8_t(i * 7 + y * 13);
    for (const bool vectors : {true, false}) {
        TImgTabBGR out;
        detail::allowGeometrySimd(vectors);
        MirrorToTrgArr(src, 'V', out, nullptr);
        detail::allowGeometrySimd(true);
        ASSERT_EQ(out.rowCount(), h);
        for (int y = 0; y < h; ++y)
            ASSERT_EQ(std::memcmp(out.row(y), src.row(h - 1 - y), std::size_t(w) * 3), 0) << vectors << " row " << y;
    }
}

TEST(Mirror, RowsWithPartPixelsMirrorTheirWholePixelsOnly)
{
    // A part pixel at the end of a source row leaves the start of the target
    // row zero (31 and 47 bytes end a wide step just before a part pixel).
    TImgTabBGR ragged;
    const std::vector<qsizetype> lengths{50, 47, 48, 31, 20};
    ragged.setShape(lengths);
    for (int y = 0; y < 5; ++y)
        for (qsizetype i = 0; i < lengths[std::size_t(y)]; ++i)
            ragged.row(y)[i] = std::uint8_t(1 + i + 7 * y);
    TImgTabBGR out;
    MirrorToTrgArr(ragged, 'H', out, nullptr);
    for (int y = 0; y < 5; ++y) {
        const qsizetype len = lengths[std::size_t(y)];
        ASSERT_EQ(out.rowLength(y), len);
        for (qsizetype i = 0; i < len % 3; ++i)
            EXPECT_EQ(out.row(y)[i], 0) << y << " byte " << i;
        for (qsizetype off = 0; off + 3 <= len; off += 3)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(out.row(y)[len - 3 - off + c], ragged.row(y)[off + c]) << y << " byte " << off + c;
    }
}
