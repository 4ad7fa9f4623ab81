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
using test::cli;
using test::CliRun;
using test::expectPrefixedLines;
using test::measure;
using test::MeasuredRun;

namespace {

const QStringList kCommands{QStringLiteral("info"),   QStringLiteral("convert"), QStringLiteral("grey"),
                            QStringLiteral("mirror"), QStringLiteral("rot90"),   QStringLiteral("rotate"),
                            QStringLiteral("crop"),   QStringLiteral("scale")};

// The 54 bytes of a bottom-up 24-bit BMP header.
QByteArray bmpHeader(int width, int height)
{
    const qint64 stride = (3 * qint64(width) + 3) & ~qint64(3);
    const qint64 data = stride * height;
    QByteArray h(54, '\0');
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(quint32(54 + data), h.data() + 2);
    qToLittleEndian<quint32>(54, h.data() + 10);
    qToLittleEndian<quint32>(40, h.data() + 14);
    qToLittleEndian<qint32>(width, h.data() + 18);
    qToLittleEndian<qint32>(height, h.data() + 22);
    qToLittleEndian<quint16>(1, h.data() + 26);
    qToLittleEndian<quint16>(24, h.data() + 28);
    qToLittleEndian<quint32>(quint32(data), h.data() + 34);
    return h;
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
    struct Slot {
        QStringList args;
        QString good;
        bool whole;
    };
    const QString at = QStringLiteral("@");
    const QString q = QStringLiteral("--quality");
    const QList<Slot> numberSlots{
        {{QStringLiteral("convert"), in, out, q, at}, QStringLiteral("90"), true},
        {{QStringLiteral("grey"), in, out, q, at}, QStringLiteral("90"), true},
        {{QStringLiteral("mirror"), QStringLiteral("H"), in, out, q, at}, QStringLiteral("90"), true},
        {{QStringLiteral("rot90"), QStringLiteral("+"), in, out, q, at}, QStringLiteral("90"), true},
        {{QStringLiteral("rotate"), at, QStringLiteral("--centre"), QStringLiteral("10"), QStringLiteral("10"), in,
          out},
         QStringLiteral("-12.5"),
         false},
        {{QStringLiteral("rotate"), QStringLiteral("10"), QStringLiteral("--centre"), at, QStringLiteral("10"), in,
          out},
         QStringLiteral("-3"),
         true},
        {{QStringLiteral("rotate"), QStringLiteral("10"), QStringLiteral("--centre"), QStringLiteral("10"), at, in,
          out},
         QStringLiteral("7"),
         true},
        {{QStringLiteral("rotate"), QStringLiteral("10"), QStringLiteral("--centre"), QStringLiteral("10"),
          QStringLiteral("10"), in, out, q, at},
         QStringLiteral("90"),
         true},
        {{QStringLiteral("crop"), at, QStringLiteral("1"), QStringLiteral("20"), QStringLiteral("20"), in, out},
         QStringLiteral("-2"),
         true},
        {{QStringLiteral("crop"), QStringLiteral("1"), at, QStringLiteral("20"), QStringLiteral("20"), in, out},
         QStringLiteral("2"),
         true},
        {{QStringLiteral("crop"), QStringLiteral("1"), QStringLiteral("1"), at, QStringLiteral("20"), in, out},
         QStringLiteral("25"),
         true},
        {{QStringLiteral("crop"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("20"), at, in, out},
         QStringLiteral("25"),
         true},
        {{QStringLiteral("crop"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("20"), QStringLiteral("20"),
          in, out, q, at},
         QStringLiteral("90"),
         true},
        {{QStringLiteral("scale"), QStringLiteral("--zoom"), at, in, out}, QStringLiteral("0.5"), false},
        {{QStringLiteral("scale"), QStringLiteral("--size"), at, QStringLiteral("10"), in, out},
         QStringLiteral("12"),
         true},
        {{QStringLiteral("scale"), QStringLiteral("--size"), QStringLiteral("10"), at, in, out},
         QStringLiteral("12"),
         true},
        {{QStringLiteral("scale"), QStringLiteral("--zoom"), QStringLiteral("2"), in, out, q, at},
         QStringLiteral("90"),
         true},
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
    for (const Slot& slot : numberSlots) {
        auto with = [&](const QString& value) {
            QStringList args = slot.args;
            args.replace(args.indexOf(at), value);
            return args;
        };
        SCOPED_TRACE(slot.args.join(QLatin1Char(' ')).toStdString());
        ASSERT_EQ(cli(with(slot.good)).code, 0) << slot.good.toStdString();
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

// A large JPEG made from a BMP written a row at a time (the test keeps no
// copy), and the tool's run on an 8 x 8 picture to measure against. JPEG
// input, because the BMP reader passes through a 32-bit picture on its way.
struct BigPicture {
    QString jpg;
    MeasuredRun base;
};
BigPicture makeBigPicture(const QTemporaryDir& dir, int width, int height, int mixA, int mixB)
{
    const QString bmp = dir.filePath(QStringLiteral("big.bmp"));
    {
        QFile f(bmp);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(bmpHeader(width, height));
        QByteArray row(3 * width, '\0');
        for (int y = 0; y < height; ++y) {
            for (int i = 0; i < row.size(); ++i)
                row[i] = char((i * mixA + y * 3) / mixB);
            if (f.write(row) != row.size())
                return {};
        }
    }
    const QString jpg = dir.filePath(QStringLiteral("big.jpg"));
    if (cli({QStringLiteral("convert"), bmp, jpg}).code != 0)
        return {};
    QFile::remove(bmp);
    const QString small = dir.filePath(QStringLiteral("small.bmp"));
    if (!WriteBmpFile(test::patternImage(8, 8), small))
        return {};
    return {jpg, measure({QStringLiteral("info"), small})};
}

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
    const BigPicture big = makeBigPicture(dir, width, height, 7, 5);
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

    CliRun r = cli({QStringLiteral("hist"), bmp});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, summary.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    // A statistic that is not whole still shows its point and 17 digits.
    EXPECT_TRUE(summary[1].contains(QLatin1Char('.')));

    r = cli({QStringLiteral("hist"), bmp, QStringLiteral("--counts")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, (summary + counts).join(QLatin1Char('\n')) + QLatin1Char('\n'));

    // A uniform picture: whole numbers print without a point.
    const QString grey = dir.filePath(QStringLiteral("grey.bmp"));
    QImage uniform(3, 2, QImage::Format_BGR888);
    uniform.fill(qRgb(128, 128, 128));
    ASSERT_TRUE(WriteBmpFile(uniform, grey));
    r = cli({QStringLiteral("hist"), grey});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("count\t6\tblack\t0\twhite\t0\nR\t128\t0\t0\t6\nG\t128\t0\t0\t6\n"
                                    "B\t128\t0\t0\t6\nL\t128\t0\t0\t6\n"));

    const CliRun missing = cli({QStringLiteral("hist"), dir.filePath(QStringLiteral("none.bmp"))});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    expectPrefixedLines(missing);
    EXPECT_EQ(cli({QStringLiteral("hist")}).code, 2);

    const CliRun help = cli({QStringLiteral("help"), QStringLiteral("hist")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QLatin1String("--counts")));
    EXPECT_TRUE(cli({QStringLiteral("help")}).out.contains(QLatin1String("\n  hist IN")));
}

#include "core/transfer/fcc_file.h"
#include "core/transfer/point_list.h"
#include "core/transfer/transfer_function.h"

#include <algorithm>

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
    CliRun r = cliBytes({QStringLiteral("curve"), QStringLiteral("--formula"), QStringLiteral("identity"),
                         QStringLiteral("--xe"), QStringLiteral("1"), QStringLiteral("--points"), QStringLiteral("4")},
                        out);
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
    r = cliBytes({QStringLiteral("curve"), QStringLiteral("--formula"), QStringLiteral("identity"),
                  QStringLiteral("--xe"), QStringLiteral("1"), QStringLiteral("--points"), QStringLiteral("4"),
                  QStringLiteral("--negative")},
                 out);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const TBrightPointArray negative = heldByEditor(identity, true);
    EXPECT_EQ(out, fccBytes(negative));
    ASSERT_EQ(negative.size(), identity.size());
    for (std::size_t i = 0; i < negative.size(); ++i) {
        EXPECT_EQ(negative[i].X, identity[i].X);
        EXPECT_EQ(negative[i].Y, 255 - identity[i].Y);
    }

    // Other generators and a loaded file go through the editor too.
    r = cliBytes({QStringLiteral("curve"), QStringLiteral("--step"), QStringLiteral("8"), QStringLiteral("--width"),
                  QStringLiteral("2")},
                 out);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(out, fccBytes(heldByEditor(GenerateSpecialPoints(1, 1, 2), false)));
    r = cliBytes({QStringLiteral("curve"), QStringLiteral("--grating"), QStringLiteral("4")}, out);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(out, fccBytes(heldByEditor(GenerateSpecialPoints(2, 0, 0), false)));
    r = cliBytes({QStringLiteral("curve"), QStringLiteral("--formula"), QStringLiteral("sqrt"), QStringLiteral("--xe"),
                  QStringLiteral("2"), QStringLiteral("--points"), QStringLiteral("16")},
                 out);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(out, fccBytes(heldByEditor(*GenerateFormulaPoints(3, 16, 2.0L), false)));
    const QString sqrtFcc = dir.filePath(QStringLiteral("sqrt.fcc"));
    ASSERT_TRUE(test::writeFile(sqrtFcc, out));
    QByteArray again;
    r = cliBytes({QStringLiteral("curve"), QStringLiteral("--fcc"), sqrtFcc}, again);
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(again, out);

    // Wrong command lines.
    for (const char* xe : {"0.05", "2.01", "-1", "x"}) {
        r = cli({QStringLiteral("curve"), QStringLiteral("--formula"), QStringLiteral("ln"), QStringLiteral("--xe"),
                 QLatin1String(xe), QStringLiteral("--points"), QStringLiteral("8")});
        EXPECT_EQ(r.code, 2) << xe;
        EXPECT_TRUE(r.out.isEmpty());
        expectPrefixedLines(r);
    }
    EXPECT_EQ(cli({QStringLiteral("curve"), QStringLiteral("--step"), QStringLiteral("4"), QStringLiteral("--grating"),
                   QStringLiteral("4")})
                  .code,
              2);
    EXPECT_EQ(
        cli({QStringLiteral("curve"), QStringLiteral("--step"), QStringLiteral("4"), QStringLiteral("--fcc"), fcc})
            .code,
        2);
    EXPECT_EQ(cli({QStringLiteral("curve")}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("curve"), QStringLiteral("--step"), QStringLiteral("5")}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("curve"), QStringLiteral("--grating"), QStringLiteral("4"), QStringLiteral("--width"),
                   QStringLiteral("5")})
                  .code,
              2);
    EXPECT_EQ(cli({QStringLiteral("curve"), QStringLiteral("--formula"), QStringLiteral("cube"), QStringLiteral("--xe"),
                   QStringLiteral("1"), QStringLiteral("--points"), QStringLiteral("4")})
                  .code,
              2);
}

TEST(Cli, TransferAppliesAFunctionFileAsTheWindowDoes)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(37, 23, 9);
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, bmp));
    const TImgTabBGR original = test::arrayOf(ReadBmpPixels(bmp, ReadBmpHeader(bmp)));

    const QString identityFcc = dir.filePath(QStringLiteral("identity.fcc"));
    ASSERT_TRUE(WriteFccFile(identityFcc, {{0, 0}, {255, 255}}));
    const QString same = dir.filePath(QStringLiteral("same.bmp"));
    CliRun r = cli({QStringLiteral("transfer"), identityFcc, bmp, same});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(test::sameArrays(test::arrayOf(ReadBmpPixels(same, ReadBmpHeader(same))), original));

    // A negative, with out-of-range values that loading clamps.
    const QString negativeFcc = dir.filePath(QStringLiteral("negative.fcc"));
    ASSERT_TRUE(test::writeFile(negativeFcc, "0\t300\r\n100\t180\n255\t-4\r\n"));
    TBrightPointArray loaded;
    TFccReadState state;
    ASSERT_TRUE(LoadFccFile(negativeFcc, loaded, state));
    TImgTabBGR expected;
    TSilentProgress progress;
    ConvertImageTab(original, expected, heldByEditor(loaded, false), progress);
    ASSERT_FALSE(expected.empty());
    EXPECT_FALSE(test::sameArrays(expected, original));
    const QString inverted = dir.filePath(QStringLiteral("inverted.bmp"));
    r = cli({QStringLiteral("transfer"), negativeFcc, bmp, inverted});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(test::sameArrays(test::arrayOf(ReadBmpPixels(inverted, ReadBmpHeader(inverted))), expected));

    // A refused file writes nothing.
    const QString badFcc = dir.filePath(QStringLiteral("bad.fcc"));
    ASSERT_TRUE(test::writeFile(badFcc, "0\t0\nabc\t12\n255\t255\n"));
    for (const QString& fcc : {badFcc, dir.filePath(QStringLiteral("missing.fcc"))}) {
        const QString out = dir.filePath(QStringLiteral("never.bmp"));
        r = cli({QStringLiteral("transfer"), fcc, bmp, out});
        EXPECT_EQ(r.code, 1) << fcc.toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        expectPrefixedLines(r);
        EXPECT_FALSE(QFileInfo::exists(out));
    }
    EXPECT_EQ(cli({QStringLiteral("transfer"), identityFcc, bmp}).code, 2);
}

