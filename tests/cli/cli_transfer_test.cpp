#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "core/transfer/fcc_file.h"
#include "core/transfer/point_list.h"
#include "core/transfer/transfer_function.h"
#include "recorders.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ormica;
using test::cli;
using test::CliRun;
using test::expectPrefixedLines;
using test::words;

namespace {

// The function as the 512 x 512 editor holds it after SetPoints.
TBrightPointArray heldByEditor(const TBrightPointArray& points, bool negative)
{
    TPointEditorModel editor(512, 512);
    editor.SetPoints(points);
    if (negative)
        editor.InvertY();
    return editor.GetPoints();
}

QByteArray fccBytes(const TBrightPointArray& points)
{
    QByteArray text;
    for (const TBrightPoint& p : points)
        text += QByteArray::number(p.X) + '\t' + QByteArray::number(p.Y) + "\r\n";
    return text;
}

CliRun cliBytes(const QStringList& args, QByteArray& out)
{
    QProcess p;
    p.start(QStringLiteral(ORMICA_CLI), args);
    p.waitForFinished(60000);
    out = p.readAllStandardOutput();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(out),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(Cli, CurvePrintsTheFunctionAsTheEditorHoldsIt)
{
    QTemporaryDir dir;
    const QString fcc = dir.filePath(QStringLiteral("identity.fcc"));
    QByteArray out;
    CliRun r = cliBytes(words("curve --formula identity --xe 1 --points 4"), out);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    ASSERT_TRUE(test::writeFile(fcc, out));

    // The printed text is a function file the core reads back to the same pairs.
    TBrightPointArray loaded;
    TFccReadState state;
    ASSERT_TRUE(LoadFccFile(fcc, loaded, state));
    ASSERT_GE(loaded.size(), 2u);
    EXPECT_EQ(loaded.front(), (TBrightPoint{0, 0}));
    EXPECT_EQ(loaded.back(), (TBrightPoint{255, 255}));
    for (const TBrightPoint& p : loaded)
        EXPECT_EQ(p.X, p.Y);
    EXPECT_EQ(out, fccBytes(loaded));
    const TBrightPointArray identity = heldByEditor(*GenerateFormulaPoints(0, 4, 1.0L), false);
    EXPECT_EQ(loaded, identity);
    // Written as the program writes a function file.
    const QString written = dir.filePath(QStringLiteral("written.fcc"));
    ASSERT_TRUE(WriteFccFile(written, loaded));
    EXPECT_EQ(out, test::fileBytes(written));

    // The negative mirrors every point.
    r = cliBytes(words("curve --formula identity --xe 1 --points 4 --negative"), out);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const TBrightPointArray negative = heldByEditor(identity, true);
    EXPECT_EQ(out, fccBytes(negative));
    ASSERT_EQ(negative.size(), identity.size());
    for (std::size_t i = 0; i < negative.size(); ++i) {
        EXPECT_EQ(negative[i].X, identity[i].X);
        EXPECT_EQ(negative[i].Y, 255 - identity[i].Y);
    }

    // Other generators and a loaded file go through the editor too.
    for (const auto& [line, points] :
         {std::pair{"curve --step 8 --width 2", GenerateSpecialPoints(1, 1, 2)},
          {"curve --grating 4", GenerateSpecialPoints(2, 0, 0)},
          {"curve --formula sqrt --xe 2 --points 16", *GenerateFormulaPoints(3, 16, 2.0L)}}) {
        r = cliBytes(words(line), out);
        ASSERT_EQ(r.code, 0) << line << r.err.toStdString();
        EXPECT_EQ(out, fccBytes(heldByEditor(points, false))) << line;
    }
    QByteArray again;
    r = cliBytes(words("curve --fcc %1", {test::fileIn(dir, QStringLiteral("sqrt.fcc"), out)}), again);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(again, out);
}

TEST(Cli, CurveRefusesWrongCommandLines)
{
    for (const char* line : {"curve --formula ln --xe 0.05 --points 8", "curve --formula ln --xe 2.01 --points 8",
                             "curve --formula ln --xe -1 --points 8", "curve --formula ln --xe x --points 8",
                             "curve --step 4 --grating 4", "curve --step 4 --fcc any.fcc", "curve", "curve --step 5",
                             "curve --grating 4 --width 5", "curve --formula cube --xe 1 --points 4"}) {
        const CliRun r = cli(words(line));
        EXPECT_EQ(r.code, 2) << line;
        EXPECT_TRUE(r.out.isEmpty()) << line;
        expectPrefixedLines(r);
    }
}

TEST(Cli, TransferAppliesAFunctionFileAsTheWindowDoes)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(37, 23, 9);
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, bmp));
    const TImgTabBGR original = test::bmpArray(bmp);

    const QString identityFcc = dir.filePath(QStringLiteral("identity.fcc"));
    ASSERT_TRUE(WriteFccFile(identityFcc, {{0, 0}, {255, 255}}));
    const QString same = dir.filePath(QStringLiteral("same.bmp"));
    CliRun r = cli(words("transfer %1 %2 %3", {identityFcc, bmp, same}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(test::sameArrays(test::bmpArray(same), original));

    // A negative, with out-of-range values that loading clamps.
    const QString negativeFcc = test::fileIn(dir, QStringLiteral("negative.fcc"), "0\t300\r\n100\t180\n255\t-4\r\n");
    TBrightPointArray loaded;
    TFccReadState state;
    ASSERT_TRUE(LoadFccFile(negativeFcc, loaded, state));
    TImgTabBGR expected;
    TSilentProgress progress;
    ConvertImageTab(original, expected, heldByEditor(loaded, false), progress);
    ASSERT_FALSE(expected.empty());
    EXPECT_FALSE(test::sameArrays(expected, original));
    const QString inverted = dir.filePath(QStringLiteral("inverted.bmp"));
    r = cli(words("transfer %1 %2 %3", {negativeFcc, bmp, inverted}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(test::sameArrays(test::bmpArray(inverted), expected));

    // A refused file writes nothing.
    const QString badFcc = test::fileIn(dir, QStringLiteral("bad.fcc"), "0\t0\nabc\t12\n255\t255\n");
    for (const QString& fcc : {badFcc, dir.filePath(QStringLiteral("missing.fcc"))}) {
        const QString out = dir.filePath(QStringLiteral("never.bmp"));
        r = cli(words("transfer %1 %2 %3", {fcc, bmp, out}));
        EXPECT_EQ(r.code, 1) << fcc.toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        expectPrefixedLines(r);
        EXPECT_FALSE(QFileInfo::exists(out));
    }
    EXPECT_EQ(cli(words("transfer %1 %2", {identityFcc, bmp})).code, 2);
}
