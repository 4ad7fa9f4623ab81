#include "engine/img_tab.h"

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
