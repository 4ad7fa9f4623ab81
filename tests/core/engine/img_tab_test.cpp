#include "core/engine/img_tab.h"

#include <gtest/gtest.h>

using namespace ormica;

TEST(ImgTab, WidthIsRowZeroOverThreeAndCopiesAreDeep)
{
    TImgTabBGR a;
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.width(), 0);
    const std::vector<qsizetype> lengths{7, 3, 0};  // ragged, as after a text import
    a.setShape(lengths);
    EXPECT_EQ(a.height(), 3);
    EXPECT_EQ(a.width(), 2);
    EXPECT_EQ(a.rowLength(2), 0);
    for (int r = 0; r < 2; ++r)
        for (auto& b : a[r])
            b = std::uint8_t(r + 1);

    TImgTabBGR copy = a;
    copy.row(0)[0] = 99;
    EXPECT_EQ(a.row(0)[0], 1);
    EXPECT_EQ(copy.rowLength(1), 3);
    EXPECT_EQ(copy.row(1)[2], 2);

    copy = copy;  // self-assignment keeps the content
    EXPECT_EQ(copy.row(0)[0], 99);

    TImgTabBGR moved = std::move(copy);
    EXPECT_EQ(moved.height(), 3);
    moved.clear();
    EXPECT_TRUE(moved.empty());
}

TEST(ImgTab, ReshapingReusesMemoryWithoutMixingUpRows)
{
    TImgTabBGR a;
    a.setShape(4, 30);
    const std::uint8_t* block = a.row(0);
    a.setShape(5, 24);  // smaller total: the block is kept
    EXPECT_EQ(a.row(0), block);
    EXPECT_EQ(a.height(), 5);
    EXPECT_EQ(a.rowLength(4), 24);
    EXPECT_EQ(a.row(4) - a.row(0), 96);

    TImgTabBGR big;
    big.setShape(100, 300);
    std::memset(big.row(0), 9, 300);
    a = big;  // a copy into a smaller block must grow it
    EXPECT_EQ(a.height(), 100);
    EXPECT_EQ(a.row(0)[299], 9);
    EXPECT_NE(a.row(0), big.row(0));

    TImgTabBGR tiny;
    tiny.setShape(1, 3);
    big = tiny;  // a far smaller need gives the large block back
    EXPECT_EQ(big.height(), 1);
    EXPECT_EQ(big.width(), 1);

    TImgTabBGR moved = std::move(a);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(moved.row(0)[0], 9);
}
