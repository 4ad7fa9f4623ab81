#include "core/engine/large_block.h"

#include "core/engine/img_tab.h"

#include <gtest/gtest.h>

using namespace ormica;

// A freed photograph-sized block serves the next one of about its size, and
// only that; whatever it held, the new owner's bytes are its own.
TEST(PixelBlocks, AFreedLargeBlockServesTheNextOfItsSize)
{
    ReleaseKeptPixelBlocks();
    const std::size_t big = 72'000'000;
    struct Case {
        std::size_t next;
        bool reused;
    };
    for (const Case c : {Case{big, true}, Case{big / 2 + 1, true}, Case{big / 3, false}, Case{big + 3'000'000, false},
                         Case{1000, false}}) {
        void* first = AllocatePixelBlock(big);
        ASSERT_NE(first, nullptr);
        static_cast<unsigned char*>(first)[big - 1] = 7;
        FreePixelBlock(first, big);
        void* next = AllocatePixelBlock(c.next);
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next == first, c.reused) << c.next;
        static_cast<unsigned char*>(next)[c.next - 1] = 9;
        FreePixelBlock(next, c.next);
        ReleaseKeptPixelBlocks();
    }
}

// Pictures and arrays on such blocks behave as ordinary ones: rows where Qt
// puts them, copies that detach, and a block handed on only when its last
// user has gone.
TEST(PixelBlocks, PicturesAndArraysOnKeptBlocks)
{
    ReleaseKeptPixelBlocks();
    QImage a = NewPicture(2001, 1000, QImage::Format_BGR888);
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a.bytesPerLine(), QImage(2001, 1, QImage::Format_BGR888).bytesPerLine());
    a.fill(Qt::red);
    const uchar* bits = a.constBits();
    QImage copy = a;
    copy.setPixelColor(0, 0, Qt::blue);
    EXPECT_NE(copy.constBits(), bits);
    EXPECT_EQ(a.pixelColor(0, 0), QColor(Qt::red));
    a = QImage();
    EXPECT_EQ(copy.pixelColor(0, 0), QColor(Qt::blue));
    // The first picture's block is free now; an array of its size takes it.
    TImgTabBGR arr;
    arr.setShape(1000, 3 * 2001 + 1);
    EXPECT_EQ(static_cast<const void*>(arr.row(0)), static_cast<const void*>(bits));
    arr.row(999)[3 * 2001] = 5;
    TImgTabBGR twin = arr;
    EXPECT_TRUE(twin.sameAs(arr));
    EXPECT_NE(twin.row(0), arr.row(0));
    ReleaseKeptPixelBlocks();
}