// The digital filter command.

#include "core/filter/filter_tab.h"
#include "core/filter/popular_filters.h"
#include "core/filter/regulators.h"

namespace {

// What the whole-image command of the filter window puts into the target.
TImgTabBGR filteredAsTheWindowDoes(const TImgTabBGR& source, const TFilterKernel& kernel, std::int32_t scale)
{
    TImgTabColor colors, result;
    TabBRGtoTabColor(source, colors);
    TImgTabBGR target;
    if (FilterTabColor(kernel, scale, colors, result, nullptr))
        TabColorToTabBRG(result, target);
    return target;
}

TImgTabBGR bmpArray(const QString& file)
{
    return test::arrayOf(ReadBmpPixels(file, ReadBmpHeader(file)));
}

QByteArray kernelFileText(const TFilterKernel& k)
{
    QByteArray text;
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c)
            text += QByteArray::number(k.at(r, c)) + (c < 6 ? " \t" : "");
        text += r % 2 ? "\r\n" : "\n";
    }
    return text;
}

}  // namespace

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
        const CliRun r = cli({QStringLiteral("filter"), QStringLiteral("--ready"), QLatin1String(name), bmp, out});
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
    const QString kernelFile = dir.filePath(QStringLiteral("edges.txt"));
    ASSERT_TRUE(test::writeFile(kernelFile, kernelFileText(edges)));
    CliRun r = cli({QStringLiteral("filter"), QStringLiteral("--kernel"), kernelFile, QStringLiteral("--scale"),
                    QStringLiteral("3"), bmp, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const TImgTabBGR edgeExpected = filteredAsTheWindowDoes(original, edges, 3);
    EXPECT_TRUE(test::sameArrays(bmpArray(out), edgeExpected));
    // The border of a kernel whose sum is below 1 is black.
    const TImgTabBGR written = bmpArray(out);
    EXPECT_TRUE(std::ranges::all_of(written[0], [](std::uint8_t v) { return v == 0; }));

    // The regulators: focus from the loaded kernel's centre and sum, then brightness.
    r = cli({QStringLiteral("filter"), QStringLiteral("--ready"), QStringLiteral("L3"), QStringLiteral("--focus"),
             QStringLiteral("-5"), QStringLiteral("--light"), QStringLiteral("4"), bmp, out});
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
    r = cli({QStringLiteral("filter"), QStringLiteral("--ready"), QStringLiteral("L3"), QStringLiteral("--focus"),
             QStringLiteral("10"), bmp, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QStringLiteral("ormica-cli: focus 10: centre -3, scale 1\n"));
    focused.centre() = -3;
    EXPECT_TRUE(test::sameArrays(bmpArray(out), filteredAsTheWindowDoes(original, focused, 1)));
    // A sum of 2 or less: the brightness regulator changes nothing.
    r = cli({QStringLiteral("filter"), QStringLiteral("--ready"), QStringLiteral("H3"), QStringLiteral("--light"),
             QStringLiteral("-10"), bmp, out});
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
    TFilterKernel huge;
    huge.centre() = 9000000;
    const QString hugeFile = dir.filePath(QStringLiteral("huge.txt"));
    ASSERT_TRUE(test::writeFile(hugeFile, kernelFileText(huge)));
    const QString shortFile = dir.filePath(QStringLiteral("short.txt"));
    ASSERT_TRUE(test::writeFile(shortFile, "1 2 3\n"));
    TFilterKernel negative;
    negative.centre() = -4;
    const QString negativeFile = dir.filePath(QStringLiteral("negative.txt"));
    ASSERT_TRUE(test::writeFile(negativeFile, kernelFileText(negative)));

    const QString runRefusal = QStringLiteral(
        "ormica-cli: Масштаб цифрового фильтра меньше единицы. Перезагрузите или отредактируйте фильтр.\n");
    const QString ready = QStringLiteral("--ready");
    const struct {
        QStringList args;
        int code;
        QString err;  // the whole of stderr, or empty to check only that there is one
    } cases[] = {
        {{ready, QStringLiteral("H1"), QStringLiteral("--scale"), QStringLiteral("0"), bmp, out}, 1, runRefusal},
        {{ready, QStringLiteral("L1"), QStringLiteral("--scale"), QStringLiteral("-7"), bmp, out}, 1, runRefusal},
        // A kernel whose sum is below 1 keeps that sum as its scale, as the window's load does.
        {{QStringLiteral("--kernel"), negativeFile, bmp, out}, 1, runRefusal},
        {{QStringLiteral("--kernel"), hugeFile, bmp, out},
         1,
         QStringLiteral("ormica-cli: error: LoadFilter : ") +
             KernelTooLargeText().replace(QLatin1String("\r\n"), QLatin1String(" ")) + QLatin1Char('\n')},
        {{QStringLiteral("--kernel"), shortFile, bmp, out}, 1, {}},
        {{QStringLiteral("--kernel"), dir.filePath(QStringLiteral("none.txt")), bmp, out}, 1, {}},
        {{ready, QStringLiteral("H2"), tiny, out},
         1,
         QStringLiteral(
             "ormica-cli: warning: FilterTabColor : Массив меньше 4 x 4 пикселей, фильтр не применяется.\n")},
        {{ready, QStringLiteral("H2"), dir.filePath(QStringLiteral("none.bmp")), out}, 1, {}},
        // Wrong command lines.
        {{bmp, out}, 2, {}},
        {{ready, QStringLiteral("H1"), QStringLiteral("--kernel"), hugeFile, bmp, out}, 2, {}},
        {{ready, QStringLiteral("H4"), bmp, out}, 2, {}},
        {{ready, QStringLiteral("H1"), QStringLiteral("--focus"), QStringLiteral("11"), bmp, out}, 2, {}},
        {{ready, QStringLiteral("H1"), QStringLiteral("--light"), QStringLiteral("-11"), bmp, out}, 2, {}},
        {{ready, QStringLiteral("H1"), QStringLiteral("--light"), QStringLiteral("1.5"), bmp, out}, 2, {}},
        {{ready, QStringLiteral("H1"), QStringLiteral("--scale"), QStringLiteral("5"), QStringLiteral("--focus"),
          QStringLiteral("1"), bmp, out},
         2,
         {}},
        {{ready, QStringLiteral("H1"), bmp}, 2, {}},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(QStringList{QStringLiteral("filter")} + c.args);
        const std::string line = c.args.join(QLatin1Char(' ')).toStdString();
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
    const BigPicture big = makeBigPicture(dir, width, height, 5, 7);
    ASSERT_FALSE(big.jpg.isEmpty());
    ASSERT_EQ(big.base.code, 0);
    const QString& jpg = big.jpg;
    const MeasuredRun& base = big.base;
    const MeasuredRun run = measure({QStringLiteral("filter"), QStringLiteral("--ready"), QStringLiteral("H1"), jpg,
                                     dir.filePath(QStringLiteral("out.bmp"))});
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(test::PeakWithin(run, base, 2, copyKilobytes));
}

namespace {

// One 453-byte record of a filter base, put together byte by byte: marker,
// status, number, then name, weights, scale, type and the two comments, each
// text a length byte and 80 bytes of Windows-1251 padded with `fill`.
QByteArray fdbRecordBytes(std::uint8_t status, std::int32_t number, const QByteArray& name, const TFilterKernel& kernel,
                          std::int32_t scale, std::int32_t type, const QByteArray& comment1 = {},
                          const QByteArray& comment2 = {}, char fill = '\0')
{
    QByteArray r(453, fill);
    r[0] = 'R';
    r[1] = char(status);
    qToLittleEndian<std::int32_t>(number, r.data() + 2);
    auto text = [&](int at, const QByteArray& s) {
        r[at] = char(s.size());
        r.replace(at + 1, s.size(), s);
    };
    text(6, name);
    for (int i = 0; i < 49; ++i)
        qToLittleEndian<std::int32_t>(kernel.Weights[std::size_t(i)], r.data() + 87 + 4 * i);
    qToLittleEndian<std::int32_t>(scale, r.data() + 283);
    qToLittleEndian<std::int32_t>(type, r.data() + 287);
    text(291, comment1);
    text(372, comment2);
    return r;
}

CliRun fdb(const QStringList& args)
{
    return cli(QStringList{QStringLiteral("fdb")} + args);
}

// "Резкость" and "Сглаживание" in Windows-1251.
const QByteArray kSharpness("\xD0\xE5\xE7\xEA\xEE\xF1\xF2\xFC");
const QByteArray kSmoothing("\xD1\xE3\xEB\xE0\xE6\xE8\xE2\xE0\xED\xE8\xE5");

}  // namespace

TEST(CliFdb, ListsAndShowsAFileBuiltByteByByte)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("built.fdb"));
    // A short name over the remnants of a longer one; a deleted record; a
    // damaged length byte of 255; a partial record at the end.
    QByteArray second = fdbRecordBytes(0, 1, kSmoothing, PopFilterL2, 43, 1, "\xEC\xFF\xE3\xEA\xE8\xE9", "two");
    QByteArray third = fdbRecordBytes(1, 2, QByteArray(80, 'n'), PopFilterH3, 1, 3);
    third[6] = char(255);
    ASSERT_TRUE(test::writeFile(base, fdbRecordBytes(1, 0, kSharpness, PopFilterH2, 16, 2, {}, {}, 'q') + second +
                                          third + QByteArray(94, '\x01')));
    ASSERT_EQ(QFileInfo(base).size(), 453 * 3 + 94);

    CliRun r = fdb({QStringLiteral("list"), base});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(r.out, QStringLiteral("0\t1\t2\t16\tРезкость\n"
                                    "1\t0\t1\t43\tСглаживание\n"
                                    "2\t1\t3\t1\t") +
                         QString(80, QLatin1Char('n')) + QLatin1Char('\n'));

    r = fdb({QStringLiteral("show"), base, QStringLiteral("1")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("name\tСглаживание\ntype\t1\nscale\t43\n"
                                    "row\t0\t0\t0\t0\t0\t0\t0\n"
                                    "row\t0\t0\t0\t1\t0\t0\t0\n"
                                    "row\t0\t0\t2\t4\t2\t0\t0\n"
                                    "row\t0\t1\t4\t16\t4\t1\t0\n"
                                    "row\t0\t0\t1\t4\t2\t0\t0\n"
                                    "row\t0\t0\t0\t1\t0\t0\t0\n"
                                    "row\t0\t0\t0\t0\t0\t0\t0\n"
                                    "comment1\tмягкий\ncomment2\ttwo\n"));
    // Listing never writes.
    EXPECT_EQ(QFileInfo(base).size(), 453 * 3 + 94);

    // An empty base lists nothing.
    const QString empty = dir.filePath(QStringLiteral("empty.fdb"));
    ASSERT_TRUE(test::writeFile(empty, {}));
    r = fdb({QStringLiteral("list"), empty});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(CliFdb, AddDeleteRestoreAndCopyWriteTheFormat)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("new.fdb"));
    CliRun r = fdb({QStringLiteral("add"), base, QStringLiteral("--name"), QStringLiteral("Резкость"),
                    QStringLiteral("--ready"), QStringLiteral("H2"), QStringLiteral("--type"), QStringLiteral("2")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("0\n"));
    QByteArray bytes = test::fileBytes(base);
    ASSERT_EQ(bytes.size(), 453);
    // Compared field by field: the bytes after a text are the program's own business.
    const QByteArray expected0 = fdbRecordBytes(1, 0, kSharpness, PopFilterH2, 16, 2);
    EXPECT_EQ(bytes.left(6 + 1 + kSharpness.size()), expected0.left(6 + 1 + kSharpness.size()));
    EXPECT_EQ(bytes.mid(87, 204), expected0.mid(87, 204));
    EXPECT_EQ(bytes[291], '\0');
    EXPECT_EQ(bytes[372], '\0');

    // A kernel file, a scale and comments; a kernel whose sum is not positive gets scale 1.
    TFilterKernel edges;
    edges.at(2, 3) = -1;
    edges.at(3, 2) = -1;
    edges.centre() = 1;
    ASSERT_EQ(*KernelSum(edges), -1);
    const QString kernelFile = dir.filePath(QStringLiteral("edges.txt"));
    ASSERT_TRUE(test::writeFile(kernelFile, kernelFileText(edges)));
    r = fdb({QStringLiteral("add"), base, QStringLiteral("--name"), QStringLiteral("Сглаживание"),
             QStringLiteral("--kernel"), kernelFile, QStringLiteral("--comment1"), QStringLiteral("мягкий"),
             QStringLiteral("--comment2"), QStringLiteral("two")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1\n"));
    r = fdb({QStringLiteral("add"), base, QStringLiteral("--name"), QStringLiteral("third"), QStringLiteral("--ready"),
             QStringLiteral("L1"), QStringLiteral("--scale"), QStringLiteral("200"), QStringLiteral("--type"),
             QStringLiteral("1")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("2\n"));
    bytes = test::fileBytes(base);
    ASSERT_EQ(bytes.size(), 1359);
    const QByteArray expected1 = fdbRecordBytes(1, 1, kSmoothing, edges, 1, 0, "\xEC\xFF\xE3\xEA\xE8\xE9", "two");
    EXPECT_EQ(bytes.mid(453, 6 + 1 + kSmoothing.size()), expected1.left(6 + 1 + kSmoothing.size()));
    EXPECT_EQ(bytes.mid(453 + 87, 204), expected1.mid(87, 204));
    EXPECT_EQ(bytes.mid(453 + 291, 7), expected1.mid(291, 7));
    EXPECT_EQ(bytes.mid(453 + 372, 4), expected1.mid(372, 4));
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(bytes.constData() + 906 + 2), 2);
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(bytes.constData() + 906 + 283), 200);
    EXPECT_EQ(qFromLittleEndian<std::int32_t>(bytes.constData() + 906 + 287), 1);

    // Delete and restore rewrite one status byte in place.
    r = fdb({QStringLiteral("delete"), base, QStringLiteral("1")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QByteArray deleted = bytes;
    deleted[453 + 1] = 0;
    EXPECT_EQ(test::fileBytes(base), deleted);
    EXPECT_EQ(fdb({QStringLiteral("list"), base}).out,
              QStringLiteral("0\t1\t2\t16\tРезкость\n1\t0\t0\t1\tСглаживание\n2\t1\t1\t200\tthird\n"));

    // The copy holds the working records, numbered 0 and 1.
    const QString copy = dir.filePath(QStringLiteral("copy"));
    r = fdb({QStringLiteral("copy"), base, copy});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, copy + QStringLiteral(".fdb\n"));
    QByteArray copied = test::fileBytes(copy + QStringLiteral(".fdb"));
    ASSERT_EQ(copied.size(), 906);
    EXPECT_EQ(copied.left(453), deleted.left(453));
    QByteArray renumbered = deleted.mid(906);
    renumbered[2] = 1;
    EXPECT_EQ(copied.mid(453), renumbered);

    r = fdb({QStringLiteral("restore"), base, QStringLiteral("1")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(test::fileBytes(base), bytes);
}

TEST(CliFdb, ARecordIsAddressedByItsPositionWhateverNumberItStores)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("odd.fdb"));
    // Record 1 stores the number 0, record 2 the number 7: a damaged or hand-edited base.
    const QByteArray original = fdbRecordBytes(1, 0, "a", PopFilterL1, 108, 1) +
                                fdbRecordBytes(1, 0, "b", PopFilterH2, 16, 2, "one", {}, 'q') +
                                fdbRecordBytes(0, 7, "c", PopFilterL3, 6, 1);
    ASSERT_TRUE(test::writeFile(base, original));

    CliRun r = fdb({QStringLiteral("list"), base});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("0\t1\t1\t108\ta\n"
                                    "1\t1\t2\t16\tb\tstored number 0\n"
                                    "2\t0\t1\t6\tc\tstored number 7\n"));
    r = fdb({QStringLiteral("show"), base, QStringLiteral("1")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("name\tb\ntype\t2\nscale\t16\n")));
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("\ncomment1\tone\ncomment2\t\nstored number\t0\n")));
    EXPECT_FALSE(fdb({QStringLiteral("show"), base, QStringLiteral("0")}).out.contains(QLatin1String("stored")));
    EXPECT_EQ(test::fileBytes(base), original);

    // Delete and restore write the record at N, which then stores N.
    QByteArray expected = original;
    ASSERT_EQ(fdb({QStringLiteral("delete"), base, QStringLiteral("1")}).code, 0);
    expected[453 + 1] = 0;
    expected[453 + 2] = 1;
    EXPECT_EQ(test::fileBytes(base), expected);
    ASSERT_EQ(fdb({QStringLiteral("restore"), base, QStringLiteral("2")}).code, 0);
    expected[906 + 1] = 1;
    expected[906 + 2] = 2;
    EXPECT_EQ(test::fileBytes(base), expected);
    EXPECT_EQ(fdb({QStringLiteral("list"), base}).out,
              QStringLiteral("0\t1\t1\t108\ta\n1\t0\t2\t16\tb\n2\t1\t1\t6\tc\n"));
}

TEST(CliFdb, BadInputGetsOneLineAndLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("base.fdb"));
    const QByteArray original =
        fdbRecordBytes(1, 0, kSharpness, PopFilterH2, 16, 2) + fdbRecordBytes(0, 1, "b", PopFilterL3, 6, 1);
    ASSERT_TRUE(test::writeFile(base, original));
    const QString other = dir.filePath(QStringLiteral("other.fdb"));
    const QByteArray otherBytes("not a base of records");
    ASSERT_TRUE(test::writeFile(other, otherBytes));
    const QString missing = dir.filePath(QStringLiteral("missing.fdb"));
    const QString name = QStringLiteral("--name");
    const QString ready = QStringLiteral("--ready");
    const struct {
        QStringList args;
        int code;
    } cases[] = {
        {{QStringLiteral("show"), base, QStringLiteral("2")}, 1},
        {{QStringLiteral("show"), base, QStringLiteral("-1")}, 1},
        {{QStringLiteral("show"), base, QStringLiteral("one")}, 2},
        {{QStringLiteral("show"), missing, QStringLiteral("0")}, 1},
        {{QStringLiteral("list"), missing}, 1},
        {{QStringLiteral("list"), dir.path()}, 1},
        {{QStringLiteral("delete"), base, QStringLiteral("2")}, 1},
        {{QStringLiteral("restore"), base, QStringLiteral("7")}, 1},
        {{QStringLiteral("delete"), missing, QStringLiteral("0")}, 1},
        {{QStringLiteral("add"), base, name, QString(81, QLatin1Char('x')), ready, QStringLiteral("H1")}, 2},
        {{QStringLiteral("add"), base, name, QStringLiteral("ok ✓"), ready, QStringLiteral("H1")}, 2},
        {{QStringLiteral("add"), base, name, QStringLiteral("ok"), ready, QStringLiteral("H1"),
          QStringLiteral("--comment2"), QString(90, QChar(0x0436))},
         2},
        {{QStringLiteral("add"), base, ready, QStringLiteral("H1")}, 2},
        {{QStringLiteral("add"), base, name, QStringLiteral("ok")}, 2},
        {{QStringLiteral("add"), base, name, QStringLiteral("ok"), ready, QStringLiteral("H9")}, 2},
        {{QStringLiteral("add"), base, name, QStringLiteral("ok"), ready, QStringLiteral("H1"),
          QStringLiteral("--type"), QStringLiteral("4")},
         2},
        {{QStringLiteral("add"), base, name, QStringLiteral("ok"), ready, QStringLiteral("H1"),
          QStringLiteral("--scale"), QStringLiteral("0")},
         2},
        {{QStringLiteral("add"), base, name, QStringLiteral("ok"), QStringLiteral("--kernel"),
          dir.filePath(QStringLiteral("none.txt"))},
         1},
        {{QStringLiteral("add"), missing, name, QString(81, QLatin1Char('x')), ready, QStringLiteral("H1")}, 2},
        {{QStringLiteral("copy"), base, base}, 1},
        {{QStringLiteral("copy"), base, dir.filePath(QStringLiteral("base"))}, 1},
        {{QStringLiteral("copy"), base, other}, 1},
        {{QStringLiteral("copy"), missing, dir.filePath(QStringLiteral("x.fdb"))}, 1},
        {{QStringLiteral("copy"), base, dir.filePath(QStringLiteral("no/such/x.fdb"))}, 1},
    };
    for (const auto& c : cases) {
        const CliRun r = fdb(c.args);
        const std::string line = c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.code, c.code) << line << "\n" << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << line << "\n" << r.err.toStdString();
        expectPrefixedLines(r);
        EXPECT_TRUE(r.out.isEmpty()) << line;
        EXPECT_EQ(test::fileBytes(base), original) << line;
        EXPECT_EQ(test::fileBytes(other), otherBytes) << line;
        EXPECT_FALSE(QFileInfo::exists(missing)) << line;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size(), 2) << line;
    }
    // The refusals say what was wrong.
    EXPECT_TRUE(fdb({QStringLiteral("show"), base, QStringLiteral("2")}).err.contains(QLatin1String("no record 2")));
    EXPECT_TRUE(fdb({QStringLiteral("copy"), base, base})
                    .err.contains(QStringLiteral("Сохранение в текущую базу данных ЗАПРЕЩЕНО")));
    EXPECT_TRUE(fdb({QStringLiteral("add"), base, name, QStringLiteral("ok ✓"), ready, QStringLiteral("H1")})
                    .err.contains(QStringLiteral("Windows-1251")));

    // Weights the filter refuses would make a record that can never be used.
    TFilterKernel huge{};
    huge.centre() = 9000000;
    const QString hugeFile = dir.filePath(QStringLiteral("huge.txt"));
    ASSERT_TRUE(test::writeFile(hugeFile, kernelFileText(huge)));
    const CliRun r =
        fdb({QStringLiteral("add"), base, name, QStringLiteral("big"), QStringLiteral("--kernel"), hugeFile});
    EXPECT_EQ(r.code, 1);
    QString refusal = QStringLiteral("ormica-cli: error: LoadFilter : ") + KernelTooLargeText() + QLatin1Char('\n');
    refusal.replace(QLatin1String("\r\n"), QLatin1String(" "));
    EXPECT_EQ(r.err.toStdString(), refusal.toStdString());
    EXPECT_EQ(test::fileBytes(base), original);
}

