#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "core/engine/geometry.h"
#include "core/engine/gray.h"
#include "core/engine/img_service.h"
#include "core/engine/jpeg_codec.h"
#include "core/engine/sample_pictures.h"
#include "recorders.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <algorithm>
#include <gtest/gtest.h>

using namespace ormica;
using test::cli;
using test::cliInDefaultLanguage;
using test::CliRun;
using test::expectPrefixedLines;
using test::RefusedWith;
using test::words;

TEST(Cli, InfoConvertAndGreyWorkOnRealFiles)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(33, 21, 5);
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, bmp));

    CliRun r = cli(words("info %1", {bmp}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("33 21 pf24bit"));

    const QString jpg = dir.filePath(QStringLiteral("out.JPG"));
    r = cli(words("convert %1 %2 --quality 80", {bmp, jpg}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(DecodeJpegFile(jpg, nullptr).size(), picture.size());
    EXPECT_EQ(cli(words("info %1", {jpg})).out.trimmed(), QStringLiteral("33 21 pf24bit"));

    const QString grey = dir.filePath(QStringLiteral("grey.bmp"));
    r = cli(words("grey %1 %2", {bmp, grey}));
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

    r = cli(words("info %1", {dir.filePath(QStringLiteral("missing.bmp"))}));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QLatin1String("no such file")));

    const QString junk = test::fileIn(dir, QStringLiteral("junk.jpg"), "not a picture at all");
    const QString o = dir.filePath(QStringLiteral("o.bmp"));
    r = cli(words("convert %1 %2", {junk, o}));
    EXPECT_TRUE(RefusedWith(r, 1));
    EXPECT_TRUE(r.err.contains(QLatin1String("JPEG")));

    QImage mono(8, 8, QImage::Format_Mono);
    mono.fill(0);
    const QString monoFile = dir.filePath(QStringLiteral("mono.bmp"));
    ASSERT_TRUE(mono.save(monoFile, "BMP"));
    // info refuses what convert refuses, with the same reason.
    for (const char* line : {"info %1", "grey %1 %2"}) {
        r = cliInDefaultLanguage(words(line, {monoFile, o}));
        EXPECT_EQ(r.code, 1) << line;
        EXPECT_TRUE(r.out.isEmpty()) << line;
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
    r = cli(words("info %1", {indexedFile}));
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("8 6 pf8bit"));

    const QString bmp = dir.filePath(QStringLiteral("ok.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(4, 4), bmp));
    r = cli(words("convert %1 %2", {bmp, dir.filePath(QStringLiteral("o.gif"))}));
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String(".png"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("o.gif"))));
    r = cli(words("info %1", {dir.path()}));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("not a file"))) << r.err.toStdString();
    // A failed write names the file.
    const QString nowhere = dir.filePath(QStringLiteral("no/such/dir/g.bmp"));
    r = cli(words("grey %1 %2", {bmp, nowhere}));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(nowhere)) << r.err.toStdString();
    EXPECT_EQ(cli(words("convert %1 %2 --quality 0", {bmp, dir.filePath(QStringLiteral("o.jpg"))})).code, 2);
}

TEST(Cli, PngTiffAndWebpAreReadAndWrittenByTheirExtension)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(37, 23, 9);
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, bmp));
    const QString back = dir.filePath(QStringLiteral("back.bmp"));
    for (const char* name : {"a.png", "b.TIF", "c.tiff", "d.webp"}) {
        const QString out = dir.filePath(QLatin1String(name));
        CliRun r = cli(words("convert %1 %2", {bmp, out}));
        ASSERT_EQ(r.code, 0) << name << r.err.toStdString();
        EXPECT_EQ(cli(words("info %1", {out})).out.trimmed(), QStringLiteral("37 23 pf24bit")) << name;
        // Lossless at the default quality, so the pixels come back exactly.
        r = cli(words("convert %1 %2", {out, back}));
        ASSERT_EQ(r.code, 0) << name << r.err.toStdString();
        EXPECT_EQ(ReadBmpPixels(back, ReadBmpHeader(back)), picture) << name;
    }
    // Operations write the kind OUT names, too.
    const QString greyPng = dir.filePath(QStringLiteral("grey.png"));
    ASSERT_EQ(cli(words("grey %1 %2", {bmp, greyPng})).code, 0);
    QImage expected;
    BitMapToGrayBitMap(picture, expected);
    EXPECT_EQ(QImage(greyPng, "png").convertToFormat(QImage::Format_BGR888), expected);

    // A lossy WebP is smaller and still loads.
    const QString lossy = dir.filePath(QStringLiteral("lossy.webp"));
    ASSERT_EQ(cli(words("convert %1 %2 --quality 30", {bmp, lossy})).code, 0);
    EXPECT_LT(QFileInfo(lossy).size(), QFileInfo(dir.filePath(QStringLiteral("d.webp"))).size());

    // Damaged files are refused with the kind named, on one line.
    const QByteArray whole = test::fileBytes(dir.filePath(QStringLiteral("a.png")));
    const QString damaged = test::fileIn(dir, QStringLiteral("cut.png"), whole.left(whole.size() / 2));
    const CliRun r = cli(words("info %1", {damaged}));
    EXPECT_TRUE(RefusedWith(r, 1));
    EXPECT_TRUE(r.err.contains(QLatin1String("PNG"))) << r.err.toStdString();
}

