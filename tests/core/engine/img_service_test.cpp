#include "core/engine/img_service.h"

#include "recorders.h"

#include <QGuiApplication>
#include <QPalette>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace ormica;

namespace {

}  // namespace

TEST(BitmapArray, RoundTripKeepsEveryPixelIncludingPaddedRows)
{
    test::RecordingSink sink;
    for (const QSize size : {QSize(1, 1), QSize(5, 3), QSize(17, 9)}) {  // 15- and 51-byte rows are padded
        SCOPED_TRACE(size.width());
        const QImage source = test::patternImage(size.width(), size.height());
        test::RecordingProgress progress;
        TImgTabBGR arr;
        BitMapToImgTab(source, arr, &progress);
        EXPECT_TRUE(test::arrayHoldsPicture(arr, source));
        EXPECT_EQ(progress.maximum(), size.height() - 1);
        EXPECT_EQ(progress.position(), 0);

        QImage back(1, 1, QImage::Format_BGR888);
        ImgTabToBitMap(back, arr, &progress);
        EXPECT_EQ(back, source);
    }
    EXPECT_TRUE(sink.silent());
}

TEST(BitmapArray, OtherFormatsAndEmptyInputLeaveOutputsAlone)
{
    TImgTabBGR arr = test::arrayOf(test::patternImage(4, 4));
    const TImgTabBGR before = arr;

    QImage rgb32 = test::patternImage(8, 8).convertToFormat(QImage::Format_RGB32);
    BitMapToImgTab(rgb32, arr, nullptr);
    EXPECT_TRUE(arr.sameAs(before));

    TImageControl control;
    control.setPicture(rgb32);
    ImageToImgTab(control, arr, nullptr);
    EXPECT_TRUE(arr.sameAs(before));

    QImage bitmap = test::patternImage(3, 3);
    const QImage kept = bitmap;
    ImgTabToBitMap(bitmap, TImgTabBGR(), nullptr);
    EXPECT_EQ(bitmap, kept);
    ImgTabToBitMap(rgb32, arr, nullptr);
    EXPECT_EQ(rgb32.format(), QImage::Format_RGB32);
}

TEST(BitmapArray, EmptyArrayGivesTheControlAnEmptyPicture)
{
    TImageControl control(QSize(161, 145));
    control.setPicture(test::patternImage(10, 10));
    ImgTabToImage(TImgTabBGR(), control, nullptr);
    EXPECT_TRUE(control.picture().isNull());

    const TImgTabBGR arr = test::arrayOf(test::patternImage(7, 2));
    ImgTabToImage(arr, control, nullptr);
    EXPECT_TRUE(test::arrayHoldsPicture(arr, control.picture()));
    EXPECT_EQ(control.width(), 7);
}

TEST(BitmapArray, ShortRowsAreNeverReadPast)
{
    TImgTabBGR arr;
    const std::vector<qsizetype> lengths{9, 4, 0};
    arr.setShape(lengths);
    std::fill(arr.row(0), arr.row(0) + 9, std::uint8_t(200));
    std::fill(arr.row(1), arr.row(1) + 4, std::uint8_t(100));
    QImage bitmap(1, 1, QImage::Format_BGR888);
    ImgTabToBitMap(bitmap, arr, nullptr);
    ASSERT_EQ(bitmap.size(), QSize(3, 3));
    EXPECT_EQ(bitmap.constScanLine(1)[3], 100);
    EXPECT_EQ(bitmap.constScanLine(1)[4], 0);
    EXPECT_EQ(bitmap.constScanLine(2)[0], 0);
}

TEST(BitmapArray, TooManyRowsIsRefusedWithItsMessage)
{
    test::RecordingSink sink;
    TImgTabBGR arr = test::arrayOf(test::patternImage(2, 2));
    BitMapToImgTab(QImage(1, 65537, QImage::Format_BGR888), arr, nullptr);
    EXPECT_TRUE(arr.empty());
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], QStringLiteral("BitMapToImgTab : Не могу записать BitMap в BGR-массив."));

    TImgTabBGR tall;
    tall.setShape(65537, 3);
    QImage bitmap(1, 1, QImage::Format_BGR888);
    ImgTabToBitMap(bitmap, tall, nullptr);
    EXPECT_EQ(sink.warnings.back(), QStringLiteral("ImgTabToBitMap : Не могу записать BGR-массив в BitMap."));
    TImgTabBGR copy = test::arrayOf(test::patternImage(2, 2));
    TabBRGtoTabBGR(tall, copy);
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(sink.warnings.back(), QStringLiteral("TabBRGtoTabBGR : Не могу скопировать массив."));
}

