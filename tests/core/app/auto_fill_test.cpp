#include "core/app/auto_fill.h"

#include "recorders.h"

#include <gtest/gtest.h>

using namespace ormica;

namespace {
const QString kQuestion = QStringLiteral("Размер изображения больше чем 18000000 пикселей\r\n"
                                         "Автозаполнение массива для обработки изображений может\r\n"
                                         "резко увеличить время выполнения большинства операций.\r\n"
                                         "Выполнить заполнение массива для обработки изображений?");
}

TEST(AutoFill, FillsUpToTheLimitWithoutAsking)
{
    test::RecordingSink sink;
    TImageControl image;
    QImage picture(5000, 3600, QImage::Format_BGR888);  // exactly 18,000,000 pixels
    picture.fill(QColor(1, 2, 3));
    image.setPicture(picture);
    TImgTabBGR arr;
    AutoFillImgTab(image, arr, nullptr);
    EXPECT_TRUE(sink.silent());
    ASSERT_EQ(arr.height(), 3600);
    EXPECT_EQ(arr.width(), 5000);
    EXPECT_EQ(arr.row(3599)[3 * 4999 + 2], 1);
}

TEST(AutoFill, AsksAboveTheLimitAndEmptiesTheArrayOnNo)
{
    test::RecordingSink sink;
    TImageControl image;
    QImage picture(5000, 3601, QImage::Format_BGR888);
    picture.fill(QColor(9, 8, 7));
    image.setPicture(picture);
    TImgTabBGR arr;
    arr.setShape(2, 6);

    sink.answers.push_back(false);
    AutoFillImgTab(image, arr, nullptr);
    ASSERT_EQ(sink.questions.size(), 1);
    EXPECT_EQ(sink.questions[0], kQuestion);
    EXPECT_EQ(sink.questionKinds[0], TQuestionKind::Confirmation);
    EXPECT_TRUE(arr.empty());
    EXPECT_EQ(image.picture().size(), QSize(5000, 3601));

    sink.answers.push_back(true);
    AutoFillImgTab(image, arr, nullptr);
    EXPECT_EQ(arr.height(), 3601);
}