TEST(CliFdb, FilterTakesTheRecordsKernelWithItsWeightSumAsScale)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(23, 17, 5), bmp));
    const TImgTabBGR original = bmpArray(bmp);
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    TFilterKernel negative;
    negative.centre() = -3;
    const QString base = dir.filePath(QStringLiteral("f.fdb"));
    // The stored scales are not what the filter window uses; record 1 stores
    // the number 0, and is still record 1.
    ASSERT_TRUE(test::writeFile(base, fdbRecordBytes(1, 0, "a", PopFilterL2, 1, 1) +
                                          fdbRecordBytes(0, 0, "b", PopFilterH1, 7, 2) +
                                          fdbRecordBytes(1, 2, "c", negative, 5, 0)));
    for (const auto& [record, kernel] : {std::pair{0, PopFilterL2}, std::pair{1, PopFilterH1}}) {
        const CliRun r = cli({QStringLiteral("filter"), QStringLiteral("--fdb"), base, QStringLiteral("--record"),
                              QString::number(record), bmp, out});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const TImgTabBGR expected = filteredAsTheWindowDoes(original, kernel, *KernelSum(kernel));
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(test::sameArrays(bmpArray(out), expected)) << record;
        QFile::remove(out);
    }
    // The regulators work on it as on any kernel taken.
    CliRun r = cli({QStringLiteral("filter"), QStringLiteral("--fdb"), base, QStringLiteral("--record"),
                    QStringLiteral("0"), QStringLiteral("--light"), QStringLiteral("3"), bmp, out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(
        test::sameArrays(bmpArray(out), filteredAsTheWindowDoes(original, PopFilterL2, *LightToScale(PopFilterL2, 3))));
    QFile::remove(out);

    const struct {
        QStringList args;
        int code;
    } cases[] = {
        {{QStringLiteral("--fdb"), base, QStringLiteral("--record"), QStringLiteral("2"), bmp, out}, 1},  // sum -3
        {{QStringLiteral("--fdb"), base, QStringLiteral("--record"), QStringLiteral("3"), bmp, out}, 1},
        {{QStringLiteral("--fdb"), dir.filePath(QStringLiteral("none.fdb")), QStringLiteral("--record"),
          QStringLiteral("0"), bmp, out},
         1},
        {{QStringLiteral("--fdb"), base, bmp, out}, 2},
        {{QStringLiteral("--ready"), QStringLiteral("H1"), QStringLiteral("--record"), QStringLiteral("0"), bmp, out},
         2},
        {{QStringLiteral("--fdb"), base, QStringLiteral("--record"), QStringLiteral("0"), QStringLiteral("--ready"),
          QStringLiteral("H1"), bmp, out},
         2},
    };
    for (const auto& c : cases) {
        r = cli(QStringList{QStringLiteral("filter")} + c.args);
        const std::string line = c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.code, c.code) << line << "\n" << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << line << "\n" << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(out)) << line;
    }
}

