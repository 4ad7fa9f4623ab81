#include "core/scale/area_resample.h"
#include "core/scale/image_scale.h"

#include "recorders.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <random>

using namespace ormica;

namespace {

QImage flat(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_BGR888);
    img.fill(c);
    return img;
}

// The mean of the source area over each destination pixel, in exact
// rationals per channel, rounded halves to even: a slow reference.
QImage referenceArea(const QImage& src, int dw, int dh)
{
    QImage out(dw, dh, QImage::Format_BGR888);
    const int sw = src.width(), sh = src.height();
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            long double sum[3] = {0, 0, 0};
            for (int sy = 0; sy < sh; ++sy) {
                const long double oy = std::max(0.0L, std::min<long double>((y + 1.0L) * sh / dh, sy + 1) -
                                                          std::max<long double>(y * (long double)sh / dh, sy));
                if (oy <= 0)
                    continue;
                for (int sx = 0; sx < sw; ++sx) {
                    const long double ox = std::max(0.0L, std::min<long double>((x + 1.0L) * sw / dw, sx + 1) -
                                                              std::max<long double>(x * (long double)sw / dw, sx));
                    for (int c = 0; c < 3; ++c)
                        sum[c] += ox * oy * src.constScanLine(sy)[3 * sx + c];
                }
            }
            const long double area = (long double)sw / dw * sh / dh;
            for (int c = 0; c < 3; ++c)
                out.scanLine(y)[3 * x + c] = uchar(std::nearbyint(sum[c] / area));
        }
    return out;
}

int maxDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int i = 0; i < 3 * a.width(); ++i)
            worst = std::max(worst, std::abs(a.constScanLine(y)[i] - b.constScanLine(y)[i]));
    return worst;
}

QImage resampled(const QImage& src, int w, int h)
{
    QImage dst(w, h, QImage::Format_BGR888);
    AreaResample(src, dst);
    return dst;
}

}  // namespace

TEST(AreaResample, AveragesThatCanBeWorkedOutByHand)
{
    // A 2 x 2 checkerboard of black and white gives mid grey: 127.5 -> 128 (even).
    QImage board(2, 2, QImage::Format_BGR888);
    board.fill(Qt::black);
    board.setPixelColor(0, 0, Qt::white);
    board.setPixelColor(1, 1, Qt::white);
    EXPECT_EQ(resampled(board, 1, 1).pixelColor(0, 0), QColor(128, 128, 128));

    // 3 x 3 to 2 x 2: the top-left target covers one whole pixel, two halves and a quarter.
    QImage nine(3, 3, QImage::Format_BGR888);
    nine.fill(Qt::black);
    nine.setPixelColor(0, 0, QColor(90, 0, 0));
    nine.setPixelColor(1, 0, QColor(0, 90, 0));
    nine.setPixelColor(1, 1, QColor(0, 0, 90));
    const QImage four = resampled(nine, 2, 2);
    // Coverage of target (0, 0): pixel (0,0) 4/9, (1,0) 2/9, (1,1) 1/9.
    EXPECT_EQ(four.pixelColor(0, 0), QColor(40, 20, 10));
    EXPECT_EQ(four.pixelColor(1, 1), QColor(0, 0, 10));

    // A one-pixel line enlarged keeps its colour where it covers whole pixels
    // and blends at the cut edges.
    QImage line(3, 1, QImage::Format_BGR888);
    line.setPixelColor(0, 0, QColor(0, 0, 0));
    line.setPixelColor(1, 0, QColor(200, 100, 50));
    line.setPixelColor(2, 0, QColor(0, 0, 0));
    const QImage wide = resampled(line, 6, 2);
    EXPECT_EQ(wide.pixelColor(2, 0), QColor(200, 100, 50));
    EXPECT_EQ(wide.pixelColor(3, 1), QColor(200, 100, 50));
    EXPECT_EQ(wide.pixelColor(0, 0), QColor(0, 0, 0));
    const QImage third = resampled(line, 4, 1);              // target 1 covers 1/4 of pixel 0... in thirds: [0.75, 1.5)
    EXPECT_EQ(third.pixelColor(1, 0), QColor(133, 67, 33));  // 2/3 of the colour
}

