#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "core/filter/filter_kernel.h"
#include "core/filter/popular_filters.h"
#include "core/filter/regulators.h"
#include "recorders.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace ormica;
using test::bmpArray;
using test::cli;
using test::cliInDefaultLanguage;
using test::CliRun;
using test::filteredAsTheWindowDoes;
using test::kernelFileText;
using test::RefusedWith;
using test::words;

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

CliRun fdb(const char* line, const QStringList& items = {})
{
    return cli(QStringList{QStringLiteral("fdb")} + words(line, items));
}

// "Резкость" and "Сглаживание" in Windows-1251.
const QByteArray kSharpness("\xD0\xE5\xE7\xEA\xEE\xF1\xF2\xFC");
const QByteArray kSmoothing("\xD1\xE3\xEB\xE0\xE6\xE8\xE2\xE0\xED\xE8\xE5");

}  // namespace

TEST(CliFdb, ListsAndShowsAFileBuiltByteByByte)
{
    QTemporaryDir dir;
    // A short name over the remnants of a longer one; a deleted record; a
    // damaged length byte of 255; a partial record at the end.
    QByteArray second = fdbRecordBytes(0, 1, kSmoothing, PopFilterL2, 43, 1, "\xEC\xFF\xE3\xEA\xE8\xE9", "two");
    QByteArray third = fdbRecordBytes(1, 2, QByteArray(80, 'n'), PopFilterH3, 1, 3);
    third[6] = char(255);
    const QByteArray bytes =
        fdbRecordBytes(1, 0, kSharpness, PopFilterH2, 16, 2, {}, {}, 'q') + second + third + QByteArray(94, '\x01');
    const QString base = test::fileIn(dir, QStringLiteral("built.fdb"), bytes);

    CliRun r = fdb("list %1", {base});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(r.out, QStringLiteral("0\t1\t2\t16\tРезкость\n"
                                    "1\t0\t1\t43\tСглаживание\n"
                                    "2\t1\t3\t1\t") +
                         QString(80, QLatin1Char('n')) + QLatin1Char('\n'));

    r = fdb("show %1 1", {base});
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
    EXPECT_EQ(test::fileBytes(base), bytes);

    // An empty base lists nothing.
    r = fdb("list %1", {test::fileIn(dir, QStringLiteral("empty.fdb"), {})});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(CliFdb, AddDeleteRestoreAndCopyWriteTheFormat)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("new.fdb"));
    CliRun r = fdb("add %1 --name Резкость --ready H2 --type 2", {base});
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
    const QString kernelFile = test::fileIn(dir, QStringLiteral("edges.txt"), kernelFileText(edges));
    r = fdb("add %1 --name Сглаживание --kernel %2 --comment1 мягкий --comment2 two", {base, kernelFile});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1\n"));
    r = fdb("add %1 --name third --ready L1 --scale 200 --type 1", {base});
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
    r = fdb("delete %1 1", {base});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QByteArray deleted = bytes;
    deleted[453 + 1] = 0;
    EXPECT_EQ(test::fileBytes(base), deleted);
    EXPECT_EQ(fdb("list %1", {base}).out,
              QStringLiteral("0\t1\t2\t16\tРезкость\n1\t0\t0\t1\tСглаживание\n2\t1\t1\t200\tthird\n"));

    // The copy holds the working records, numbered 0 and 1.
    const QString copy = dir.filePath(QStringLiteral("copy"));
    r = fdb("copy %1 %2", {base, copy});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, copy + QStringLiteral(".fdb\n"));
    QByteArray renumbered = deleted.left(453) + deleted.mid(906);
    renumbered[453 + 2] = 1;
    EXPECT_EQ(test::fileBytes(copy + QStringLiteral(".fdb")), renumbered);

    r = fdb("restore %1 1", {base});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(test::fileBytes(base), bytes);
}

