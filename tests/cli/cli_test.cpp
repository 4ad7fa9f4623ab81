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

const QStringList kCommands{QStringLiteral("info"),   QStringLiteral("convert"), QStringLiteral("grey"),
                            QStringLiteral("mirror"), QStringLiteral("rot90"),   QStringLiteral("rotate"),
                            QStringLiteral("crop"),   QStringLiteral("scale")};

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
    // info refuses what convert refuses, with the same reason.
    for (const char* command : {"info", "grey"}) {
        QStringList args{QLatin1String(command), monoFile};
        if (args.first() == QLatin1String("grey"))
            args << dir.filePath(QStringLiteral("o.bmp"));
        r = cli(args);
        EXPECT_EQ(r.code, 1) << command;
        EXPECT_TRUE(r.out.isEmpty()) << command;
        EXPECT_TRUE(
            r.err.startsWith(QStringLiteral("ormica-cli: ОШИБКА! Недопустимый формат ( pf1bit ) пикселя в файле")))
            << r.err.toStdString();
    }

    // Accepted, and reported in the format the file has.
    QImage indexed(8, 6, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (int i = 0; i < 20; ++i)  // more than 16, so that the file takes 8 bits a pixel
        colours << qRgb(10 * i, 200 - i, 30);
    indexed.setColorTable(colours);
    indexed.fill(17);
    const QString indexedFile = dir.filePath(QStringLiteral("indexed.bmp"));
    ASSERT_TRUE(indexed.save(indexedFile, "BMP"));
    r = cli({QStringLiteral("info"), indexedFile});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("8 6 pf8bit"));

    const QString bmp = dir.filePath(QStringLiteral("ok.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(4, 4), bmp));
    r = cli({QStringLiteral("convert"), bmp, dir.filePath(QStringLiteral("o.gif"))});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String(".png"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("o.gif"))));
    r = cli({QStringLiteral("info"), dir.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("not a file"))) << r.err.toStdString();
    // A failed write names the file.
    const QString nowhere = dir.filePath(QStringLiteral("no/such/dir/g.bmp"));
    r = cli({QStringLiteral("grey"), bmp, nowhere});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(nowhere)) << r.err.toStdString();
    r = cli({QStringLiteral("convert"), bmp, dir.filePath(QStringLiteral("o.jpg")), QStringLiteral("--quality"),
             QStringLiteral("0")});
    EXPECT_EQ(r.code, 2);
}

