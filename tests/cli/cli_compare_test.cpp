#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "core/histogram/image_compare.h"
#include "recorders.h"

#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

using namespace ormica;
using test::cli;
using test::CliRun;
using test::RefusedWith;
using test::words;

namespace {

// The output the command documents: whole counts, then %.6g, "inf" for an
// infinite PSNR.
QString comparisonText(const TImageComparison& c)
{
    QString text = QStringLiteral("differing\t%1\n").arg(c.Differing);
    const char* names[] = {"max", "mae", "mse", "psnr"};
    for (int line = 0; line < 4; ++line) {
        text += QLatin1String(names[line]);
        for (const TChannelDifference& d : c.Channels) {
            const double v[] = {double(d.Max), d.Mae, d.Mse, d.Psnr};
            char number[40];
            std::snprintf(number, sizeof number, "%.6g", v[line]);
            text += QLatin1Char('\t') + (std::isinf(v[line]) ? QStringLiteral("inf") : QLatin1String(number));
        }
        text += QLatin1Char('\n');
    }
    return text;
}

}  // namespace

TEST(Cli, ComparePrintsTheCoreNumbersAndWritesTheDifference)
{
    QTemporaryDir dir;
    const QImage a = test::patternImage(31, 19, 2);
    QImage b = a.copy();
    for (int x = 0; x < 31; x += 3)
        b.setPixel(x, x % 19, qRgb(x * 8, 255 - x, 3 * x));
    const QString fa = dir.filePath(QStringLiteral("a.bmp")), fb = dir.filePath(QStringLiteral("b.bmp"));
    ASSERT_TRUE(WriteBmpFile(a, fa));
    ASSERT_TRUE(WriteBmpFile(b, fb));
    const auto numbers = CompareImages(a, b);
    ASSERT_TRUE(numbers);
    const QString expected = comparisonText(*numbers);
    // Not whole, so the decimal point shows.
    ASSERT_TRUE(expected.contains(QLatin1Char('.')));

    CliRun r = cli(words("compare %1 %2", {fa, fb}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, expected);
    EXPECT_TRUE(r.err.isEmpty());

    const QString out = dir.filePath(QStringLiteral("d.bmp"));
    for (int gain : {1, 64}) {
        QFile::remove(out);
        r = cli(words("compare --gain %3 %1 %2 --diff %4", {fa, fb, QString::number(gain), out}));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, expected);
        EXPECT_TRUE(
            test::sameArrays(test::bmpArray(out), test::arrayOf(DifferenceImage(a, b, TCompareChannel::All, gain))))
            << gain;
    }

    // A picture against itself: nothing differs, every PSNR infinite.
    r = cli(words("compare %1 %1", {fa}));
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("differing\t0\nmax\t0\t0\t0\t0\nmae\t0\t0\t0\t0\nmse\t0\t0\t0\t0\n"
                                    "psnr\tinf\tinf\tinf\tinf\n"));
}

TEST(Cli, CompareRefusesPicturesOfDifferentSizesAndAWrongGain)
{
    QTemporaryDir dir;
    const QString fa = dir.filePath(QStringLiteral("a.bmp")), fb = dir.filePath(QStringLiteral("b.bmp"));
    const QString out = dir.filePath(QStringLiteral("d.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(8, 6), fa));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(6, 8), fb));
    const CliRun r = cli(words("compare %1 %2 --diff %3", {fa, fb, out}));
    EXPECT_TRUE(RefusedWith(r, 1));
    EXPECT_TRUE(r.err.contains(QLatin1String("different sizes")));
    EXPECT_FALSE(QFile::exists(out));
    for (const char* gain : {"0", "65", "2.5"})
        EXPECT_TRUE(RefusedWith(cli(words("compare %1 %1 --diff %2 --gain %3", {fa, out, QLatin1String(gain)})), 2))
            << gain;
}