TEST(AreaResample, FlatColoursStayExactlyFlat)
{
    const QColor c(201, 13, 77);
    for (const QSize to : {QSize(1, 1), QSize(37, 23), QSize(100, 61), QSize(251, 7), QSize(999, 1)}) {
        const QImage out = resampled(flat(100, 61, c), to.width(), to.height());
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                ASSERT_EQ(out.pixelColor(x, y), c) << to.width() << "x" << to.height() << " at " << x << "," << y;
    }
}

TEST(AreaResample, MatchesTheExactAreaMeanWithinOneLevel)
{
    std::mt19937 rng(7);
    for (int trial = 0; trial < 25; ++trial) {
        const int sw = std::uniform_int_distribution<int>(1, 40)(rng);
        const int sh = std::uniform_int_distribution<int>(1, 40)(rng);
        const int dw = std::uniform_int_distribution<int>(1, 60)(rng);
        const int dh = std::uniform_int_distribution<int>(1, 60)(rng);
        const QImage src = test::patternImage(sw, sh, unsigned(trial));
        SCOPED_TRACE(::testing::Message() << sw << "x" << sh << " -> " << dw << "x" << dh);
        // Within a level of the exact mean at any ratio.
        EXPECT_LE(maxDifference(resampled(src, dw, dh), referenceArea(src, dw, dh)), 1);
    }
    // Enlargements and mild reductions run two taps a pixel on a fast path.
    for (const QSize to : {QSize(61, 47), QSize(97, 31), QSize(30, 23), QSize(41, 90)}) {
        const QImage src = test::patternImage(40, 30, 17);
        EXPECT_LE(maxDifference(resampled(src, to.width(), to.height()), referenceArea(src, to.width(), to.height())),
                  1)
            << to.width() << "x" << to.height();
    }
    const QImage src = test::patternImage(16, 12, 3);
    EXPECT_EQ(resampled(src, 16, 12), src);  // equal sizes copy
    // Halving has exact weights: it must give the exact means, halves to even.
    EXPECT_EQ(maxDifference(resampled(src, 8, 6), referenceArea(src, 8, 6)), 0);
    const QImage two = test::patternImage(2, 6, 5);
    EXPECT_EQ(maxDifference(resampled(two, 1, 3), referenceArea(two, 1, 3)), 0);
    const QImage wide = test::patternImage(202, 4, 6);
    EXPECT_EQ(maxDifference(resampled(wide, 101, 2), referenceArea(wide, 101, 2)), 0);
}

TEST(AreaResample, ShuffledAndPlainPathsGiveTheSameBytes)
{
    std::mt19937 rng(99);
    for (int trial = 0; trial < 30; ++trial) {
        const int sw = std::uniform_int_distribution<int>(1, 50)(rng);
        const int sh = std::uniform_int_distribution<int>(1, 20)(rng);
        const int dw = std::uniform_int_distribution<int>(sw / 2 + 1, 3 * sw + 1)(rng);
        const int dh = std::uniform_int_distribution<int>(1, 30)(rng);
        const QImage src = test::patternImage(sw, sh, unsigned(trial + 40));
        const QImage fast = resampled(src, dw, dh);
        detail::allowResampleSimd(false);
        const QImage plain = resampled(src, dw, dh);
        detail::allowResampleSimd(true);
        ASSERT_EQ(fast, plain) << sw << "x" << sh << " -> " << dw << "x" << dh;
    }
}

