#include "core/transfer/graph_label.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <limits>

namespace ormica {
namespace {

// Sets the default locale for one test and puts the previous one back.
class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& l) : previous_(QLocale()) { QLocale::setDefault(l); }
    ~LocaleGuard() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

TEST(GraphLabel, FixedFormatsWidthAndJustification)
{
    LocaleGuard c(QLocale::c());
    EXPECT_EQ(FormatGraphLabel("%-0.2f", 25.5L), "25.50");
    EXPECT_EQ(FormatGraphLabel("%-0.2f", -4.0L), "-4.00");
    EXPECT_EQ(FormatGraphLabel("%3.0f", 5.0L), "  5");
    EXPECT_EQ(FormatGraphLabel("%3.0f", 255.0L), "255");
    EXPECT_EQ(FormatGraphLabel("%3.0f", 1234.0L), "1234");  // width is a minimum
    EXPECT_EQ(FormatGraphLabel("%-5.1f", 1.0L), "1.0  ");
    EXPECT_EQ(FormatGraphLabel("%f", 3.0L), "3.00");  // precision 2 when omitted
    EXPECT_EQ(FormatGraphLabel("x=%-0.1f%%", 5.0L), "x=5.0%");
    EXPECT_EQ(FormatGraphLabel("abc", 5.0L), "abc");
    EXPECT_EQ(FormatGraphLabel("%-0.3f", 0.0001L), "0.000");
}

// Decimal digits round half away from zero, not half to even as printf does
// on the binary value: 76.5 and 2.25 are exact in binary, printf gives 76 and 2.2.
TEST(GraphLabel, HalvesRoundAwayFromZero)
{
    LocaleGuard c(QLocale::c());
    EXPECT_EQ(FormatGraphLabel("%3.0f", 76.5L), " 77");
    EXPECT_EQ(FormatGraphLabel("%3.0f", 178.5L), "179");
    EXPECT_EQ(FormatGraphLabel("%3.0f", -76.5L), "-77");
    EXPECT_EQ(FormatGraphLabel("%-0.1f", 2.25L), "2.3");
    // 0.995L lies just below 0.995, but its 18 significant digits read 0.995...0.
    EXPECT_EQ(FormatGraphLabel("%-0.2f", 0.995L), "1.00");
    EXPECT_EQ(FormatGraphLabel("%-0.2f", 9.995L), "10.00");
    EXPECT_EQ(FormatGraphLabel("%3.0f", 999.5L), "1000");
    EXPECT_EQ(FormatGraphLabel("%3.0f", 0.5L), "  1");
    EXPECT_EQ(FormatGraphLabel("%3.0f", 0.49L), "  0");
    // A negative value that rounds to zero shows no sign.
    EXPECT_EQ(FormatGraphLabel("%-0.2f", -0.004L), "0.00");
}

TEST(GraphLabel, LocaleDecimalSeparator)
{
    LocaleGuard ru(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(FormatGraphLabel("%-0.2f", 25.5L), "25,50");
    EXPECT_EQ(FormatGraphLabel("%3.0f", 25.5L), " 26");
}

TEST(GraphLabel, UnusableFormatsGiveNoLabel)
{
    LocaleGuard c(QLocale::c());
    EXPECT_EQ(FormatGraphLabel("%d", 5.0L), "");
    EXPECT_EQ(FormatGraphLabel("%s", 5.0L), "");
    EXPECT_EQ(FormatGraphLabel("%f %f", 5.0L), "");
    EXPECT_EQ(FormatGraphLabel("%.f", 5.0L), "");
    EXPECT_EQ(FormatGraphLabel("%", 5.0L), "");
    EXPECT_EQ(FormatGraphLabel("", 5.0L), "");
    EXPECT_EQ(FormatGraphLabel("%-0.2f", std::numeric_limits<long double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FormatGraphLabel("%-0.2f", -std::numeric_limits<long double>::infinity()), "-INF");
}

}  // namespace
}  // namespace ormica
