#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "core/filter/filter_tab.h"
#include "core/filter/popular_filters.h"
#include "core/filter/regulators.h"
#include "recorders.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ormica;
using test::bmpArray;
using test::cli;
using test::cliInDefaultLanguage;
using test::CliRun;
using test::expectPrefixedLines;
using test::filteredAsTheWindowDoes;
using test::kernelFileText;
using test::words;

// The digital filter command.

TEST(CliFilter, ConvolvesAsTheWholeImageCommandDoes)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(41, 29, 4), bmp));
    const TImgTabBGR original = bmpArray(bmp);
    const QString out = dir.filePath(QStringLiteral("out.bmp"));

    // Every ready-made kernel, with its weight sum as the scale.
    const std::pair<const char*, TFilterKernel> ready[] = {{"H1", PopFilterH1}, {"H2", PopFilterH2},
                                                           {"H3", PopFilterH3}, {"L1", PopFilterL1},
                                                           {"L2", PopFilterL2}, {"L3", PopFilterL3}};
    for (const auto& [name, kernel] : ready) {
        const CliRun r = cli(words("filter --ready %1 %2 %3", {QLatin1String(name), bmp, out}));
        ASSERT_EQ(r.code, 0) << name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        const TImgTabBGR expected = filteredAsTheWindowDoes(original, kernel, *KernelSum(kernel));
        ASSERT_FALSE(expected.empty());
        EXPECT_FALSE(test::sameArrays(expected, original)) << name;
        EXPECT_TRUE(test::sameArrays(bmpArray(out), expected)) << name;
    }

    // A kernel file with a negative sum and a scale given by hand.
    TFilterKernel edges;
    for (int r = 1; r <= 5; ++r)
        for (int c = 1; c <= 5; ++c)
            edges.at(r, c) = -1 - (r + c) % 3;
    edges.centre() = 30;
    ASSERT_LT(*KernelSum(edges), 0);
    const QString kernelFile = test::fileIn(dir, QStringLiteral("edges.txt"), kernelFileText(edges));
    CliRun r = cli(words("filter --kernel %1 --scale 3 %2 %3", {kernelFile, bmp, out}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const TImgTabBGR edgeExpected = filteredAsTheWindowDoes(original, edges, 3);
    EXPECT_TRUE(test::sameArrays(bmpArray(out), edgeExpected));
    // The border of a kernel whose sum is below 1 is black.
    const TImgTabBGR written = bmpArray(out);
    EXPECT_TRUE(std::ranges::all_of(written[0], [](std::uint8_t v) { return v == 0; }));

    // The regulators: focus from the loaded kernel's centre and sum, then brightness.
    r = cli(words("filter --ready L3 --focus -5 --light 4 %1 %2", {bmp, out}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    TFilterKernel focused = PopFilterL3;
    const TFocusResult focus = *FocusToKernel(PopFilterL3, 2, 6, -5);
    focused.centre() = focus.Centre;
    const std::int32_t lightScale = *LightToScale(focused, 4);
    EXPECT_EQ(focus, (TFocusResult{4, 8}));
    EXPECT_EQ(lightScale, 8 - 1);
    EXPECT_EQ(r.err, QStringLiteral("ormica-cli: focus -5: centre 4, scale 8\normica-cli: light 4: scale 7\n"));
    EXPECT_TRUE(test::sameArrays(bmpArray(out), filteredAsTheWindowDoes(original, focused, lightScale)));
    // +10 on the focus: the centre -3, the scale 1.
    r = cli(words("filter --ready L3 --focus 10 %1 %2", {bmp, out}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QStringLiteral("ormica-cli: focus 10: centre -3, scale 1\n"));
    focused.centre() = -3;
    EXPECT_TRUE(test::sameArrays(bmpArray(out), filteredAsTheWindowDoes(original, focused, 1)));
    // A sum of 2 or less: the brightness regulator changes nothing.
    r = cli(words("filter --ready H3 --light -10 %1 %2", {bmp, out}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QStringLiteral("ormica-cli: light -10: scale 1\n"));
    EXPECT_TRUE(test::sameArrays(bmpArray(out), filteredAsTheWindowDoes(original, PopFilterH3, 1)));

    const CliRun help = cli({QStringLiteral("help")});
    EXPECT_TRUE(help.out.contains(QLatin1String("\n  filter (--ready NAME | --kernel FILE | --fdb FILE --record N)")));
}

TEST(CliFilter, RefusalsWriteNothing)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(16, 12, 2), bmp));
    const QString tiny = dir.filePath(QStringLiteral("tiny.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(3, 9, 2), tiny));
    const QString out = dir.filePath(QStringLiteral("never.bmp"));
    TFilterKernel huge, negative;
    huge.centre() = 9000000;
    negative.centre() = -4;
    // %1 the picture, %2 the output, then the kernel files.
    const QStringList items{bmp,
                            out,
                            test::fileIn(dir, QStringLiteral("huge.txt"), kernelFileText(huge)),
                            test::fileIn(dir, QStringLiteral("short.txt"), "1 2 3\n"),
                            test::fileIn(dir, QStringLiteral("negative.txt"), kernelFileText(negative)),
                            dir.filePath(QStringLiteral("none.txt")),
                            tiny,
                            dir.filePath(QStringLiteral("none.bmp"))};

    const QString runRefusal = QStringLiteral(
        "ormica-cli: Масштаб цифрового фильтра меньше единицы. Перезагрузите или отредактируйте фильтр.\n");
    const struct {
        const char* line;
        int code;
        QString err;  // the whole of stderr, or empty to check only that there is one
    } cases[] = {
        {"--ready H1 --scale 0 %1 %2", 1, runRefusal},
        {"--ready L1 --scale -7 %1 %2", 1, runRefusal},
        // A kernel whose sum is below 1 keeps that sum as its scale, as the window's load does.
        {"--kernel %5 %1 %2", 1, runRefusal},
        {"--kernel %3 %1 %2", 1,
         QStringLiteral("ormica-cli: ошибка: LoadFilter : ") +
             KernelTooLargeText().replace(QLatin1String("\r\n"), QLatin1String(" ")) + QLatin1Char('\n')},
        {"--kernel %4 %1 %2", 1, {}},
        {"--kernel %6 %1 %2", 1, {}},
        {"--ready H2 %7 %2", 1,
         QStringLiteral(
             "ormica-cli: предупреждение: FilterTabColor : Массив меньше 4 x 4 пикселей, фильтр не применяется.\n")},
        {"--ready H2 %8 %2", 1, {}},
        // Wrong command lines.
        {"%1 %2", 2, {}},
        {"--ready H1 --kernel %3 %1 %2", 2, {}},
        {"--ready H4 %1 %2", 2, {}},
        {"--ready H1 --focus 11 %1 %2", 2, {}},
        {"--ready H1 --light -11 %1 %2", 2, {}},
        {"--ready H1 --light 1.5 %1 %2", 2, {}},
        {"--ready H1 --scale 5 --focus 1 %1 %2", 2, {}},
        {"--ready H1 %1", 2, {}},
    };
    // In the tool's default language: the texts checked are the core's own.
    for (const auto& c : cases) {
        const CliRun r = cliInDefaultLanguage(QStringList{QStringLiteral("filter")} + words(c.line, items));
        const char* line = c.line;
        EXPECT_EQ(r.code, c.code) << line << "\n" << r.err.toStdString();
        if (c.err.isEmpty())
            EXPECT_FALSE(r.err.isEmpty()) << line;
        else
            EXPECT_EQ(r.err.toStdString(), c.err.toStdString()) << line;
        expectPrefixedLines(r);
        EXPECT_FALSE(QFileInfo::exists(out)) << line;
    }
}

TEST(CliFilter, HoldsAtMostTwoCopiesOfThePicture)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "peak memory is the sanitizer's, not the tool's, in a sanitized build";
#endif
    constexpr int width = 4000, height = 3000;
    constexpr long copyKilobytes = long(width) * height * 3 / 1024;
    QTemporaryDir dir;
    const test::BigPicture big = test::makeBigPicture(dir.path(), width, height, 5, 7);
    ASSERT_FALSE(big.jpg.isEmpty());
    ASSERT_EQ(big.base.code, 0);
    const test::MeasuredRun run =
        test::measure(words("filter --ready H1 %1 %2", {big.jpg, dir.filePath(QStringLiteral("out.bmp"))}));
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(test::PeakWithin(run, big.base, 2, copyKilobytes));
}