TEST(Cli, GeometryAndScalingRunTheCoreRoutines)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(40, 30, 8);
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, in));
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    // The core's warnings are checked as it writes them.
    const auto run = [&](const char* line) { return cliInDefaultLanguage(words(line, {in, out})); };
    auto result = [&] { return ReadBmpPixels(out, ReadBmpHeader(out)); };

    // Corners of a crop in any order, as a selection dragged backwards.
    const struct {
        const char* line;
        QImage expected;
    } pictures[] = {
        {"mirror H %1 %2", picture.mirrored(true, false)},
        {"mirror V %1 %2", picture.mirrored(false, true)},
        {"rot90 - %1 %2", picture.transformed(QTransform().rotate(90))},
        {"crop 30 20 5 4 %1 %2", picture.copy(5, 4, 26, 17)},
        {"rotate 0 --centre 1 1 %1 %2", picture},
    };
    for (const auto& c : pictures) {
        const CliRun r = run(c.line);
        ASSERT_EQ(r.code, 0) << c.line << r.err.toStdString();
        EXPECT_EQ(result(), c.expected) << c.line;
    }
    CliRun r = run("rotate 90 --centre 1 1 %1 %2");
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("(-89,9 .. 89,9)")));
    r = run("rotate 12.5 --centre 15 20 --fill 00FF00 %1 %2");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(result().size(), picture.size());

    r = run("scale --zoom 10 %1 %2");
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Zoom ВНЕ диапазона")));
    EXPECT_EQ(result().size(), QSize(320, 240));
    ASSERT_EQ(run("scale --size 20 20 --keep-proportions %1 %2").code, 0);
    EXPECT_EQ(result().size(), QSize(20, 15));
    ASSERT_EQ(run("scale --size 7 9 %1 %2").code, 0);
    EXPECT_EQ(result().size(), QSize(7, 9));

    for (const char* line :
         {"scale --size 10 0 %1 %2", "scale --size 10 -3 %1 %2", "mirror X %1 %2", "scale %1 %2", "rotate 10 %1 %2"})
        EXPECT_EQ(run(line).code, 2) << line;
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
    EXPECT_EQ(cli(words("rotate 10 --help")).code, 0);
    for (const char* line : {"help nosuch", "nosuch", "help info crop"})
        EXPECT_TRUE(RefusedWith(cli(words(line)), 2)) << line;
}

TEST(Cli, EveryNumberThatIsNotAFiniteDecimalIsAWrongCommandLine)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(40, 30), in));
    const QString out = dir.filePath(QStringLiteral("out.jpg"));

    // "%3" stands for the number under test, given with a good value first so
    // that only that number can make the command line wrong.
    const struct {
        const char* line;
        const char* good;
        bool whole;
    } numberSlots[] = {
        {"convert %1 %2 --quality %3", "90", true},
        {"grey %1 %2 --quality %3", "90", true},
        {"mirror H %1 %2 --quality %3", "90", true},
        {"rot90 + %1 %2 --quality %3", "90", true},
        {"rotate %3 --centre 10 10 %1 %2", "-12.5", false},
        {"rotate 10 --centre %3 10 %1 %2", "-3", true},
        {"rotate 10 --centre 10 %3 %1 %2", "7", true},
        {"rotate 10 --centre 10 10 %1 %2 --quality %3", "90", true},
        {"crop %3 1 20 20 %1 %2", "-2", true},
        {"crop 1 %3 20 20 %1 %2", "2", true},
        {"crop 1 1 %3 20 %1 %2", "25", true},
        {"crop 1 1 20 %3 %1 %2", "25", true},
        {"crop 1 1 20 20 %1 %2 --quality %3", "90", true},
        {"scale --zoom %3 %1 %2", "0.5", false},
        {"scale --size %3 10 %1 %2", "12", true},
        {"scale --size 10 %3 %1 %2", "12", true},
        {"scale --zoom 2 %1 %2 --quality %3", "90", true},
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
        ASSERT_EQ(cli(words(slot.line, {in, out, QLatin1String(slot.good)})).code, 0) << slot.good;
        QStringList values = bad;
        if (slot.whole)
            values << QStringLiteral("2.5") << QStringLiteral("99999999999");
        for (const QString& value : values)
            EXPECT_TRUE(RefusedWith(cli(words(slot.line, {in, out, value})), 2)) << '"' << value.toStdString() << '"';
    }
}