TEST(Cli, PngTiffAndWebpAreReadAndWrittenByTheirExtension)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(37, 23, 9);
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, bmp));
    for (const char* name : {"a.png", "b.TIF", "c.tiff", "d.webp"}) {
        const QString out = dir.filePath(QLatin1String(name));
        CliRun r = cli({QStringLiteral("convert"), bmp, out});
        ASSERT_EQ(r.code, 0) << name << r.err.toStdString();
        r = cli({QStringLiteral("info"), out});
        EXPECT_EQ(r.out.trimmed(), QStringLiteral("37 23 pf24bit")) << name;
        // Lossless at the default quality, so the pixels come back exactly.
        const QString back = dir.filePath(QStringLiteral("back.bmp"));
        r = cli({QStringLiteral("convert"), out, back});
        ASSERT_EQ(r.code, 0) << name << r.err.toStdString();
        EXPECT_EQ(ReadBmpPixels(back, ReadBmpHeader(back)), picture) << name;
    }
    // Operations write the kind OUT names, too.
    const QString greyPng = dir.filePath(QStringLiteral("grey.png"));
    ASSERT_EQ(cli({QStringLiteral("grey"), bmp, greyPng}).code, 0);
    QImage expected;
    BitMapToGrayBitMap(picture, expected);
    EXPECT_EQ(QImage(greyPng, "png").convertToFormat(QImage::Format_BGR888), expected);

    // A lossy WebP is smaller and still loads.
    const QString lossy = dir.filePath(QStringLiteral("lossy.webp"));
    ASSERT_EQ(cli({QStringLiteral("convert"), bmp, lossy, QStringLiteral("--quality"), QStringLiteral("30")}).code, 0);
    EXPECT_LT(QFileInfo(lossy).size(), QFileInfo(dir.filePath(QStringLiteral("d.webp"))).size());

    // Damaged files are refused with the kind named, on one line.
    QFile damaged(dir.filePath(QStringLiteral("cut.png")));
    QFile whole(dir.filePath(QStringLiteral("a.png")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(whole.read(whole.size() / 2));
    damaged.close();
    const CliRun r = cli({QStringLiteral("info"), damaged.fileName()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QLatin1String("PNG"))) << r.err.toStdString();
    expectPrefixedLines(r);
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
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("(-89,9 .. 89,9)")));
    r = cli({QStringLiteral("rotate"), QStringLiteral("0"), QStringLiteral("--centre"), QStringLiteral("1"),
             QStringLiteral("1"), in, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(result(), picture);
    for (const char* side : {"0", "-3"}) {
        r = cli(
            {QStringLiteral("scale"), QStringLiteral("--size"), QStringLiteral("10"), QLatin1String(side), in, out});
        EXPECT_EQ(r.code, 2) << side;
    }
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

TEST(Cli, HelpListsEveryCommandAndDescribesEachOne)
{
    const CliRun list = cli({QStringLiteral("help")});
    EXPECT_EQ(list.code, 0);
    EXPECT_TRUE(list.out.startsWith(QLatin1String("usage: ormica-cli")));
    // Without arguments the same list goes to stderr, as a wrong command line.
    const CliRun bare = cli({});
    EXPECT_EQ(bare.code, 2);
    EXPECT_EQ(bare.err, list.out);

    // Every command's usage line shows every option and argument its help
    // describes, the arguments in their order, and nothing else.
    static const QRegularExpression listed(QStringLiteral("\n  ((?:fdb )?[a-z0-9-]+) "));
    static const QRegularExpression described(QStringLiteral("\n  (?:-h, )?(--[a-z0-9-]+)"));
    static const QRegularExpression used(QStringLiteral("--[a-z0-9-]+"));
    QStringList names;
    for (auto it = listed.globalMatch(list.out); it.hasNext();)
        names << it.next().captured(1);
    EXPECT_GE(names.size(), 20);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const CliRun help = cli(QStringList{QStringLiteral("help")} + name.split(QLatin1Char(' ')));
        EXPECT_EQ(help.code, 0);
        const QString usage = help.out.section(QLatin1Char('\n'), 0, 0);
        EXPECT_TRUE(usage.startsWith(QLatin1String("usage: ormica-cli ") + name + QLatin1Char(' ')));
        EXPECT_TRUE(list.out.contains(QLatin1String("\n  ") + usage.mid(18) + QLatin1Char('\n')));
        QStringList options;
        for (auto it = described.globalMatch(help.out.section(QLatin1String("Options:"), 1)); it.hasNext();)
            if (const QString o = it.next().captured(1); o != QLatin1String("--help"))
                options << o;
        QStringList inUsage;
        for (auto it = used.globalMatch(usage); it.hasNext();)
            inUsage << it.next().captured(0);
        inUsage.removeDuplicates();
        options.sort();
        inUsage.sort();
        EXPECT_EQ(inUsage.join(QLatin1Char(' ')).toStdString(), options.join(QLatin1Char(' ')).toStdString());
        qsizetype at = 18 + name.size();
        for (const QString& line : help.out.section(QLatin1String("Arguments:\n"), 1).split(QLatin1Char('\n'))) {
            const QString argument = line.simplified().section(QLatin1Char(' '), 0, 0);
            if (line.startsWith(QLatin1String("  ")) && !line.startsWith(QLatin1String("   ")) && !argument.isEmpty()) {
                at = usage.indexOf(QLatin1Char(' ') + argument, at);
                EXPECT_GE(at, 0) << argument.toStdString();
            }
        }
        for (const char* flag : {"--help", "-h"}) {
            const CliRun asked = cli(name.split(QLatin1Char(' ')) + QStringList{QLatin1String(flag)});
            EXPECT_EQ(asked.code, 0);
            EXPECT_EQ(asked.out, help.out);
        }
    }
    // Help wins over arguments that are still incomplete.
    EXPECT_EQ(cli({QStringLiteral("rotate"), QStringLiteral("10"), QStringLiteral("--help")}).code, 0);

    for (const QStringList& args :
         QList<QStringList>{{QStringLiteral("help"), QStringLiteral("nosuch")},
                            {QStringLiteral("nosuch")},
                            {QStringLiteral("help"), QStringLiteral("info"), QStringLiteral("crop")}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.code, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
        expectPrefixedLines(r);
    }
}

TEST(Cli, EveryNumberThatIsNotAFiniteDecimalIsAWrongCommandLine)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(40, 30), in));
    const QString out = dir.filePath(QStringLiteral("out.jpg"));

    // "@" stands for the number under test, given with a good value first so
    // that only that number can make the command line wrong.
    const struct {
        const char* line;
        const char* good;
        bool whole;
    } numberSlots[] = {
        {"convert IN OUT --quality @", "90", true},
        {"grey IN OUT --quality @", "90", true},
        {"mirror H IN OUT --quality @", "90", true},
        {"rot90 + IN OUT --quality @", "90", true},
        {"rotate @ --centre 10 10 IN OUT", "-12.5", false},
        {"rotate 10 --centre @ 10 IN OUT", "-3", true},
        {"rotate 10 --centre 10 @ IN OUT", "7", true},
        {"rotate 10 --centre 10 10 IN OUT --quality @", "90", true},
        {"crop @ 1 20 20 IN OUT", "-2", true},
        {"crop 1 @ 20 20 IN OUT", "2", true},
        {"crop 1 1 @ 20 IN OUT", "25", true},
        {"crop 1 1 20 @ IN OUT", "25", true},
        {"crop 1 1 20 20 IN OUT --quality @", "90", true},
        {"scale --zoom @ IN OUT", "0.5", false},
        {"scale --size @ 10 IN OUT", "12", true},
        {"scale --size 10 @ IN OUT", "12", true},
        {"scale --zoom 2 IN OUT --quality @", "90", true},
    };
    const QStringList bad{QString(),
                          QStringLiteral(" "),
                          QStringLiteral("nan"),
                          QStringLiteral("inf"),
                          QStringLiteral("-inf"),
                          QStringLiteral("1e999999"),
                          QStringLiteral("12abc"),
                          QStringLiteral("1,5"),
                          QStringLiteral("-")};
    for (const auto& slot : numberSlots) {
        SCOPED_TRACE(slot.line);
        auto with = [&](const QString& value) {
            QStringList args = QString::fromLatin1(slot.line).split(QLatin1Char(' '));
            args.replace(args.indexOf(QStringLiteral("IN")), in);
            args.replace(args.indexOf(QStringLiteral("OUT")), out);
            args.replace(args.indexOf(QStringLiteral("@")), value);
            return args;
        };
        ASSERT_EQ(cli(with(QLatin1String(slot.good))).code, 0) << slot.good;
        QStringList values = bad;
        if (slot.whole)
            values << QStringLiteral("2.5") << QStringLiteral("99999999999");
        for (const QString& value : values) {
            const CliRun r = cli(with(value));
            EXPECT_EQ(r.code, 2) << '"' << value.toStdString() << '"';
            EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
            expectPrefixedLines(r);
        }
    }
}

