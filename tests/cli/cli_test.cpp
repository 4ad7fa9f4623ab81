#include "engine/bmp_file.h"
#include "engine/gray.h"
#include "engine/jpeg_codec.h"
#include "recorders.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTransform>
#include <gtest/gtest.h>

using namespace ormica;

namespace {

struct CliRun {
    int code = -1;
    QString out, err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ORMICA_CLI), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(Cli, InfoConvertAndGreyWorkOnRealFiles)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(33, 21, 5);
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, bmp));

    CliRun r = cli({QStringLiteral("info"), bmp});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("33 21 pf24bit"));

    const QString jpg = dir.filePath(QStringLiteral("out.JPG"));
    r = cli({QStringLiteral("convert"), bmp, jpg, QStringLiteral("--quality"), QStringLiteral("80")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(DecodeJpegFile(jpg, nullptr).size(), picture.size());
    r = cli({QStringLiteral("info"), jpg});
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("33 21 pf24bit"));

    const QString grey = dir.filePath(QStringLiteral("grey.bmp"));
    r = cli({QStringLiteral("grey"), bmp, grey});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QImage expected;
    BitMapToGrayBitMap(picture, expected);
    EXPECT_EQ(ReadBmpPixels(grey, ReadBmpHeader(grey)), expected);
}

TEST(Cli, BadInputGetsOneLineAndAFailingStatus)
{
    QTemporaryDir dir;
    CliRun r = cli({});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String("usage: ormica-cli")));

    r = cli({QStringLiteral("info"), dir.filePath(QStringLiteral("missing.bmp"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QLatin1String("no such file")));

    const QString junk = dir.filePath(QStringLiteral("junk.jpg"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    r = cli({QStringLiteral("convert"), junk, dir.filePath(QStringLiteral("o.bmp"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String("JPEG")));

    QImage mono(8, 8, QImage::Format_Mono);
    mono.fill(0);
    const QString monoFile = dir.filePath(QStringLiteral("mono.bmp"));
    ASSERT_TRUE(mono.save(monoFile, "BMP"));
    r = cli({QStringLiteral("info"), monoFile});
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("8 8 pf1bit"));
    r = cli({QStringLiteral("grey"), monoFile, dir.filePath(QStringLiteral("o.bmp"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ОШИБКА! Недопустимый формат ( pf1bit ) пикселя в файле")));

    const QString bmp = dir.filePath(QStringLiteral("ok.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(4, 4), bmp));
    r = cli({QStringLiteral("convert"), bmp, dir.filePath(QStringLiteral("o.png"))});
    EXPECT_EQ(r.code, 1);
    r = cli({QStringLiteral("convert"), bmp, dir.filePath(QStringLiteral("o.jpg")), QStringLiteral("--quality"),
             QStringLiteral("0")});
    EXPECT_EQ(r.code, 2);
}

TEST(Cli, GeometryAndScalingRunTheCoreRoutines)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(40, 30, 8);
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, in));
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    auto result = [&] { return ReadBmpPixels(out, ReadBmpHeader(out)); };

    ASSERT_EQ(cli({QStringLiteral("mirror"), QStringLiteral("H"), in, out}).code, 0);
    EXPECT_EQ(result(), picture.mirrored(true, false));
    ASSERT_EQ(cli({QStringLiteral("mirror"), QStringLiteral("V"), in, out}).code, 0);
    EXPECT_EQ(result(), picture.mirrored(false, true));
    ASSERT_EQ(cli({QStringLiteral("rot90"), QStringLiteral("-"), in, out}).code, 0);
    EXPECT_EQ(result(), picture.transformed(QTransform().rotate(90)));

    // Corners in any order, as a selection dragged backwards.
    ASSERT_EQ(cli({QStringLiteral("crop"), QStringLiteral("30"), QStringLiteral("20"), QStringLiteral("5"),
                   QStringLiteral("4"), in, out})
                  .code,
              0);
    EXPECT_EQ(result(), picture.copy(5, 4, 26, 17));

    CliRun r = cli({QStringLiteral("rotate"), QStringLiteral("90"), QStringLiteral("--centre"), QStringLiteral("1"),
                    QStringLiteral("1"), in, out});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("(-89,9 .. 89,9)")));
    r = cli({QStringLiteral("rotate"), QStringLiteral("12.5"), QStringLiteral("--centre"), QStringLiteral("15"),
             QStringLiteral("20"), QStringLiteral("--fill"), QStringLiteral("00FF00"), in, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(result().size(), picture.size());

    r = cli({QStringLiteral("scale"), QStringLiteral("--zoom"), QStringLiteral("10"), in, out});
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Zoom ВНЕ диапазона")));
    EXPECT_EQ(result().size(), QSize(320, 240));
    ASSERT_EQ(cli({QStringLiteral("scale"), QStringLiteral("--size"), QStringLiteral("20"), QStringLiteral("20"),
                   QStringLiteral("--keep-proportions"), in, out})
                  .code,
              0);
    EXPECT_EQ(result().size(), QSize(20, 15));
    ASSERT_EQ(
        cli({QStringLiteral("scale"), QStringLiteral("--size"), QStringLiteral("7"), QStringLiteral("9"), in, out})
            .code,
        0);
    EXPECT_EQ(result().size(), QSize(7, 9));

    EXPECT_EQ(cli({QStringLiteral("mirror"), QStringLiteral("X"), in, out}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("scale"), in, out}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("rotate"), QStringLiteral("10"), in, out}).code, 2);
}