TEST(CliFdb, EachCommandIsNamedByBothWordsInTheListAndInHelp)
{
    const CliRun list = cli({QStringLiteral("help")});
    ASSERT_EQ(list.code, 0);
    for (const char* word : {"list", "show", "add", "delete", "restore", "copy"}) {
        const QString name = QStringLiteral("fdb ") + QLatin1String(word);
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(list.out.contains(QLatin1String("\n  ") + name + QLatin1String(" FILE")));
        const CliRun help = cli({QStringLiteral("help"), QStringLiteral("fdb"), QLatin1String(word)});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.startsWith(QLatin1String("usage: ormica-cli ") + name + QLatin1Char(' ')));
        const CliRun asked = fdb({QLatin1String(word), QStringLiteral("--help")});
        EXPECT_EQ(asked.code, 0);
        EXPECT_EQ(asked.out, help.out);
    }
    EXPECT_TRUE(cli({QStringLiteral("help"), QStringLiteral("fdb"), QStringLiteral("add")})
                    .out.contains(QLatin1String("--comment2")));
    for (const QStringList& args : QList<QStringList>{
             {QStringLiteral("fdb")},
             {QStringLiteral("fdb"), QStringLiteral("nosuch")},
             {QStringLiteral("help"), QStringLiteral("fdb")},
             {QStringLiteral("help"), QStringLiteral("fdb"), QStringLiteral("list"), QStringLiteral("show")},
             {QStringLiteral("fdb"), QStringLiteral("list")}}) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.code, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
        expectPrefixedLines(r);
    }
}

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
    const BigPicture big = makeBigPicture(dir, width, height, 7, 5);
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