TEST(Cli, NegativeNumbersAreValuesNotOptions)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(40, 30, 3);
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, in));
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    auto result = [&] { return ReadBmpPixels(out, ReadBmpHeader(out)); };
    auto rotated = [&](int row, int col, long double degrees, TColor fill) {
        TImgTabBGR source, target;
        BitMapToImgTab(picture, source, nullptr);
        RotateForTabBGR(source, row, col, nullptr, target, fill, degrees);
        QImage bitmap(1, 1, QImage::Format_BGR888);
        ImgTabToBitMap(bitmap, target, nullptr);
        return bitmap;
    };
    ASSERT_NE(rotated(10, 12, -30, clWhite), rotated(10, 12, 30, clWhite));

    CliRun r = cli({QStringLiteral("rotate"), QStringLiteral("-30"), QStringLiteral("--centre"), QStringLiteral("10"),
                    QStringLiteral("12"), in, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(result(), rotated(10, 12, -30, clWhite));

    // Negative option values, options first, the angle last; "--" ends the options.
    const QImage expected = rotated(-5, -8, -12.5L, RGBToColor(0, 255, 0));
    for (const QStringList& args : QList<QStringList>{
             {QStringLiteral("rotate"), QStringLiteral("--centre"), QStringLiteral("-5"), QStringLiteral("-8"),
              QStringLiteral("--fill"), QStringLiteral("00FF00"), QStringLiteral("-12.5"), in, out},
             {QStringLiteral("rotate"), QStringLiteral("--centre=-5"), QStringLiteral("--centre=-8"),
              QStringLiteral("--fill=00ff00"), QStringLiteral("--"), QStringLiteral("-12.5"), in, out}}) {
        QFile::remove(out);
        r = cli(args);
        ASSERT_EQ(r.code, 0) << args.join(QLatin1Char(' ')).toStdString() << r.err.toStdString();
        EXPECT_EQ(result(), expected);
    }

    // Corners left of and above the picture are clipped, in any order.
    r = cli({QStringLiteral("crop"), QStringLiteral("-5"), QStringLiteral("-3"), QStringLiteral("10"),
             QStringLiteral("8"), in, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(result(), picture.copy(0, 0, 11, 9));
    r = cli({QStringLiteral("crop"), QStringLiteral("12"), QStringLiteral("-4"), QStringLiteral("-7"),
             QStringLiteral("9"), in, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(result(), picture.copy(0, 0, 13, 10));

    // A dash word that is no number stays an unknown option.
    r = cli({QStringLiteral("crop"), QStringLiteral("-x"), QStringLiteral("1"), QStringLiteral("10"),
             QStringLiteral("8"), in, out});
    EXPECT_EQ(r.code, 2);
    expectPrefixedLines(r);
}

TEST(Cli, InfoRefusesWhatCannotBeLoadedWithTheReason)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    QByteArray pixels(((3 * 40 + 3) & ~3) * 30, '\x40');
    const QString whole = dir.filePath(QStringLiteral("whole.bmp"));
    ASSERT_TRUE(test::writeFile(whole, bmpHeader(40, 30) + pixels));
    CliRun r = cli({QStringLiteral("info"), whole});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("40 30 pf24bit"));

    const QList<QPair<QString, QByteArray>> cases{
        {QStringLiteral("header-only.bmp"), bmpHeader(65500, 5461)},
        {QStringLiteral("half.bmp"), bmpHeader(40, 30) + pixels.left(pixels.size() / 2)},
        {QStringLiteral("last-byte.bmp"), bmpHeader(40, 30) + pixels.chopped(1)},
        {QStringLiteral("header-cut.bmp"), bmpHeader(40, 30).left(30)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name.toStdString());
        const QString file = dir.filePath(name);
        ASSERT_TRUE(test::writeFile(file, bytes));
        r = cli({QStringLiteral("info"), file});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(name)) << r.err.toStdString();
        expectPrefixedLines(r);
        const CliRun converted = cli({QStringLiteral("convert"), file, out});
        EXPECT_EQ(converted.code, 1);
        EXPECT_EQ(converted.err, r.err);
    }
}

TEST(Cli, CoreWarningsAreMarkedAsTheTools)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(40, 30), in));
    const QString out = dir.filePath(QStringLiteral("out.bmp"));

    CliRun r = cli({QStringLiteral("scale"), QStringLiteral("--zoom"), QStringLiteral("0.001"), in, out});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("ormica-cli: warning: Zoom ВНЕ диапазона"))) << r.err.toStdString();
    expectPrefixedLines(r);

    // The rotation warning has a line break of its own; it arrives as one line.
    r = cli({QStringLiteral("rotate"), QStringLiteral("-90"), QStringLiteral("--centre"), QStringLiteral("1"),
             QStringLiteral("1"), in, out});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("ormica-cli: warning: "))) << r.err.toStdString();
    expectPrefixedLines(r);
}

