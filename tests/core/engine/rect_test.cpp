#include "core/engine/rect.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace ormica;

TEST(Rect, NormalizeOrdersCorners)
{
    EXPECT_EQ(NormalizeRect({200, 150}, {50, 40}), (TRect{50, 40, 200, 150}));
    EXPECT_EQ(NormalizeRect({-3, 7}, {4, -9}), (TRect{-3, -9, 4, 7}));
}

TEST(Rect, OnePixelStripsCountAsEmpty)
{
    EXPECT_TRUE(IsRectEmpty({5, 5, 5, 20}));
    EXPECT_TRUE(IsRectEmpty({5, 5, 20, 5}));
    EXPECT_TRUE(IsRectEmpty({6, 5, 5, 20}));
    EXPECT_FALSE(IsRectEmpty({5, 5, 6, 6}));
}

TEST(Rect, IntersectionGivesZerosWhenEmpty)
{
    TRect r{1, 1, 1, 1};
    EXPECT_TRUE(IntersectRect(r, {-10, -10, 2, 3}, {0, 0, 99, 99}));
    EXPECT_EQ(r, (TRect{0, 0, 2, 3}));
    EXPECT_FALSE(IntersectRect(r, {0, 0, 10, 10}, {10, 0, 20, 10}));
    EXPECT_EQ(r, TRect{});
    // A result one pixel wide is empty too.
    r = {1, 1, 1, 1};
    EXPECT_FALSE(IntersectRect(r, {0, 0, 10, 10}, {10, 0, 20, 5}));
    EXPECT_EQ(r, TRect{});
}

TEST(Rect, ClipToBitmapKeepsInsideCorners)
{
    const QImage bitmap(100, 50, QImage::Format_BGR888);
    EXPECT_EQ(ClipRectToBitmap(bitmap, {-5, -1, 200, 60}), (TRect{0, 0, 99, 49}));
    EXPECT_EQ(ClipRectToBitmap(bitmap, {10, 10, 20, 20}), (TRect{10, 10, 20, 20}));
}