// ormica-cli stats: a fragment's row or column as the fragment tab computes it.
#include "core/histogram/fragment_stats.h"

namespace {

CliRun stats(const QString& in, const QStringList& args)
{
    return cli(QStringList{QStringLiteral("stats"), in} + args);
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
    CliRun r = stats(in, {QStringLiteral("--fragment"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("2"),
                          QStringLiteral("2"), QStringLiteral("--row"), QStringLiteral("1"),
                          QStringLiteral("--channel"), QStringLiteral("R"), QStringLiteral("--auto")});
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
    r = stats(in, {QStringLiteral("--fragment"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("4"),
                   QStringLiteral("5"), QStringLiteral("--row"), QStringLiteral("1"), QStringLiteral("--channel"),
                   QStringLiteral("R"), QStringLiteral("--conv"), QStringLiteral("one")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    want = head;
    const int convValues[9] = {0, 0, -1, -1, 0, 1, 1, 0, 0};
    for (int i = 0; i < 9; ++i)
        want << QStringLiteral("%1\t").arg(i - 4) + real(convValues[i]);
    EXPECT_EQ(outLines(r), want);

    // Without a correlation only the five lines; the column and the default channel L.
    r = stats(in, {QStringLiteral("--fragment"), QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("4"),
                   QStringLiteral("5"), QStringLiteral("--column"), QStringLiteral("2")});
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
    const QStringList common{QStringLiteral("--fragment"), QStringLiteral("0"),         QStringLiteral("0"),
                             QStringLiteral("10"),         QStringLiteral("2"),         QStringLiteral("--row"),
                             QStringLiteral("0"),          QStringLiteral("--channel"), QStringLiteral("R")};

    // Rect for N = 11 is one at 4, 5, 6: lag k sums the centred values 4 + k .. 6 + k that exist.
    CliRun r = stats(in, common + QStringList{QStringLiteral("--conv"), QStringLiteral("rect")});
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
    r = stats(in, common + QStringList{QStringLiteral("--conv"), QStringLiteral("x")});
    ASSERT_EQ(r.code, 0);
    got = outLines(r);
    EXPECT_EQ(entry(10), QStringLiteral("10\t0.0000000000000000"));     // 65 * X(0)
    EXPECT_EQ(entry(-10), QStringLiteral("-10\t-35.000000000000000"));  // -35 * X(10)
    r = stats(in, common + QStringList{QStringLiteral("--conv"), QStringLiteral("one-minus-x")});
    ASSERT_EQ(r.code, 0);
    got = outLines(r);
    EXPECT_EQ(entry(10), QStringLiteral("10\t65.000000000000000"));
    EXPECT_EQ(entry(-10), QStringLiteral("-10\t0.0000000000000000"));

    // A row of equal values: variance 0, and the autocorrelation is zeros, not divided.
    QImage flat(5, 2, QImage::Format_BGR888);
    flat.fill(QColor(9, 9, 9));
    ASSERT_TRUE(WriteBmpFile(flat, in));
    r = stats(in, {QStringLiteral("--fragment"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("4"),
                   QStringLiteral("1"), QStringLiteral("--row"), QStringLiteral("1"), QStringLiteral("--channel"),
                   QStringLiteral("G"), QStringLiteral("--auto")});
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
    CliRun r = stats(in, {QStringLiteral("--fragment"), QStringLiteral("400"), QStringLiteral("250"),
                          QStringLiteral("-3"), QStringLiteral("-3"), QStringLiteral("--column"), QStringLiteral("286"),
                          QStringLiteral("--channel"), QStringLiteral("B")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList got = outLines(r);
    ASSERT_GE(got.size(), 1);
    EXPECT_EQ(got[0], QStringLiteral("n\t167"));
    long double sum = 0;
    for (int y = 0; y < 167; ++y)
        sum += img.pixelColor(286, y).blue();
    EXPECT_EQ(got[1], QStringLiteral("mean\t") + real(sum / 167));

    r = stats(in, {QStringLiteral("--fragment"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("299"),
                   QStringLiteral("199"), QStringLiteral("--row"), QStringLiteral("166")});
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(outLines(r).value(0), QStringLiteral("n\t287"));

    r = stats(in, {QStringLiteral("--fragment"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("299"),
                   QStringLiteral("199"), QStringLiteral("--column"), QStringLiteral("287")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, QStringLiteral("ormica-cli: warning: Координаты СТОЛБЦА ВНЕ размеров изображения\n"));
}

TEST(CliStats, RefusalsGoToStandardError)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(10, 5), in));
    const auto frag = [](int l, int t, int r, int b) {
        return QStringList{QStringLiteral("--fragment"), QString::number(l), QString::number(t), QString::number(r),
                           QString::number(b)};
    };
    const struct {
        QStringList args;
        int code;
        const char* message;
    } cases[] = {
        {frag(0, 0, 9, 4) + QStringList{QStringLiteral("--row"), QStringLiteral("5")}, 1,
         "warning: Координаты СТРОКИ ВНЕ размеров изображения"},
        {frag(0, 0, 9, 4) + QStringList{QStringLiteral("--row"), QStringLiteral("-1")}, 1,
         "warning: Координаты СТРОКИ ВНЕ размеров изображения"},
        {frag(2, 1, 3, 4) + QStringList{QStringLiteral("--column"), QStringLiteral("2")}, 1,
         "warning: Координаты СТОЛБЦА ВНЕ размеров изображения"},
        {frag(2, 1, 3, 4) + QStringList{QStringLiteral("--row"), QStringLiteral("0"), QStringLiteral("--auto")}, 1,
         "warning: Необходим расчет мат. ожидания и дисперсии"},
        {frag(2, 1, 3, 4) + QStringList{QStringLiteral("--row"), QStringLiteral("0"), QStringLiteral("--conv"),
                                        QStringLiteral("rect")},
         1, "warning: Необходим расчет мат. ожидания и дисперсии"},
        {frag(0, 2, 9, 2) + QStringList{QStringLiteral("--row"), QStringLiteral("0")}, 1,
         "warning: Габариты изображения меньше двух точек"},
        {frag(20, 20, 30, 30) + QStringList{QStringLiteral("--row"), QStringLiteral("0")}, 1, nullptr},
        {frag(0, 0, 9, 4) +
             QStringList{QStringLiteral("--row"), QStringLiteral("0"), QStringLiteral("--column"), QStringLiteral("0")},
         2, nullptr},
        {frag(0, 0, 9, 4), 2, nullptr},
        {QStringList{QStringLiteral("--row"), QStringLiteral("0")}, 2, nullptr},
        {frag(0, 0, 9, 4) + QStringList{QStringLiteral("--row"), QStringLiteral("0"), QStringLiteral("--channel"),
                                        QStringLiteral("Q")},
         2, nullptr},
        {frag(0, 0, 9, 4) +
             QStringList{QStringLiteral("--row"), QStringLiteral("0"), QStringLiteral("--conv"), QStringLiteral("sin")},
         2, nullptr},
        {frag(0, 0, 9, 4) + QStringList{QStringLiteral("--row"), QStringLiteral("0"), QStringLiteral("--auto"),
                                        QStringLiteral("--conv"), QStringLiteral("x")},
         2, nullptr},
        {frag(0, 0, 9, 4) + QStringList{QStringLiteral("--row"), QStringLiteral("1.5")}, 2, nullptr},
    };
    for (const auto& c : cases) {
        const CliRun r = stats(in, c.args);
        const std::string line = c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.code, c.code) << line << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << line;
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << line << "\n" << r.err.toStdString();
        expectPrefixedLines(r);
        if (c.message) {
            EXPECT_EQ(r.err, QStringLiteral("ormica-cli: ") + QString::fromUtf8(c.message) + QLatin1Char('\n')) << line;
        }
    }

    // The same two-pixel-wide fragment without a correlation gives its statistics.
    const CliRun r = stats(in, frag(2, 1, 3, 4) + QStringList{QStringLiteral("--row"), QStringLiteral("0")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(outLines(r).value(0), QStringLiteral("n\t2"));
    EXPECT_TRUE(cli({QStringLiteral("help")}).out.contains(QLatin1String("\n  stats IN --fragment")));
}