TEST(Cli, NegativeNumbersAreValuesNotOptions)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(40, 30, 3);
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(picture, in));
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    auto rotated = [&](int row, int col, long double degrees, TColor fill) {
        TImgTabBGR source, target;
        BitMapToImgTab(picture, source, nullptr);
        RotateForTabBGR(source, row, col, nullptr, target, fill, degrees);
        QImage bitmap(1, 1, QImage::Format_BGR888);
        ImgTabToBitMap(bitmap, target, nullptr);
        return bitmap;
    };
    ASSERT_NE(rotated(10, 12, -30, clWhite), rotated(10, 12, 30, clWhite));

    // Negative option values, options first, the angle last; "--" ends the
    // options; corners left of and above the picture are clipped, in any order.
    const QImage greenFill = rotated(-5, -8, -12.5L, RGBToColor(0, 255, 0));
    const struct {
        const char* line;
        QImage expected;
    } cases[] = {
        {"rotate -30 --centre 10 12 %1 %2", rotated(10, 12, -30, clWhite)},
        {"rotate --centre -5 -8 --fill 00FF00 -12.5 %1 %2", greenFill},
        {"rotate --centre=-5 --centre=-8 --fill=00ff00 -- -12.5 %1 %2", greenFill},
        {"crop -5 -3 10 8 %1 %2", picture.copy(0, 0, 11, 9)},
        {"crop 12 -4 -7 9 %1 %2", picture.copy(0, 0, 13, 10)},
    };
    for (const auto& c : cases) {
        QFile::remove(out);
        const CliRun r = cli(words(c.line, {in, out}));
        ASSERT_EQ(r.code, 0) << c.line << r.err.toStdString();
        EXPECT_EQ(ReadBmpPixels(out, ReadBmpHeader(out)), c.expected) << c.line;
    }
    // A dash word that is no number stays an unknown option.
    const CliRun r = cli(words("crop -x 1 10 8 %1 %2", {in, out}));
    EXPECT_EQ(r.code, 2);
    expectPrefixedLines(r);
}

TEST(Cli, InfoRefusesWhatCannotBeLoadedWithTheReason)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    const QByteArray pixels(((3 * 40 + 3) & ~3) * 30, '\x40');
    const QByteArray header = test::bmpHeader(40, 30);
    const QString whole = test::fileIn(dir, QStringLiteral("whole.bmp"), header + pixels);
    CliRun r = cli(words("info %1", {whole}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("40 30 pf24bit"));

    const QList<QPair<QString, QByteArray>> cases{
        {QStringLiteral("header-only.bmp"), test::bmpHeader(65500, 5461)},
        {QStringLiteral("half.bmp"), header + pixels.left(pixels.size() / 2)},
        {QStringLiteral("last-byte.bmp"), header + pixels.chopped(1)},
        {QStringLiteral("header-cut.bmp"), header.left(30)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name.toStdString());
        const QString file = test::fileIn(dir, name, bytes);
        r = cli(words("info %1", {file}));
        EXPECT_TRUE(RefusedWith(r, 1));
        EXPECT_TRUE(r.err.contains(name)) << r.err.toStdString();
        const CliRun converted = cli(words("convert %1 %2", {file, out}));
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

    CliRun r = cliInDefaultLanguage(words("scale --zoom 0.001 %1 %2", {in, out}));
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("ormica-cli: предупреждение: Zoom ВНЕ диапазона")))
        << r.err.toStdString();
    expectPrefixedLines(r);

    // The rotation warning has a line break of its own; it arrives as one line.
    r = cli(words("rotate -90 --centre 1 1 %1 %2", {in, out}));
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("ormica-cli: warning: "))) << r.err.toStdString();
    expectPrefixedLines(r);
}

