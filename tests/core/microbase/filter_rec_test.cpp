#include "core/filter/popular_filters.h"
#include "core/microbase/filter_rec.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace ormica;

namespace {

// A payload put together field by field at the offsets of the file format.
TFilterRecBytes payload(const QByteArray& name, const TFilterKernel& k, std::int32_t scale, std::int32_t type,
                        const QByteArray& c1, const QByteArray& c2)
{
    TFilterRecBytes b{};
    auto text = [&](int at, const QByteArray& s) {
        b[std::size_t(at)] = std::uint8_t(s.size());
        std::copy(s.cbegin(), s.cend(), b.begin() + at + 1);
    };
    text(0, name);
    for (int i = 0; i < 49; ++i)
        qToLittleEndian<std::int32_t>(k.Weights[std::size_t(i)], b.data() + 81 + 4 * i);
    qToLittleEndian<std::int32_t>(scale, b.data() + 277);
    qToLittleEndian<std::int32_t>(type, b.data() + 281);
    text(285, c1);
    text(366, c2);
    return b;
}

}  // namespace

TEST(FilterRec, FieldsSitAtTheirOffsetsLittleEndian)
{
    TFilterKernel k = PopFilterH1;
    k.at(0, 0) = -2;          // 0xFFFFFFFE
    k.at(6, 6) = 0x01020304;  // the last weight, to see the byte order
    TFilterRec rec;
    ASSERT_TRUE(rec.Name.setText(QStringLiteral("Резкость")));
    rec.Kernel = k;
    rec.Scale = 280;
    rec.Type = 2;
    ASSERT_TRUE(rec.Comment1.setText(QStringLiteral("first")));
    ASSERT_TRUE(rec.Comment2.setText(QStringLiteral("Вторая строка")));
    const TFilterRecBytes bytes = FilterRecToBytes(rec);
    EXPECT_EQ(bytes, payload("\xD0\xE5\xE7\xEA\xEE\xF1\xF2\xFC", k, 280, 2, "first",
                             "\xC2\xF2\xEE\xF0\xE0\xFF \xF1\xF2\xF0\xEE\xEA\xE0"));
    EXPECT_EQ(bytes[81], 0xFE);
    EXPECT_EQ(bytes[84], 0xFF);
    EXPECT_EQ(bytes[81 + 48 * 4], 0x04);
    EXPECT_EQ(bytes[81 + 48 * 4 + 3], 0x01);
    EXPECT_EQ(bytes[277], 280 & 0xFF);
    EXPECT_EQ(bytes[278], 280 >> 8);
    EXPECT_EQ(bytes[281], 2);
    EXPECT_EQ(FilterRecFromBytes(bytes.data()), rec);
}

TEST(FilterRec, RemnantsAfterTheLengthByteSurviveAndAreNotText)
{
    // "Sharp" written over an older, longer name: the rest of the old one stays in the field.
    TFilterRecBytes raw = payload("Sharpening filter", PopFilterL2, 43, 1, "", "");
    raw[0] = 5;
    TFilterRec rec = FilterRecFromBytes(raw.data());
    EXPECT_EQ(rec.Name.text(), QStringLiteral("Sharp"));
    EXPECT_EQ(FilterRecToBytes(rec), raw);  // an unedited record writes back byte for byte

    // Setting a shorter text keeps what is after it; a longer one covers it.
    ASSERT_TRUE(rec.Name.setText(QStringLiteral("Ab")));
    TFilterRecBytes after = FilterRecToBytes(rec);
    EXPECT_EQ(after[0], 2);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(after.data() + 1), 17), QByteArray("Abarpening filter"));
    ASSERT_TRUE(rec.Name.setText(QString(80, QLatin1Char('z'))));
    after = FilterRecToBytes(rec);
    EXPECT_EQ(after[0], 80);
    EXPECT_EQ(after[80], 'z');
    EXPECT_EQ(after[81], raw[81]);  // the kernel is untouched
}

TEST(FilterRec, ALengthByteAbove80TakesTheFieldOnly)
{
    TFilterRecBytes raw = payload("", PopFilterH3, 1, 0, "", "");
    for (int i = 1; i <= 80; ++i)
        raw[std::size_t(i)] = std::uint8_t('a' + i % 26);
    raw[0] = 255;
    raw[285] = 81;
    raw[366] = 200;
    const TFilterRec rec = FilterRecFromBytes(raw.data());
    EXPECT_EQ(rec.Name.text().size(), 80);
    EXPECT_EQ(rec.Name.text().back(), QLatin1Char('a' + 80 % 26));
    EXPECT_EQ(rec.Name.usedLength(), 80);
    // Nothing of the kernel leaks into the texts: the comment fields are zero bytes.
    EXPECT_EQ(rec.Comment1.text(), QString(80, QChar(0)));
    EXPECT_EQ(rec.Comment2.text(), QString(80, QChar(0)));
    EXPECT_EQ(rec.Kernel, PopFilterH3);
    EXPECT_EQ(FilterRecToBytes(rec), raw);
}

TEST(FilterRec, CyrillicTextsRoundTripThroughWindows1251)
{
    const QString name = QStringLiteral("Сглаживающий фильтр «мягкий» №2 — ЁЖИК ёжик");
    const QString comment = QStringLiteral("Ширина 7×7? нет: «5 на 5», вес центра 16");
    TFilterRec rec;
    ASSERT_TRUE(rec.Name.setText(name));
    EXPECT_FALSE(rec.Comment1.setText(comment));  // × is not in the code page
    ASSERT_TRUE(rec.Comment1.setText(QStringLiteral("Ширина 5 на 5, вес центра 16")));
    const TFilterRecBytes bytes = FilterRecToBytes(rec);
    EXPECT_EQ(bytes[0], name.size());  // one byte a character
    EXPECT_EQ(bytes[1], 0xD1);         // С
    const TFilterRec back = FilterRecFromBytes(bytes.data());
    EXPECT_EQ(back.Name.text(), name);
    EXPECT_EQ(back.Comment1.text(), QStringLiteral("Ширина 5 на 5, вес центра 16"));
    EXPECT_EQ(back.Comment2.text(), QString());
}

TEST(FilterRec, TheFilterGoesToAndFromTheFilterWindowsWorkingFilter)
{
    TFilterRec rec;
    ASSERT_TRUE(rec.Name.setText(QStringLiteral("kept")));
    TFilterData data;
    data.Kernel = PopFilterL1;
    data.Scale = 108;
    data.Type = 1;
    PutFilterData(rec, data);
    EXPECT_EQ(rec.Kernel, PopFilterL1);
    EXPECT_EQ(rec.Scale, 108);
    EXPECT_EQ(rec.Type, 1);
    EXPECT_EQ(rec.Name.text(), QStringLiteral("kept"));
    EXPECT_EQ(FilterDataOf(rec), data);
}