TEST(CliFdb, ARecordIsAddressedByItsPositionWhateverNumberItStores)
{
    QTemporaryDir dir;
    // Record 1 stores the number 0, record 2 the number 7: a damaged or hand-edited base.
    const QByteArray original = fdbRecordBytes(1, 0, "a", PopFilterL1, 108, 1) +
                                fdbRecordBytes(1, 0, "b", PopFilterH2, 16, 2, "one", {}, 'q') +
                                fdbRecordBytes(0, 7, "c", PopFilterL3, 6, 1);
    const QString base = test::fileIn(dir, QStringLiteral("odd.fdb"), original);

    CliRun r = fdb("list %1", {base});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("0\t1\t1\t108\ta\n"
                                    "1\t1\t2\t16\tb\tstored number 0\n"
                                    "2\t0\t1\t6\tc\tstored number 7\n"));
    r = fdb("show %1 1", {base});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("name\tb\ntype\t2\nscale\t16\n")));
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("\ncomment1\tone\ncomment2\t\nstored number\t0\n")));
    EXPECT_FALSE(fdb("show %1 0", {base}).out.contains(QLatin1String("stored")));
    EXPECT_EQ(test::fileBytes(base), original);

    // Delete and restore write the record at N, which then stores N.
    QByteArray expected = original;
    ASSERT_EQ(fdb("delete %1 1", {base}).code, 0);
    expected[453 + 1] = 0;
    expected[453 + 2] = 1;
    EXPECT_EQ(test::fileBytes(base), expected);
    ASSERT_EQ(fdb("restore %1 2", {base}).code, 0);
    expected[906 + 1] = 1;
    expected[906 + 2] = 2;
    EXPECT_EQ(test::fileBytes(base), expected);
    EXPECT_EQ(fdb("list %1", {base}).out, QStringLiteral("0\t1\t1\t108\ta\n1\t0\t2\t16\tb\n2\t1\t1\t6\tc\n"));
}

