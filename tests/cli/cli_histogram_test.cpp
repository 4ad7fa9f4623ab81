#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "core/engine/img_service.h"
#include "core/histogram/fragment_stats.h"
#include "core/histogram/histogram.h"
#include "recorders.h"

#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>

using namespace ormica;
using test::cli;
using test::cliInDefaultLanguage;
using test::CliRun;
using test::expectPrefixedLines;
using test::RefusedWith;
using test::words;

namespace {

QString statisticsLine(const char* name, long double mean, long double variance, long double deviation,
                       std::int32_t max)
{
    char text[200];
    std::snprintf(text, sizeof text, "%s\t%.17Lg\t%.17Lg\t%.17Lg\t%d", name, mean, variance, deviation, max);
    return QString::fromLatin1(text);
}

QString levelsLine(const char* name, const TGistogram& values)
{
    QString line = QLatin1String(name);
    for (std::int32_t v : values)
        line += QLatin1Char('\t') + QString::number(v);
    return line;
}

}  // namespace

TEST(Cli, HistPrintsTheRecordOfTheCoreRoutine)
{
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    // Some pure black and pure white pixels, so that both counts are met.
    QImage picture = test::patternImage(41, 27, 3);
    for (int x = 0; x < 5; ++x) {
        picture.setPixel(x, 0, qRgb(0, 0, 0));
        picture.setPixel(x, 1, qRgb(255, 255, 255));
    }
    picture.setPixel(7, 2, qRgb(255, 255, 255));
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, bmp));

    const TImgTabBGR arr = test::arrayOf(picture);
    TGistogramData d;
    CalculateAllGistogram(&arr, nullptr, &d);
    ASSERT_GE(d.GistL[0], 5);
    ASSERT_GE(d.GistL[255], 6);
    const QStringList summary{
        QStringLiteral("count\t%1\tblack\t%2\twhite\t%3").arg(d.Count).arg(d.GistL[0]).arg(d.GistL[255]),
        statisticsLine("R", d.MeanR, d.VarR, d.StdR, d.MaxR),
        statisticsLine("G", d.MeanG, d.VarG, d.StdG, d.MaxG),
        statisticsLine("B", d.MeanB, d.VarB, d.StdB, d.MaxB),
        statisticsLine("L", d.MeanL, d.VarL, d.StdL, d.MaxL),
    };
    const QStringList counts{levelsLine("R", d.GistR),  levelsLine("G", d.GistG),  levelsLine("B", d.GistB),
                             levelsLine("L", d.GistL),  levelsLine("NR", d.NormR), levelsLine("NG", d.NormG),
                             levelsLine("NB", d.NormB), levelsLine("NL", d.NormL)};

    CliRun r = cli(words("hist %1", {bmp}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, summary.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    // A statistic that is not whole still shows its point and 17 digits.
    EXPECT_TRUE(summary[1].contains(QLatin1Char('.')));

    r = cli(words("hist %1 --counts", {bmp}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, (summary + counts).join(QLatin1Char('\n')) + QLatin1Char('\n'));

    // A uniform picture: whole numbers print without a point.
    const QString grey = dir.filePath(QStringLiteral("grey.bmp"));
    QImage uniform(3, 2, QImage::Format_BGR888);
    uniform.fill(qRgb(128, 128, 128));
    ASSERT_TRUE(WriteBmpFile(uniform, grey));
    r = cli(words("hist %1", {grey}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("count\t6\tblack\t0\twhite\t0\nR\t128\t0\t0\t6\nG\t128\t0\t0\t6\n"
                                    "B\t128\t0\t0\t6\nL\t128\t0\t0\t6\n"));

    const CliRun missing = cli({QStringLiteral("hist"), dir.filePath(QStringLiteral("none.bmp"))});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    expectPrefixedLines(missing);
    EXPECT_EQ(cli({QStringLiteral("hist")}).code, 2);

    const CliRun help = cli(words("help hist"));
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QLatin1String("--counts")));
    EXPECT_TRUE(cli({QStringLiteral("help")}).out.contains(QLatin1String("\n  hist IN")));
}

// ormica-cli stats: a fragment's row or column as the fragment tab computes it.

namespace {

// In the tool's default language: the refusals checked are the core's own texts.
CliRun stats(const QString& in, const char* line)
{
    return cliInDefaultLanguage(QStringList{QStringLiteral("stats"), in} + words(line));
}

QStringList outLines(const CliRun& r)
{
    return r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString real(long double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%#.17Lg", v);
    return QString::fromLatin1(buf);
}

// Row y of the picture holds the reds `reds` from column 0 on; every pixel
// has other greens and blues so that the channels cannot be confused.
QImage picture(int w, int h, const std::vector<int>& reds, int row)
{
    QImage img(w, h, QImage::Format_BGR888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixelColor(x, y,
                              QColor((x * 37 + y * 11) % 256, (x * 5 + y * 29 + 3) % 256, (x * 13 + y * 7) % 256));
    for (std::size_t x = 0; x < reds.size(); ++x) {
        QColor c = img.pixelColor(int(x), row);
        c.setRed(reds[x]);
        img.setPixelColor(int(x), row, c);
    }
    return img;
}

QStringList header(int n, const QString& mean, const QString& variance, const TImgTabColor& fragment)
{
    const long double m = FragmentMean(fragment, 'L');
    return {QStringLiteral("n\t%1").arg(n), QStringLiteral("mean\t") + mean, QStringLiteral("variance\t") + variance,
            QStringLiteral("fragment_mean\t") + real(m),
            QStringLiteral("fragment_variance\t") + real(FragmentVariance(fragment, 'L', m))};
}

}  // namespace

TEST(CliStats, TenElevenTwelveWithItsAutocorrelationAndConvolution)
{
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    const QImage img = picture(8, 6, {0, 0, 10, 11, 12}, 3);
    ASSERT_TRUE(WriteBmpFile(img, in));
    TImgTabColor fragment;
    AreaBitMapToImgTabColor(img, TRect{2, 2, 4, 5}, fragment);
    ASSERT_EQ(fragment.width(), 3);
    const QStringList head =
        header(3, QStringLiteral("11.000000000000000"), QStringLiteral("0.66666666666666667"), fragment);

    // Corners in any order; the row is counted in the fragment.
    CliRun r = stats(in, "--fragment 4 5 2 2 --row 1 --channel R --auto");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    QStringList want = head;
    const char* autoValues[9] = {"0", "0", "-1.5", "0", "3", "0", "-1.5", "0", "0"};
    for (int i = 0; i < 9; ++i) {
        const long double v = std::strtold(autoValues[i], nullptr);
        // Lag 0 and +-2 are 2 / (2/3) and -1 / (2/3) in extended arithmetic: allow the last digit.
        want << QStringLiteral("%1\t").arg(i - 4) + real(v);
    }
    QStringList got = outLines(r);
    ASSERT_EQ(got.size(), 14);
    EXPECT_EQ(got.mid(0, 5), head);
    for (int i = 0; i < 9; ++i) {
        const QStringList parts = got[5 + i].split(QLatin1Char('\t'));
        ASSERT_EQ(parts.size(), 2);
        EXPECT_EQ(parts[0].toInt(), i - 4);
        EXPECT_NEAR(parts[1].toDouble(), std::strtod(autoValues[i], nullptr), 1e-15) << got[5 + i].toStdString();
        EXPECT_TRUE(parts[1].contains(QLatin1Char('.')));
        EXPECT_EQ(parts[1].size() - (parts[1].startsWith(QLatin1Char('-')) ? 1 : 0), 18) << parts[1].toStdString();
    }
    EXPECT_EQ(got[5], want[5]);  // the zeros at the ends are exact

    // Convolution with Func(X) = 1: the sliding sums, not divided.
    r = stats(in, "--fragment 2 2 4 5 --row 1 --channel R --conv one");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    want = head;
    const int convValues[9] = {0, 0, -1, -1, 0, 1, 1, 0, 0};
    for (int i = 0; i < 9; ++i)
        want << QStringLiteral("%1\t").arg(i - 4) + real(convValues[i]);
    EXPECT_EQ(outLines(r), want);

    // Without a correlation only the five lines; the column and the default channel L.
    r = stats(in, "--fragment 2 2 4 5 --column 2");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    long double sum = 0;
    std::vector<long double> v;
    for (int y = 2; y <= 5; ++y) {
        const QColor c = img.pixelColor(4, y);
        v.push_back(std::sqrt((long double)(c.red() * c.red() + c.green() * c.green() + c.blue() * c.blue())) /
                    std::sqrt(3.0L));
        sum += v.back();
    }
    const long double mean = sum / 4;
    long double dev = 0;
    for (long double x : v)
        dev += (x - mean) * (x - mean);
    got = outLines(r);
    ASSERT_EQ(got.size(), 5);
    EXPECT_EQ(got[0], QStringLiteral("n\t4"));
    EXPECT_NEAR(got[1].section(QLatin1Char('\t'), 1).toDouble(), double(mean), 1e-12);
    EXPECT_NEAR(got[2].section(QLatin1Char('\t'), 1).toDouble(), double(dev / 4), 1e-9);
    EXPECT_EQ(got.mid(3), head.mid(3));
}

TEST(CliStats, ConvolutionFunctionsAndEqualValues)
{
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    std::vector<int> squares;
    for (int x = 0; x <= 10; ++x)
        squares.push_back(x * x);  // mean 35
    ASSERT_TRUE(WriteBmpFile(picture(11, 3, squares, 0), in));
    // Rect for N = 11 is one at 4, 5, 6: lag k sums the centred values 4 + k .. 6 + k that exist.
    CliRun r = stats(in, "--fragment 0 0 10 2 --row 0 --channel R --conv rect");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList got = outLines(r);
    ASSERT_EQ(got.size(), 5 + 25);
    EXPECT_EQ(got[1], QStringLiteral("mean\t35.000000000000000"));
    const auto entry = [&](int lag) { return got[5 + 12 + lag]; };
    EXPECT_EQ(entry(0), QStringLiteral("0\t-28.000000000000000"));    // 16 + 25 + 36 - 105
    EXPECT_EQ(entry(2), QStringLiteral("2\t44.000000000000000"));     // 36 + 49 + 64 - 105
    EXPECT_EQ(entry(-4), QStringLiteral("-4\t-100.00000000000000"));  // 0 + 1 + 4 - 105
    EXPECT_EQ(entry(6), QStringLiteral("6\t65.000000000000000"));     // only 100 - 35 is left
    EXPECT_EQ(entry(-6), QStringLiteral("-6\t-35.000000000000000"));  // only 0 - 35
    EXPECT_EQ(entry(7), QStringLiteral("7\t0.0000000000000000"));
    EXPECT_EQ(entry(-12), QStringLiteral("-12\t0.0000000000000000"));
    EXPECT_EQ(entry(12), QStringLiteral("12\t0.0000000000000000"));

    // Func(X) = X and 1 - X at lag 10: one product each, with X = 0 and X = 1.
    r = stats(in, "--fragment 0 0 10 2 --row 0 --channel R --conv x");
    ASSERT_EQ(r.code, 0);
    got = outLines(r);
    EXPECT_EQ(entry(10), QStringLiteral("10\t0.0000000000000000"));     // 65 * X(0)
    EXPECT_EQ(entry(-10), QStringLiteral("-10\t-35.000000000000000"));  // -35 * X(10)
    r = stats(in, "--fragment 0 0 10 2 --row 0 --channel R --conv one-minus-x");
    ASSERT_EQ(r.code, 0);
    got = outLines(r);
    EXPECT_EQ(entry(10), QStringLiteral("10\t65.000000000000000"));
    EXPECT_EQ(entry(-10), QStringLiteral("-10\t0.0000000000000000"));

    // A row of equal values: variance 0, and the autocorrelation is zeros, not divided.
    QImage flat(5, 2, QImage::Format_BGR888);
    flat.fill(QColor(9, 9, 9));
    ASSERT_TRUE(WriteBmpFile(flat, in));
    r = stats(in, "--fragment 0 0 4 1 --row 1 --channel G --auto");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    got = outLines(r);
    ASSERT_EQ(got.size(), 5 + 13);
    EXPECT_EQ(got[1], QStringLiteral("mean\t9.0000000000000000"));
    EXPECT_EQ(got[2], QStringLiteral("variance\t0.0000000000000000"));
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(got[5 + i], QStringLiteral("%1\t0.0000000000000000").arg(i - 6));
}

TEST(CliStats, TheFragmentIsTakenAsTheMainWindowTakesIt)
{
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    const QImage img = test::patternImage(300, 200, 4);
    ASSERT_TRUE(WriteBmpFile(img, in));
    // Clipped to the picture, then 287 x 167 at most from the top-left corner.
    CliRun r = stats(in, "--fragment 400 250 -3 -3 --column 286 --channel B");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList got = outLines(r);
    ASSERT_GE(got.size(), 1);
    EXPECT_EQ(got[0], QStringLiteral("n\t167"));
    long double sum = 0;
    for (int y = 0; y < 167; ++y)
        sum += img.pixelColor(286, y).blue();
    EXPECT_EQ(got[1], QStringLiteral("mean\t") + real(sum / 167));

    r = stats(in, "--fragment 0 0 299 199 --row 166");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(outLines(r).value(0), QStringLiteral("n\t287"));

    r = stats(in, "--fragment 0 0 299 199 --column 287");
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, QStringLiteral("ormica-cli: предупреждение: Координаты СТОЛБЦА ВНЕ размеров изображения\n"));
}

TEST(CliStats, RefusalsGoToStandardError)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(10, 5), in));
    const char* row = "предупреждение: Координаты СТРОКИ ВНЕ размеров изображения";
    const char* needStats = "предупреждение: Необходим расчет мат. ожидания и дисперсии";
    const struct {
        const char* line;
        int code;
        const char* message;
    } cases[] = {
        {"--fragment 0 0 9 4 --row 5", 1, row},
        {"--fragment 0 0 9 4 --row -1", 1, row},
        {"--fragment 2 1 3 4 --column 2", 1, "предупреждение: Координаты СТОЛБЦА ВНЕ размеров изображения"},
        {"--fragment 2 1 3 4 --row 0 --auto", 1, needStats},
        {"--fragment 2 1 3 4 --row 0 --conv rect", 1, needStats},
        {"--fragment 0 2 9 2 --row 0", 1, "предупреждение: Габариты изображения меньше двух точек"},
        {"--fragment 20 20 30 30 --row 0", 1, nullptr},
        {"--fragment 0 0 9 4 --row 0 --column 0", 2, nullptr},
        {"--fragment 0 0 9 4", 2, nullptr},
        {"--row 0", 2, nullptr},
        {"--fragment 0 0 9 4 --row 0 --channel Q", 2, nullptr},
        {"--fragment 0 0 9 4 --row 0 --conv sin", 2, nullptr},
        {"--fragment 0 0 9 4 --row 0 --auto --conv x", 2, nullptr},
        {"--fragment 0 0 9 4 --row 1.5", 2, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const CliRun r = stats(in, c.line);
        EXPECT_TRUE(RefusedWith(r, c.code));
        if (c.message) {
            EXPECT_EQ(r.err, QStringLiteral("ormica-cli: ") + QString::fromUtf8(c.message) + QLatin1Char('\n'));
        }
    }

    // The same two-pixel-wide fragment without a correlation gives its statistics.
    const CliRun r = stats(in, "--fragment 2 1 3 4 --row 0");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(outLines(r).value(0), QStringLiteral("n\t2"));
    EXPECT_TRUE(cli({QStringLiteral("help")}).out.contains(QLatin1String("\n  stats IN --fragment")));
}
