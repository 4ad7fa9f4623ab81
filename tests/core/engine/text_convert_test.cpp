#include "core/engine/text_convert.h"

#include "recorders.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace ormica;

namespace {
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& l) : saved_(QLocale()) { QLocale::setDefault(l); }
    ~LocaleScope() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};
}  // namespace

TEST(TextToReal, FollowsTheLocaleDecimalSeparator)
{
    test::RecordingSink sink;
    long double v = -1;
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        EXPECT_TRUE(TextToReal(QStringLiteral("89,9"), v));
        EXPECT_EQ(v, 89.9L);  // read at full extended precision
        EXPECT_TRUE(TextToReal(QStringLiteral(" -0,5 "), v));
        EXPECT_EQ(v, -0.5L);
        EXPECT_FALSE(TextToReal(QStringLiteral("89.9"), v));
        EXPECT_EQ(v, 0);
    }
    {
        LocaleScope c(QLocale::c());
        EXPECT_TRUE(TextToReal(QStringLiteral("89.9"), v));
        EXPECT_EQ(v, 89.9L);
        EXPECT_FALSE(TextToReal(QStringLiteral("1,5"), v));  // no group separators
    }
    ASSERT_EQ(sink.warnings.size(), 2);
    EXPECT_EQ(sink.warnings[0], QStringLiteral(" Введенный Вами текст : 89.9\r\n Не является действительным числом."));
}

TEST(TextToReal, EmptyTextIsZeroAndBadTextIsQuoted)
{
    test::RecordingSink sink;
    long double v = 7;
    EXPECT_TRUE(TextToReal(QString(), v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(sink.silent());
    EXPECT_FALSE(TextToReal(QStringLiteral("abc"), v));
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], QStringLiteral(" Введенный Вами текст : abc\r\n Не является действительным числом."));
}

TEST(TextToInt, TrimsAndFailsSilently)
{
    test::RecordingSink sink;
    int v = 5;
    EXPECT_TRUE(TextToInt(QStringLiteral("  42 "), v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(TextToInt(QStringLiteral("   "), v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(TextToInt(QStringLiteral("-17"), v));
    EXPECT_EQ(v, -17);
    EXPECT_TRUE(TextToInt(QStringLiteral("$FF"), v));
    EXPECT_EQ(v, 255);
    v = 5;
    EXPECT_FALSE(TextToInt(QStringLiteral("4x"), v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(TextToInt(QStringLiteral("99999999999"), v));
    EXPECT_TRUE(sink.silent());
}
