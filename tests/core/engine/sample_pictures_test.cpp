#include "core/engine/sample_pictures.h"

#include <gtest/gtest.h>

using namespace ormica;

namespace {

// The help's worked examples quote these pixels: the ramps are exact.
TEST(SamplePictures, GradientRampsFollowTheirFormula)
{
    const QImage picture = MakeSample(TSample::Gradients);
    ASSERT_EQ(picture.format(), QImage::Format_BGR888);
    struct Band {
        int y;
        int r, g, b;  // 1 where the channel carries the ramp v = x * 255 / 639
    } const bands[] = {{0, 1, 1, 1}, {79, 1, 1, 1}, {80, 1, 0, 0}, {140, 0, 1, 0}, {199, 0, 0, 1}};
    for (const Band& band : bands)
        for (int x : {0, 1, 100, 320, 638, 639}) {
            const int v = x * 255 / 639;
            const QRgb p = picture.pixel(x, band.y);
            EXPECT_EQ(qRed(p), band.r * v) << x << ", " << band.y;
            EXPECT_EQ(qGreen(p), band.g * v) << x << ", " << band.y;
            EXPECT_EQ(qBlue(p), band.b * v) << x << ", " << band.y;
        }
}

TEST(SamplePictures, EveryKeyMakesItsPicture)
{
    for (const TSampleInfo& sample : Samples()) {
        EXPECT_EQ(SampleByKey(QString::fromLatin1(sample.key)), sample.id);
        const QImage picture = MakeSample(sample.id);
        EXPECT_EQ(picture.size(), QSize(640, 480)) << sample.key;
        EXPECT_FALSE(SampleName(sample.id).isEmpty());
    }
    EXPECT_FALSE(SampleByKey(QStringLiteral("Chart")).has_value());
    // The chart's one-pixel black frame: edges are edges to the last pixel.
    const QImage chart = MakeSample(TSample::Chart);
    for (QPoint p : {QPoint(0, 0), QPoint(639, 240), QPoint(320, 479)})
        EXPECT_EQ(chart.pixel(p), qRgb(0, 0, 0));
    EXPECT_EQ(chart.pixel(1, 1), qRgb(255, 255, 255));
}

}  // namespace