namespace {

bool hasCyrillic(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

}  // namespace

// Russian unless English is asked for, by ORMICA_LANG=en or --lang en alike:
// help, the tool's own messages and the core's.
TEST(Cli, SpeaksRussianUnlessAskedForEnglish)
{
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("small.bmp"));
    const QString large = dir.filePath(QStringLiteral("large.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(4, 3), small));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(8, 6), large));
    const QString junk = test::fileIn(dir, QStringLiteral("junk.png"), "not a picture");
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    const struct {
        const char* line;
        int code;
        bool toStdout;  // help; messages go to stderr
    } cases[] = {
        {"help", 0, true},
        {"mirror X %1 %3", 2, false},            // a wrong command line
        {"compare %1 %2", 1, false},             // the tool's own failure
        {"info %4", 1, false},                   // the core's reason a file cannot be read
        {"scale --zoom 0.001 %1 %3", 0, false},  // a core warning, marked as the tool's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const QStringList args = words(c.line, {small, large, out, junk});
        const CliRun russian = cliInDefaultLanguage(args);
        const CliRun english = cli(args);
        const CliRun asked = cliInDefaultLanguage(QStringList{QStringLiteral("--lang"), QStringLiteral("en")} + args);
        const QString said = c.toStdout ? russian.out : russian.err;
        EXPECT_EQ(russian.code, c.code) << russian.err.toStdString();
        EXPECT_TRUE(hasCyrillic(said)) << said.toStdString();
        EXPECT_EQ(english.code, c.code) << english.err.toStdString();
        EXPECT_FALSE((c.toStdout ? english.out : english.err).isEmpty());
        EXPECT_FALSE(hasCyrillic(english.out + english.err)) << (english.out + english.err).toStdString();
        EXPECT_EQ(asked.code, english.code);
        EXPECT_EQ(asked.out, english.out);
        EXPECT_EQ(asked.err, english.err);
    }
}

TEST(Cli, SampleWritesEachSamplePictureByTheOutputsExtension)
{
    QTemporaryDir dir;
    for (const char* key : {"chart", "gradients", "noise", "scene"}) {
        SCOPED_TRACE(key);
        const QString name = QLatin1String(key);
        const QString bmp = dir.filePath(name + QStringLiteral(".bmp"));
        CliRun r = cli(words("sample %1 %2", {name, bmp}));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const std::optional<TSample> sample = SampleByKey(name);
        ASSERT_TRUE(sample);
        const QImage written = ReadBmpPixels(bmp, ReadBmpHeader(bmp));
        EXPECT_EQ(written.size(), QSize(640, 480));
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32),
                  MakeSample(*sample).convertToFormat(QImage::Format_RGB32));

        const QString png = dir.filePath(name + QStringLiteral(".png"));
        r = cli(words("sample %1 %2", {name, png}));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(test::fileBytes(png).startsWith("\x89PNG"));
        EXPECT_EQ(QImage(png).size(), QSize(640, 480));
    }
    const QString never = dir.filePath(QStringLiteral("never.bmp"));
    const CliRun r = cli(words("sample nosuch %1", {never}));
    EXPECT_TRUE(RefusedWith(r, 2));
    EXPECT_TRUE(r.err.contains(QLatin1String("chart|gradients|noise|scene"))) << r.err.toStdString();
    EXPECT_TRUE(RefusedWith(cli(words("sample chart %1", {dir.filePath(QStringLiteral("never.xyz"))})), 2));
    EXPECT_FALSE(QFileInfo::exists(never));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("never.xyz"))));
}

TEST(Cli, AnOperationHoldsAtMostTwoCopiesOfThePicture)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "peak memory is the sanitizer's, not the tool's, in a sanitized build";
#endif
    // Over 32 MiB a copy, so that the allocator hands freed copies back to
    // the system at once and the peak counts only the live ones.
    constexpr int width = 4000, height = 3000;
    constexpr long copyKilobytes = long(width) * height * 3 / 1024;
    QTemporaryDir dir;
    const test::BigPicture big = test::makeBigPicture(dir.path(), width, height, 7, 5);
    ASSERT_FALSE(big.jpg.isEmpty());
    ASSERT_EQ(big.base.code, 0);
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    const QList<QPair<const char*, int>> runs{
        {"info %1", 1},
        {"convert %1 %2", 1},
        {"grey %1 %2", 1},
        {"mirror H %1 %2", 2},
        {"rot90 + %1 %2", 2},
        {"rotate 10 --centre 1500 2000 %1 %2", 2},
        {"crop 1 1 3998 2998 %1 %2", 2},
        {"scale --zoom 1 %1 %2", 2},
    };
    for (const auto& [line, copies] : runs) {
        const test::MeasuredRun run = test::measure(words(line, {big.jpg, out}));
        ASSERT_EQ(run.code, 0) << line;
        EXPECT_TRUE(test::PeakWithin(run, big.base, copies, copyKilobytes)) << line;
    }
}