// Handing an array on gives what the copies give; the block changes hands
// when its rows are whole pixels, and the copies' trimming and refusals stay.
TEST(ColourArray, HandedOnArraysKeepTheirBlockAndTheCopiesRules)
{
    test::RecordingSink sink;
    const TImgTabBGR arr = test::arrayOf(test::patternImage(33, 5, 7));
    TImgTabColor copied, moved;
    TabBRGtoTabColor(arr, copied);
    TImgTabBGR source = arr;
    const void* block = source.row(0);
    MoveTabBRGtoTabColor(std::move(source), moved);
    EXPECT_TRUE(source.empty());
    EXPECT_TRUE(moved.sameAs(copied));
    EXPECT_EQ(static_cast<const void*>(moved.row(0)), block);
    TImgTabBGR back;
    MoveTabColorToTabBRG(std::move(moved), back);
    EXPECT_TRUE(moved.empty());
    EXPECT_TRUE(back.sameAs(arr));
    EXPECT_EQ(static_cast<const void*>(back.row(0)), block);

    // A row of 7 bytes loses its last byte, as in the copy.
    TImgTabBGR ragged;
    ragged.setShape(std::vector<qsizetype>{6, 7});
    std::memset(ragged.row(0), 9, 13);
    TabBRGtoTabColor(ragged, copied);
    MoveTabBRGtoTabColor(std::move(ragged), moved);
    EXPECT_TRUE(moved.sameAs(copied));
    EXPECT_TRUE(sink.silent());

    TImgTabColor wideColour;
    wideColour.setShape(1, 21846);
    back = arr;
    MoveTabColorToTabBRG(std::move(wideColour), back);
    EXPECT_TRUE(back.empty());
    EXPECT_EQ(sink.warnings.back(), QStringLiteral("TabColorToTabBRG : Не могу конвертировать массив."));
}

TEST(ColourArray, RoundTripIsExactAndLongRowsAreRefused)
{
    test::RecordingSink sink;
    const TImgTabBGR arr = test::arrayOf(test::patternImage(33, 5, 7));
    TImgTabColor colour;
    TabBRGtoTabColor(arr, colour);
    ASSERT_EQ(colour.height(), 5);
    ASSERT_EQ(colour.width(), 33);
    EXPECT_EQ(colour.row(2)[4].g, arr.row(2)[13]);
    TImgTabBGR back;
    TabColorToTabBRG(colour, back);
    EXPECT_TRUE(back.sameAs(arr));
    EXPECT_TRUE(sink.silent());

    // 21,845 pixels fit a 16-bit byte counter; one more does not.
    TImgTabBGR wide;
    wide.setShape(1, 3 * 21845);
    TabBRGtoTabColor(wide, colour);
    EXPECT_EQ(colour.width(), 21845);
    wide.setShape(1, 3 * 21846);
    TabBRGtoTabColor(wide, colour);
    EXPECT_TRUE(colour.empty());
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], QStringLiteral("TabBRGtoTabColor : Не могу конвертировать массив."));

    TImgTabColor wideColour;
    wideColour.setShape(1, 21846);
    back = arr;
    TabColorToTabBRG(wideColour, back);
    EXPECT_TRUE(back.empty());
    EXPECT_EQ(sink.warnings.back(), QStringLiteral("TabColorToTabBRG : Не могу конвертировать массив."));
}

TEST(Fragments, SelectedToImgTabClipsAndSkipsStrips)
{
    const QImage picture = test::patternImage(100, 100, 3);
    const TImgTabBGR arr = test::arrayOf(picture);
    TImgTabBGR out = test::arrayOf(test::patternImage(2, 2));
    const TImgTabBGR before = out;

    SelectedToImgTab(arr, {5, 5, 5, 20}, out);  // one column wide
    EXPECT_TRUE(out.sameAs(before));
    SelectedToImgTab(arr, {20, 5, 5, 20}, out);  // reversed
    EXPECT_TRUE(out.sameAs(before));
    SelectedToImgTab(arr, {150, 150, 200, 200}, out);  // outside
    EXPECT_TRUE(out.sameAs(before));

    SelectedToImgTab(arr, {-10, -10, 2, 3}, out);
    ASSERT_EQ(out.height(), 4);
    ASSERT_EQ(out.width(), 3);
    EXPECT_EQ(std::memcmp(out.row(3), picture.constScanLine(3), 9), 0);

    SelectedToImgTab(arr, {50, 40, 200, 150}, out);
    ASSERT_EQ(out.height(), 60);
    ASSERT_EQ(out.width(), 50);
    EXPECT_EQ(std::memcmp(out.row(0), picture.constScanLine(40) + 150, 150), 0);

    // The source may be the output (cropping in place).
    TImgTabBGR same = arr;
    SelectedToImgTab(same, {10, 10, 19, 14}, same);
    EXPECT_EQ(same.height(), 5);
    EXPECT_EQ(std::memcmp(same.row(4), picture.constScanLine(14) + 30, 30), 0);
}

