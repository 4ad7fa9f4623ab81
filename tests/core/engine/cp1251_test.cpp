#include "core/engine/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

using namespace ormica;

namespace {

// The C library's own converter, as a second opinion on the table.
QString viaIconv(std::uint8_t byte)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == iconv_t(-1))
        return QStringLiteral("<no iconv>");
    char in[1] = {char(byte)};
    char out[8] = {};
    char* pin = in;
    char* pout = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    const std::size_t r = iconv(cd, &pin, &inLeft, &pout, &outLeft);
    iconv_close(cd);
    if (r == std::size_t(-1))
        return QStringLiteral("<unassigned>");
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(out), qsizetype((sizeof out - outLeft) / 2));
}

}  // namespace

TEST(Cp1251, EveryByteDecodesAsTheCLibraryDecodesItAndEncodesBack)
{
    if (viaIconv('A') != QStringLiteral("A"))
        GTEST_SKIP() << "no CP1251 in iconv here";
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString mine = FromCp1251(&byte, 1);
        ASSERT_EQ(mine.size(), 1) << b;
        if (b != 0x98) {
            EXPECT_EQ(mine, viaIconv(std::uint8_t(b))) << "byte " << b;
        }
        const std::optional<QByteArray> back = ToCp1251(mine);
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, QByteArray(1, byte)) << b;
    }
    // Letters the program's names are made of.
    EXPECT_EQ(*ToCp1251(QStringLiteral("АЯаяЁё№")), QByteArray("\xC0\xDF\xE0\xFF\xA8\xB8\xB9"));
    EXPECT_EQ(FromCp1251(QByteArray("\xD1\xE3\xEB\xE0\xE6\xE8\xE2\xE0\xFE\xF9\xE8\xE9")),
              QStringLiteral("Сглаживающий"));
}

TEST(Cp1251, CharactersWithoutAByteAreRefusedWithWhereTheyAre)
{
    EXPECT_FALSE(ToCp1251(QStringLiteral("filter ✓")).has_value());
    EXPECT_FALSE(ToCp1251(QStringLiteral("中")).has_value());
    EXPECT_FALSE(ToCp1251(QStringLiteral("ß")).has_value());
    EXPECT_EQ(FirstNonCp1251(QStringLiteral("abc✓d")), 3);
    EXPECT_EQ(FirstNonCp1251(QStringLiteral("Фильтр №1 «а» — €")), -1);
    EXPECT_EQ(FirstNonCp1251(QString()), -1);
    EXPECT_EQ(*ToCp1251(QString()), QByteArray());
}