namespace {

}  // namespace

TEST(Cli, AnOperationHoldsAtMostTwoCopiesOfThePicture)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "peak memory is the sanitizer's, not the tool's, in a sanitized build";
#endif
    // Over 32 MiB a copy, so that the allocator hands freed copies back to
    // the system at once and the peak counts only the live ones. Written a
    // row at a time: the test keeps no copy itself.
    constexpr int width = 4000, height = 3000;
    constexpr long copyKilobytes = long(width) * height * 3 / 1024;
    QTemporaryDir dir;
    const BigPicture big = makeBigPicture(dir.path(), width, height, 7, 5);
    ASSERT_FALSE(big.jpg.isEmpty());
    ASSERT_EQ(big.base.code, 0);
    const QString& jpg = big.jpg;
    const MeasuredRun& base = big.base;

    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    const QList<QPair<QStringList, int>> runs{
        {{QStringLiteral("info"), jpg}, 1},
        {{QStringLiteral("convert"), jpg, out}, 1},
        {{QStringLiteral("grey"), jpg, out}, 1},
        {{QStringLiteral("mirror"), QStringLiteral("H"), jpg, out}, 2},
        {{QStringLiteral("rot90"), QStringLiteral("+"), jpg, out}, 2},
        {{QStringLiteral("rotate"), QStringLiteral("10"), QStringLiteral("--centre"), QStringLiteral("1500"),
          QStringLiteral("2000"), jpg, out},
         2},
        {{QStringLiteral("crop"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("3998"),
          QStringLiteral("2998"), jpg, out},
         2},
        {{QStringLiteral("scale"), QStringLiteral("--zoom"), QStringLiteral("1"), jpg, out}, 2},
    };
    for (const auto& [args, copies] : runs) {
        const MeasuredRun run = measure(args);
        ASSERT_EQ(run.code, 0) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(test::PeakWithin(run, base, copies, copyKilobytes)) << args.first().toStdString();
    }
}
