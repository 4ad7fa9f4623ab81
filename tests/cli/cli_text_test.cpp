#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "core/engine/geometry.h"
#include "core/engine/gray.h"
#include "core/engine/img_service.h"
#include "core/engine/jpeg_codec.h"
#include "core/histogram/histogram.h"
#include "recorders.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <QtEndian>
#include <clocale>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ormica;
using test::BigPicture;
using test::bmpHeader;
using test::cli;
using test::CliRun;
using test::expectPrefixedLines;
using test::makeBigPicture;
using test::measure;
using test::MeasuredRun;

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
        const CliRun r = cli({QStringLiteral("export-text"), bmp, dir.filePath(name)});
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
        ASSERT_EQ(cli({QStringLiteral("export-text"), bmp, out, QStringLiteral("--sep"), sep}).code, 0);
        EXPECT_EQ(test::fileBytes(out), bytes) << sep.toStdString();

        const QString back = dir.filePath(QStringLiteral("back.bmp"));
        QFile::remove(back);
        const CliRun r = cli({QStringLiteral("import-text"), out, back, QStringLiteral("--sep"), sep});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(readBmp(back), picture) << sep.toStdString();
    }

    // No separator: bare digits, which no import can split.
    const QString bare = dir.filePath(QStringLiteral("bare.txt"));
    ASSERT_EQ(cli({QStringLiteral("export-text"), bmp, bare, QStringLiteral("--sep=")}).code, 0);
    EXPECT_EQ(test::fileBytes(bare).left(8), textLine(picture, 0, ';').replace(";", "").left(8));
    EXPECT_FALSE(test::fileBytes(bare).contains(';'));
}

TEST(CliText, ImportTakesTheWidthOfTheFirstLineAndSkipsBadValues)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.txt"));
    ASSERT_TRUE(test::writeFile(in, "0;128;255;10;20;30;\r\n1;;300;x;5;\n9;8;7;6;5;4;3;2;1;\r\n"));
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    const CliRun r = cli({QStringLiteral("import-text"), in, out});
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
    const QString tooMany = dir.filePath(QStringLiteral("many.txt"));
    ASSERT_TRUE(test::writeFile(tooMany, many));
    const QString empty = dir.filePath(QStringLiteral("empty.txt"));
    ASSERT_TRUE(test::writeFile(empty, ""));
    const QString noValue = dir.filePath(QStringLiteral("novalue.txt"));
    ASSERT_TRUE(test::writeFile(noValue, "1,2,3,\r\n"));
    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    QByteArray wideRow;
    for (int i = 0; i < 65537; ++i)
        wideRow += "0;0;0;";
    const QString wide = dir.filePath(QStringLiteral("wide.txt"));
    ASSERT_TRUE(test::writeFile(wide, wideRow + "\r\n"));

    const QList<QPair<QStringList, QString>> failures{
        {{QStringLiteral("import-text"), tooMany, out}, QStringLiteral("65535")},
        {{QStringLiteral("import-text"), wide, out}, QStringLiteral("Недопустимый размер изображения: 65537 x 1")},
        {{QStringLiteral("import-text"), missing, out}, missing},
        {{QStringLiteral("import-text"), empty, out}, empty},
        {{QStringLiteral("import-text"), noValue, out}, noValue},
        {{QStringLiteral("import-text"), dir.path(), out}, dir.path()},
        {{QStringLiteral("export-text"), bmp, dir.filePath(QStringLiteral("no/such/x.txt"))},
         dir.filePath(QStringLiteral("no/such/x.txt"))},
        {{QStringLiteral("export-text"), missing, dir.filePath(QStringLiteral("y.txt"))}, missing},
    };
    for (const auto& [args, named] : failures) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = cli(args);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(named)) << r.err.toStdString();
        expectPrefixedLines(r);
    }
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("y.txt"))));

    for (const QStringList& args : QList<QStringList>{
             {QStringLiteral("export-text"), bmp, dir.filePath(QStringLiteral("z.txt")), QStringLiteral("--sep"),
              QStringLiteral("ab")},
             {QStringLiteral("import-text"), noValue, out, QStringLiteral("--sep"), QStringLiteral("comma")},
             {QStringLiteral("export-text"), bmp, dir.filePath(QStringLiteral("z.txt")), QStringLiteral("--sep"),
              QStringLiteral("1")},
             {QStringLiteral("import-text"), noValue, dir.filePath(QStringLiteral("out.gif"))},
             {QStringLiteral("export-text"), bmp}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.code, 2) << args.join(QLatin1Char(' ')).toStdString();
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
    const BigPicture big = makeBigPicture(dir.path(), width, height, 7, 5);
    ASSERT_FALSE(big.jpg.isEmpty());
    ASSERT_EQ(big.base.code, 0);
    const QString txt = dir.filePath(QStringLiteral("big.txt"));
    const MeasuredRun exported = measure({QStringLiteral("export-text"), big.jpg, txt});
    ASSERT_EQ(exported.code, 0);
    ASSERT_GT(QFileInfo(txt).size(), 3 * 3 * qint64(width) * height);
    const MeasuredRun imported =
        measure({QStringLiteral("import-text"), txt, dir.filePath(QStringLiteral("back.bmp"))});
    ASSERT_EQ(imported.code, 0);
    for (const MeasuredRun* run : {&exported, &imported})
        EXPECT_TRUE(test::PeakWithin(*run, big.base, 2, copyKilobytes));
}
