#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "recorders.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ormica;
using test::cli;
using test::cliInDefaultLanguage;
using test::CliRun;
using test::expectPrefixedLines;
using test::words;

namespace {

QImage readBmp(const QString& file)
{
    return ReadBmpPixels(file, ReadBmpHeader(file)).convertToFormat(QImage::Format_BGR888);
}

// The line of a text image for one row of a 24-bit picture.
QByteArray textLine(const QImage& picture, int y, char separator)
{
    QByteArray line;
    for (int x = 0; x < picture.width(); ++x) {
        const QRgb p = picture.pixel(x, y);
        for (int v : {qBlue(p), qGreen(p), qRed(p)})
            line += QByteArray::number(v) + separator;
    }
    return line + "\r\n";
}

}  // namespace

TEST(CliText, ExportWritesEveryPixelAndImportReadsItBack)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(7, 4, 3);
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, bmp));
    QByteArray semicolons, tabs, commas;
    for (int y = 0; y < picture.height(); ++y) {
        semicolons += textLine(picture, y, ';');
        tabs += textLine(picture, y, '\t');
        commas += textLine(picture, y, ',');
    }

    // ";" unless told otherwise; ".txt" added unless the name ends so.
    for (const auto& [name, written] :
         QList<QPair<QString, QString>>{{"a", "a.txt"}, {"b.TXT", "b.TXT"}, {"c.dat", "c.dat.txt"}}) {
        const CliRun r = cli(words("export-text %1 %2", {bmp, dir.filePath(name)}));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        EXPECT_EQ(test::fileBytes(dir.filePath(written)), semicolons) << written.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("c.dat")));
    for (const auto& [sep, bytes] :
         QList<QPair<QString, QByteArray>>{{"tab", tabs},
                                           {"semicolon", semicolons},
                                           {",", commas},
                                           {" ,", commas},
                                           {QStringLiteral("—"), QByteArray(semicolons).replace(';', '\x97')}}) {
        const QString out = dir.filePath(QStringLiteral("s.txt"));
        ASSERT_EQ(cli(words("export-text %1 %2 --sep %3", {bmp, out, sep})).code, 0);
        EXPECT_EQ(test::fileBytes(out), bytes) << sep.toStdString();

        const QString back = dir.filePath(QStringLiteral("back.bmp"));
        QFile::remove(back);
        const CliRun r = cli(words("import-text %1 %2 --sep %3", {out, back, sep}));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(readBmp(back), picture) << sep.toStdString();
    }

    // No separator: bare digits, which no import can split.
    const QString bare = dir.filePath(QStringLiteral("bare.txt"));
    ASSERT_EQ(cli(words("export-text %1 %2 --sep=", {bmp, bare})).code, 0);
    EXPECT_EQ(test::fileBytes(bare).left(8), textLine(picture, 0, ';').replace(";", "").left(8));
    EXPECT_FALSE(test::fileBytes(bare).contains(';'));
}

TEST(CliText, ImportTakesTheWidthOfTheFirstLineAndSkipsBadValues)
{
    QTemporaryDir dir;
    const QString in =
        test::fileIn(dir, QStringLiteral("in.txt"), "0;128;255;10;20;30;\r\n1;;300;x;5;\n9;8;7;6;5;4;3;2;1;\r\n");
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    const CliRun r = cli(words("import-text %1 %2", {in, out}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage back = readBmp(out);
    ASSERT_EQ(back.size(), QSize(2, 3));
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 128, 0));
    EXPECT_EQ(back.pixel(1, 0), qRgb(30, 20, 10));
    // Two values are no whole pixel; the rest of that row is black.
    EXPECT_EQ(back.pixel(0, 1), qRgb(0, 5, 1));
    EXPECT_EQ(back.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(back.pixel(0, 2), qRgb(7, 8, 9));
    EXPECT_EQ(back.pixel(1, 2), qRgb(4, 5, 6));
}

TEST(CliText, RefusalsWriteNothing)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(3, 2), bmp));
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    QByteArray many;
    for (int i = 0; i <= 65535; ++i)
        many += "1;2;3;\r\n";
    const QString tooMany = test::fileIn(dir, QStringLiteral("many.txt"), many);
    const QString empty = test::fileIn(dir, QStringLiteral("empty.txt"), "");
    const QString noValue = test::fileIn(dir, QStringLiteral("novalue.txt"), "1,2,3,\r\n");
    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    QByteArray wideRow;
    for (int i = 0; i < 65537; ++i)
        wideRow += "0;0;0;";
    const QString wide = test::fileIn(dir, QStringLiteral("wide.txt"), wideRow + "\r\n");
    const QString nowhere = dir.filePath(QStringLiteral("no/such/x.txt"));

    const QList<QPair<QStringList, QString>> failures{
        {words("import-text %1 %2", {tooMany, out}), QStringLiteral("65535")},
        {words("import-text %1 %2", {wide, out}), QStringLiteral("Недопустимый размер изображения: 65537 x 1")},
        {words("import-text %1 %2", {missing, out}), missing},
        {words("import-text %1 %2", {empty, out}), empty},
        {words("import-text %1 %2", {noValue, out}), noValue},
        {words("import-text %1 %2", {dir.path(), out}), dir.path()},
        {words("export-text %1 %2", {bmp, nowhere}), nowhere},
        {words("export-text %1 %2", {missing, dir.filePath(QStringLiteral("y.txt"))}), missing},
    };
    // In the tool's default language: one text checked is the core's own.
    for (const auto& [args, named] : failures) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = cliInDefaultLanguage(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(named)) << r.err.toStdString();
        expectPrefixedLines(r);
    }
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("y.txt"))));

    const QStringList items{bmp, dir.filePath(QStringLiteral("z.txt")), noValue, out,
                            dir.filePath(QStringLiteral("out.gif"))};
    for (const char* line : {"export-text %1 %2 --sep ab", "import-text %3 %4 --sep comma", "export-text %1 %2 --sep 1",
                             "import-text %3 %5", "export-text %1"}) {
        const CliRun r = cli(words(line, items));
        EXPECT_EQ(r.code, 2) << line;
        expectPrefixedLines(r);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("z.txt"))));
    EXPECT_FALSE(QFile::exists(out));
}

TEST(CliText, BothDirectionsHoldAtMostTwoCopiesOfThePicture)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "peak memory is the sanitizer's, not the tool's, in a sanitized build";
#endif
    // The text is about four times the picture: holding it whole would show.
    constexpr int width = 4000, height = 3000;
    constexpr long copyKilobytes = long(width) * height * 3 / 1024;
    QTemporaryDir dir;
    const test::BigPicture big = test::makeBigPicture(dir.path(), width, height, 7, 5);
    ASSERT_FALSE(big.jpg.isEmpty());
    ASSERT_EQ(big.base.code, 0);
    const QString txt = dir.filePath(QStringLiteral("big.txt"));
    const test::MeasuredRun exported = test::measure(words("export-text %1 %2", {big.jpg, txt}));
    ASSERT_EQ(exported.code, 0);
    ASSERT_GT(QFileInfo(txt).size(), 3 * 3 * qint64(width) * height);
    const test::MeasuredRun imported =
        test::measure(words("import-text %1 %2", {txt, dir.filePath(QStringLiteral("back.bmp"))}));
    ASSERT_EQ(imported.code, 0);
    for (const test::MeasuredRun* run : {&exported, &imported})
        EXPECT_TRUE(test::PeakWithin(*run, big.base, 2, copyKilobytes));
}