TEST(ImageScale, ZoomRequestsAreHeldInRange)
{
    test::RecordingSink sink;
    TImageControl image;
    TImageScale scale;
    scale.SetZoom(2);  // no source: nothing
    EXPECT_EQ(scale.TrgWidth, 0);

    image.setPicture(flat(200, 100, Qt::red));
    scale.SetSource(&image);
    scale.SetZoom(0.005);
    EXPECT_EQ(scale.Zoom, 0.01);
    EXPECT_EQ(scale.TrgWidth, 2);
    EXPECT_EQ(scale.TrgHeight, 1);
    EXPECT_TRUE(scale.Corrected);
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], TImageScale::ZoomWarning());

    scale.SetZoom(10);
    EXPECT_EQ(scale.Zoom, 8.0);
    EXPECT_TRUE(scale.Corrected);  // the sides fit, the zoom was still corrected
    EXPECT_EQ(scale.TrgWidth, 1600);

    image.setPicture(flat(1000, 500, Qt::red));
    scale.SetZoom(8);
    EXPECT_EQ(scale.TrgWidth, 6000);
    EXPECT_EQ(scale.TrgHeight, 3000);
    EXPECT_TRUE(scale.Corrected);
    EXPECT_EQ(sink.warnings.back(), TImageScale::SizeWarning());

    image.setPicture(flat(1000, 1000, Qt::red));
    scale.SetZoom(8);
    EXPECT_EQ(scale.TrgWidth, 6000);
    EXPECT_EQ(scale.TrgHeight, 6000);

    image.setPicture(flat(3, 3, Qt::red));
    const auto before = sink.warnings.size();
    scale.SetZoom(0.5);
    EXPECT_EQ(scale.TrgWidth, 2);  // 1.5 rounds to 2
    EXPECT_FALSE(scale.Corrected);
    EXPECT_EQ(sink.warnings.size(), before);
}

TEST(ImageScale, SidesKeepOrDropTheProportions)
{
    test::RecordingSink sink;
    TImageControl image;
    image.setPicture(flat(100, 100, Qt::red));
    TImageScale scale;
    scale.SetSource(&image);
    scale.SetTargetHeight(7000);
    EXPECT_EQ(scale.TrgHeight, 6000);
    EXPECT_EQ(scale.TrgWidth, 6000);
    EXPECT_TRUE(scale.Corrected);
    EXPECT_EQ(sink.warnings.size(), 1);

    image.setPicture(flat(100, 300, Qt::red));
    scale.SetTargetWidth(50);
    EXPECT_EQ(scale.TrgHeight, 150);
    scale.Proportional = false;
    scale.SetTargetWidth(70);
    EXPECT_EQ(scale.TrgWidth, 70);
    EXPECT_EQ(scale.TrgHeight, 150);
    scale.SetTargetHeight(-5);
    EXPECT_EQ(scale.TrgHeight, 1);

    // A very flat picture never gets a side of 0.
    image.setPicture(flat(3000, 2, Qt::red));
    scale.Proportional = true;
    scale.SetTargetWidth(100);
    EXPECT_EQ(scale.TrgHeight, 1);
}

TEST(ImageScale, ExecuteResamplesIntoTheTargetOrItself)
{
    test::RecordingSink sink;
    TImageControl source, target;
    const QImage picture = test::patternImage(40, 30, 2);
    source.setPicture(picture);
    TImageScale scale;
    scale.SetSource(&source);
    scale.Execute();  // no target yet
    EXPECT_TRUE(target.picture().isNull());
    scale.Target = &target;
    scale.SetZoom(1.0);
    scale.Execute();
    EXPECT_EQ(target.picture(), picture);  // same size copies

    scale.SetZoom(0.5);
    scale.Execute();
    EXPECT_EQ(target.picture().size(), QSize(20, 15));
    EXPECT_EQ(source.picture(), picture);

    scale.Target = &source;  // in place, as the quick zoom does
    scale.SetZoom(1.5);
    scale.Execute();
    EXPECT_EQ(source.picture().size(), QSize(60, 45));
    EXPECT_EQ(source.picture().format(), QImage::Format_BGR888);
    EXPECT_EQ(target.picture().size(), QSize(20, 15));  // the earlier result is its own copy
    EXPECT_TRUE(sink.silent());
}

TEST(ImageScale, ZoomWarningUsesTheLocaleSeparator)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(TImageScale::ZoomWarning(),
              QStringLiteral("Zoom ВНЕ диапазона:\r\n(  1,0 ... 800,0 ) %\r\nЗапрос будет исправлен"));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(TImageScale::ZoomWarning(),
              QStringLiteral("Zoom ВНЕ диапазона:\r\n(  1.0 ... 800.0 ) %\r\nЗапрос будет исправлен"));
    EXPECT_EQ(TImageScale::SizeWarning(),
              QStringLiteral(
                  "Размер строки или столбца ВНЕ диапазона:\r\n( 1 ... 6000 ) пикселей\r\nЗапрос будет исправлен"));
    QLocale::setDefault(saved);
}
