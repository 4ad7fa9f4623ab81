#include "cli_run.h"
#include "core/filter/frequency_response.h"
#include "core/filter/popular_filters.h"
#include "recorders.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ormica;
using test::cli;
using test::CliRun;
using test::kernelFileText;
using test::words;

// The filter's frequency response command.

TEST(CliResponse, PrintsTheMagnitudeGrid)
{
    QTemporaryDir dir;
    TFilterKernel skew;
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            skew.at(r, c) = (r * 7 + c * 3) % 11 - 4;
    skew.centre() = 60;
    const QString kernelFile = test::fileIn(dir, QStringLiteral("skew.txt"), kernelFileText(skew));

    const struct {
        const char* line;
        TFilterKernel kernel;
        std::int32_t scale;
        int size;
    } cases[] = {
        {"response --ready L2", PopFilterL2, 43, 64},
        {"response --ready H1 --scale 100 --size 9", PopFilterH1, 100, 9},
        {"response --kernel %1 --size 16", skew, *KernelSum(skew), 16},
        {"response --kernel %1 --scale 1 --size 2", skew, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const CliRun r = cli(words(c.line, {kernelFile}));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        const TFrequencyResponse expected = FrequencyResponse(c.kernel, c.scale, c.size);
        ASSERT_TRUE(r.out.endsWith(QLatin1Char('\n')));
        const QStringList lines = r.out.chopped(1).split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), c.size);
        for (int i = 0; i < c.size; ++i) {
            const QStringList fields = lines[i].split(QLatin1Char('\t'));
            ASSERT_EQ(fields.size(), c.size) << i;
            for (int j = 0; j < c.size; ++j) {
                bool number = false;
                const double value = fields[j].toDouble(&number);
                ASSERT_TRUE(number) << fields[j].toStdString();
                EXPECT_NEAR(value, expected.at(i, j), 1e-8 * expected.at(i, j) + 1e-12) << i << ' ' << j;
            }
        }
        // Zero frequency in the middle: the weight sum over the scale.
        EXPECT_NEAR(lines[c.size / 2].split(QLatin1Char('\t'))[c.size / 2].toDouble(),
                    double(*KernelSum(c.kernel)) / c.scale, 1e-8);
    }
}

TEST(CliResponse, RefusesWhatTheFilterRefuses)
{
    QTemporaryDir dir;
    TFilterKernel negative;
    negative.centre() = -4;
    const QString negativeFile = test::fileIn(dir, QStringLiteral("negative.txt"), kernelFileText(negative));
    const struct {
        const char* line;
        int code;
    } cases[] = {
        {"response", 2},
        {"response --ready H1 --kernel %1", 2},
        {"response --ready H1 --size 1", 2},
        {"response --ready H1 --size 2000", 2},
        {"response --ready H1 --size 8.5", 2},
        {"response --ready H1 --scale 0", 1},
        // A sum below 1 is no scale.
        {"response --kernel %1", 1},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::RefusedWith(cli(words(c.line, {negativeFile})), c.code)) << c.line;
}