TEST(Fragments, AreaCornersInAnyOrderGiveTheSameFragment)
{
    const QImage picture = test::patternImage(40, 30, 5);
    TImgTabColor a, b;
    AreaBitMapToImgTabColor(picture, {5, 6, 12, 20}, a);
    AreaBitMapToImgTabColor(picture, {12, 20, 5, 6}, b);
    ASSERT_EQ(a.height(), 15);
    ASSERT_EQ(a.width(), 8);
    EXPECT_TRUE(a.sameAs(b));
    EXPECT_EQ(a.row(0)[0].r, picture.constScanLine(6)[5 * 3 + 2]);

    AreaBitMapToImgTabColor(picture, {-5, -5, 100, 100}, b);  // clipped to the picture
    EXPECT_EQ(b.width(), 40);
    EXPECT_EQ(b.height(), 30);
}

TEST(Fragments, ColourArrayIsDrawnClippedAtItsPoint)
{
    test::RecordingSink sink;
    TImgTabColor frag;
    AreaBitMapToImgTabColor(test::patternImage(10, 10, 9), {0, 0, 9, 9}, frag);
    QImage target(12, 8, QImage::Format_BGR888);
    target.fill(Qt::black);
    const QImage blank = target;

    SelectedToImgTabColor(frag, {-1, 0}, target);
    EXPECT_EQ(target, blank);
    SelectedToImgTabColor(frag, {5, 3}, target);
    EXPECT_EQ(target.pixel(4, 3), blank.pixel(4, 3));
    EXPECT_EQ(std::memcmp(target.constScanLine(3) + 15, frag.row(0), 7 * 3), 0);
    EXPECT_EQ(std::memcmp(target.constScanLine(7) + 15, frag.row(4), 7 * 3), 0);
    EXPECT_TRUE(sink.silent());
}

TEST(Filling, SetAndClearUsesResolvedSystemColoursAndTheShape)
{
    TImgTabBGR shape;
    const std::vector<qsizetype> lengths{6, 4, 0};
    shape.setShape(lengths);
    test::RecordingProgress progress;
    TImgTabBGR out;
    ASSERT_TRUE(SetAndCrearTabBGR(shape, clBtnFace, out, &progress));
    const QColor face = QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
    ASSERT_EQ(out.rowLength(0), 6);
    EXPECT_EQ(out.row(0)[3], face.blue());
    EXPECT_EQ(out.row(0)[4], face.green());
    EXPECT_EQ(out.row(0)[5], face.red());
    EXPECT_EQ(out.rowLength(1), 4);
    EXPECT_EQ(out.row(1)[3], face.blue());
    EXPECT_EQ(out.rowLength(2), 0);
    EXPECT_EQ(progress.maximum(), 3);
    EXPECT_EQ(progress.position(), 3);  // left at its end

    ASSERT_TRUE(SetAndCrearTabBGR(shape, RGBToColor(1, 2, 3), out, nullptr));
    EXPECT_EQ(out.row(0)[0], 3);
    EXPECT_EQ(out.row(0)[2], 1);
}

TEST(Filling, SystemColoursResolveThroughThePalette)
{
    EXPECT_EQ(ColorToBGR(0x00336699), (TBGRTriple{0x33, 0x66, 0x99}));
    const QColor base = QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
    EXPECT_EQ(ColorToBGRTriple(clWindow), (TBGRTriple{uchar(base.blue()), uchar(base.green()), uchar(base.red())}));
    EXPECT_EQ(ColorToBGRTriple(0x00102030), (TBGRTriple{0x10, 0x20, 0x30}));
}

TEST(Controls, PaintFillsTheDesignSizeAndMinimizeShrinks)
{
    TImageControl control(QSize(161, 145));
    PaintImage(control, RGBToColor(10, 20, 30));
    ASSERT_EQ(control.picture().size(), QSize(161, 145));
    EXPECT_EQ(control.picture().format(), QImage::Format_BGR888);
    EXPECT_EQ(control.picture().pixelColor(160, 144), QColor(10, 20, 30));

    MinimizePicture(control);
    EXPECT_EQ(control.picture().size(), QSize(2, 2));
    PaintImage(control, clBtnFace);
    EXPECT_EQ(control.picture().size(), QSize(2, 2));
    EXPECT_EQ(control.picture().pixelColor(1, 1), QGuiApplication::palette().color(QPalette::Active, QPalette::Button));
}
