#include "core/filter/kernel_file.h"
#include "core/filter/popular_filters.h"

#include "recorders.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace ormica {
namespace {

using test::RecordingSink;

using test::fileIn;

QByteArray kernelText(const TFilterKernel& k, const char* between, const char* rowEnd)
{
    QByteArray text;
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c)
            text += QByteArray::number(k.at(r, c)) + (c < 6 ? between : "");
        text += rowEnd;
    }
    return text;
}

TEST(KernelText, AnySeparatorsReadRowZeroFirst)
{
    QString why;
    for (auto [between, rowEnd] : {std::pair{" ", "\n"}, {"\t", "\r\n"}, {"  \t ", "\r"}, {" ", " "}}) {
        TFilterKernel k;
        ASSERT_TRUE(ParseKernelText(kernelText(PopFilterL2, between, rowEnd), k, why)) << why.toStdString();
        EXPECT_EQ(k, PopFilterL2);
    }
    TFilterKernel k;
    QByteArray numbered;
    for (int n = 0; n < 49; ++n)
        numbered += QByteArray::number(n - 24) + (n % 5 == 0 ? "\n\n" : "\t");
    ASSERT_TRUE(ParseKernelText("\n  " + numbered + "  \n", k, why));
    EXPECT_EQ(k.at(0, 0), -24);
    EXPECT_EQ(k.at(0, 6), -18);
    EXPECT_EQ(k.at(1, 0), -17);
    EXPECT_EQ(k.centre(), 0);
    EXPECT_EQ(k.at(6, 6), 24);
    // The ends of 32 bits are numbers; the checks on size come later.
    QByteArray extremes = "-2147483648 2147483647";
    for (int n = 2; n < 49; ++n)
        extremes += " 0";
    ASSERT_TRUE(ParseKernelText(extremes, k, why));
    EXPECT_EQ(k.at(0, 0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(k.at(0, 1), std::numeric_limits<std::int32_t>::max());
}

TEST(KernelText, WrongTextLeavesTheKernelAndSaysWhy)
{
    QByteArray zeros;
    for (int n = 0; n < 48; ++n)
        zeros += "0 ";
    const struct {
        QByteArray text;
        const char* why;
    } cases[] = {
        {zeros, "Чисел 48 вместо 49."},
        {zeros + "0 0", "Чисел больше, чем 49."},
        {"", "Чисел 0 вместо 49."},
        {zeros + "1.5", "\"1.5\" не является целым числом."},
        {zeros + "+1", "\"+1\" не является целым числом."},
        {zeros + "-", "\"-\" не является целым числом."},
        {zeros + "--1", "\"--1\" не является целым числом."},
        {zeros + "7,", "\"7,\" не является целым числом."},
        {zeros + "2147483648", "Число 2147483648 выходит за пределы 32-битного целого."},
        {zeros + "-2147483649", "Число -2147483649 выходит за пределы 32-битного целого."},
        {zeros + "99999999999999999999999999", "Число 99999999999999999999... выходит за пределы 32-битного целого."},
        {zeros + "9999999999999999999999x", "\"99999999999999999999...\" не является целым числом."},
        {zeros + QByteArray("1\0", 2), "\"1?\" не является целым числом."},
    };
    for (const auto& c : cases) {
        TFilterKernel k = PopFilterH1;
        QString why;
        EXPECT_FALSE(ParseKernelText(c.text, k, why)) << c.why;
        EXPECT_EQ(why, QString::fromUtf8(c.why));
        EXPECT_EQ(k, PopFilterH1);
    }
}

TEST(KernelFile, ReadsAFileAndRefusesWhatIsNotAKernel)
{
    QTemporaryDir dir;
    RecordingSink sink;
    TFilterKernel k;
    ASSERT_TRUE(ReadKernelFile(fileIn(dir, "h1.txt", kernelText(PopFilterH1, "\t", "\r\n")), k));
    EXPECT_EQ(k, PopFilterH1);
    EXPECT_TRUE(sink.silent());

    const QString bad = fileIn(dir, "bad.txt", "1 2 3");
    EXPECT_FALSE(ReadKernelFile(bad, k));
    const QString missing = dir.filePath(QStringLiteral("none.txt"));
    EXPECT_FALSE(ReadKernelFile(missing, k));
    EXPECT_FALSE(ReadKernelFile(dir.path(), k));
    // Blanks alone beyond the limit: a valid kernel hidden in a huge file is refused.
    const QString big =
        fileIn(dir, "big.txt", kernelText(PopFilterL1, " ", "\n") + QByteArray(kMaxKernelFileSize, ' '));
    EXPECT_FALSE(ReadKernelFile(big, k));
    EXPECT_EQ(k, PopFilterH1);
    ASSERT_EQ(sink.errors.size(), 4);
    const QString head = QStringLiteral("ReadKernelFile : Файл %1 не содержит фильтра 7 x 7.\r\n");
    EXPECT_EQ(sink.errors[0], head.arg(bad) + QStringLiteral("Чисел 3 вместо 49."));
    EXPECT_EQ(sink.errors[1], head.arg(missing) + QStringLiteral("Файл не найден."));
    EXPECT_EQ(sink.errors[2], head.arg(dir.path()) + QStringLiteral("Это не обычный файл."));
    EXPECT_EQ(sink.errors[3], head.arg(big) + QStringLiteral("Файл больше 65536 байт."));
    EXPECT_TRUE(sink.warnings.isEmpty());
    // Exactly at the limit is still read.
    QByteArray atLimit = kernelText(PopFilterL3, " ", "\n");
    atLimit += QByteArray(kMaxKernelFileSize - atLimit.size(), '\n');
    ASSERT_TRUE(ReadKernelFile(fileIn(dir, "limit.txt", atLimit), k));
    EXPECT_EQ(k, PopFilterL3);
}

}  // namespace
}  // namespace ormica
