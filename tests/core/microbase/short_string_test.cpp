#include "core/microbase/filter_rec.h"
#include "recorders.h"

#include <gtest/gtest.h>

using namespace ormica;

TEST(ShortString, ATextThatCannotBeKeptIsRefusedWithAWarningNamingTheField)
{
    test::RecordingSink sink;
    const QString caption = QStringLiteral("Наименование фильтра");
    EXPECT_TRUE(CheckShortString(QString(80, QChar(0x0416)), caption));
    EXPECT_TRUE(CheckShortString(QString(), caption));
    EXPECT_TRUE(sink.silent());

    EXPECT_FALSE(CheckShortString(QString(81, QLatin1Char('x')), caption));
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], QStringLiteral("Наименование фильтра : текст длиннее 80 символов (81).\r\n"
                                               "Прежнее значение будет восстановлено."));

    // A character outside the basic plane is named whole.
    EXPECT_FALSE(CheckShortString(QStringLiteral("Фильтр 😀"), caption));
    ASSERT_EQ(sink.warnings.size(), 2);
    EXPECT_EQ(sink.warnings[1], QStringLiteral("Наименование фильтра : символ «😀» (U+1F600) не может быть сохранен в "
                                               "кодировке Windows-1251.\r\nПрежнее значение будет восстановлено."));
    EXPECT_EQ(ShortStringRefusal(QStringLiteral("Ωmega")),
              QStringLiteral("символ «Ω» (U+03A9) не может быть сохранен в кодировке Windows-1251."));

    TShortString81 s;
    ASSERT_TRUE(s.setText(QStringLiteral("Резкость")));
    EXPECT_FALSE(s.setText(QString(81, QLatin1Char('y'))));
    EXPECT_FALSE(s.setText(QStringLiteral("Ωmega")));
    EXPECT_EQ(s.text(), QStringLiteral("Резкость"));
    EXPECT_EQ(s.Length, 8);
}