TEST(CliFdb, BadInputGetsOneLineAndLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QByteArray original =
        fdbRecordBytes(1, 0, kSharpness, PopFilterH2, 16, 2) + fdbRecordBytes(0, 1, "b", PopFilterL3, 6, 1);
    const QString base = test::fileIn(dir, QStringLiteral("base.fdb"), original);
    const QByteArray otherBytes("not a base of records");
    const QString other = test::fileIn(dir, QStringLiteral("other.fdb"), otherBytes);
    // %1 the base, %2 a missing base, %3 the folder, %4 another file, %5 .. %8 names in the folder.
    const QStringList items{base,
                            dir.filePath(QStringLiteral("missing.fdb")),
                            dir.path(),
                            other,
                            dir.filePath(QStringLiteral("none.txt")),
                            dir.filePath(QStringLiteral("base")),
                            dir.filePath(QStringLiteral("x.fdb")),
                            dir.filePath(QStringLiteral("no/such/x.fdb"))};
    const QString longName(81, QLatin1Char('x'));
    const struct {
        const char* line;
        int code;
        QStringList extra;  // words with blanks, after the line
    } cases[] = {
        {"show %1 2", 1, {}},
        {"show %1 -1", 1, {}},
        {"show %1 one", 2, {}},
        {"show %2 0", 1, {}},
        {"list %2", 1, {}},
        {"list %3", 1, {}},
        {"delete %1 2", 1, {}},
        {"restore %1 7", 1, {}},
        {"delete %2 0", 1, {}},
        {"add %1 --ready H1 --name", 2, {longName}},
        {"add %1 --ready H1 --name", 2, {QStringLiteral("ok ✓")}},
        {"add %1 --name ok --ready H1 --comment2", 2, {QString(90, QChar(0x0436))}},
        {"add %1 --ready H1", 2, {}},
        {"add %1 --name ok", 2, {}},
        {"add %1 --name ok --ready H9", 2, {}},
        {"add %1 --name ok --ready H1 --type 4", 2, {}},
        {"add %1 --name ok --ready H1 --scale 0", 2, {}},
        {"add %1 --name ok --kernel %5", 1, {}},
        {"add %2 --ready H1 --name", 2, {longName}},
        {"copy %1 %1", 1, {}},
        {"copy %1 %6", 1, {}},
        {"copy %1 %4", 1, {}},
        {"copy %2 %7", 1, {}},
        {"copy %1 %8", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const CliRun r = cli(QStringList{QStringLiteral("fdb")} + words(c.line, items) + c.extra);
        EXPECT_TRUE(RefusedWith(r, c.code));
        EXPECT_EQ(test::fileBytes(base), original);
        EXPECT_EQ(test::fileBytes(other), otherBytes);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
    }
    // The refusals say what was wrong.
    EXPECT_TRUE(fdb("show %1 2", {base}).err.contains(QLatin1String("no record 2")));
    EXPECT_TRUE(cliInDefaultLanguage(words("fdb copy %1 %1", {base}))
                    .err.contains(QStringLiteral("Сохранение в текущую базу данных ЗАПРЕЩЕНО")));
    EXPECT_TRUE(cli(QStringList{QStringLiteral("fdb"), QStringLiteral("add"), base, QStringLiteral("--name"),
                                QStringLiteral("ok ✓"), QStringLiteral("--ready"), QStringLiteral("H1")})
                    .err.contains(QStringLiteral("Windows-1251")));
}

TEST(CliFdb, WeightsTheFilterRefusesAreNeverAdded)
{
    // Such a record could never be used.
    QTemporaryDir dir;
    const QByteArray original = fdbRecordBytes(1, 0, kSharpness, PopFilterH2, 16, 2);
    const QString base = test::fileIn(dir, QStringLiteral("base.fdb"), original);
    TFilterKernel huge{};
    huge.centre() = 9000000;
    // The filter's own words, in the language they are written in.
    const CliRun r = cliInDefaultLanguage(
        QStringList{QStringLiteral("fdb")} +
        words("add %1 --name big --kernel %2", {base, test::fileIn(dir, QStringLiteral("huge.txt"), kernelFileText(huge))}));
    EXPECT_EQ(r.code, 1);
    QString refusal = QStringLiteral("ormica-cli: ошибка: LoadFilter : ") + KernelTooLargeText() + QLatin1Char('\n');
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
    // The stored scales are not what the filter window uses; record 1 stores
    // the number 0, and is still record 1.
    const QString base =
        test::fileIn(dir, QStringLiteral("f.fdb"),
                     fdbRecordBytes(1, 0, "a", PopFilterL2, 1, 1) + fdbRecordBytes(0, 0, "b", PopFilterH1, 7, 2) +
                         fdbRecordBytes(1, 2, "c", negative, 5, 0));
    const QStringList items{base, bmp, out, dir.filePath(QStringLiteral("none.fdb"))};
    // The regulators work on it as on any kernel taken.
    const struct {
        const char* line;
        TFilterKernel kernel;
        std::int32_t scale;
    } taken[] = {
        {"filter --fdb %1 --record 0 %2 %3", PopFilterL2, *KernelSum(PopFilterL2)},
        {"filter --fdb %1 --record 1 %2 %3", PopFilterH1, *KernelSum(PopFilterH1)},
        {"filter --fdb %1 --record 0 --light 3 %2 %3", PopFilterL2, *LightToScale(PopFilterL2, 3)},
    };
    for (const auto& c : taken) {
        const CliRun r = cli(words(c.line, items));
        ASSERT_EQ(r.code, 0) << c.line << r.err.toStdString();
        const TImgTabBGR expected = filteredAsTheWindowDoes(original, c.kernel, c.scale);
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(test::sameArrays(bmpArray(out), expected)) << c.line;
        QFile::remove(out);
    }
    for (const auto& [line, code] : {std::pair{"filter --fdb %1 --record 2 %2 %3", 1},  // sum -3
                                     {"filter --fdb %1 --record 3 %2 %3", 1},
                                     {"filter --fdb %4 --record 0 %2 %3", 1},
                                     {"filter --fdb %1 %2 %3", 2},
                                     {"filter --ready H1 --record 0 %2 %3", 2},
                                     {"filter --fdb %1 --record 0 --ready H1 %2 %3", 2}}) {
        const CliRun r = cli(words(line, items));
        EXPECT_EQ(r.code, code) << line << "\n" << r.err.toStdString();
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
        const CliRun asked = fdb("%1 --help", {QLatin1String(word)});
        EXPECT_EQ(asked.code, 0);
        EXPECT_EQ(asked.out, help.out);
    }
    EXPECT_TRUE(cli(words("help fdb add")).out.contains(QLatin1String("--comment2")));
    for (const char* line : {"fdb", "fdb nosuch", "help fdb", "help fdb list show", "fdb list"})
        EXPECT_TRUE(RefusedWith(cli(words(line)), 2)) << line;
}
