#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "core/engine/geometry.h"
#include "core/engine/gray.h"
#include "core/engine/img_service.h"
#include "core/engine/jpeg_codec.h"
#include "core/filter/filter_kernel.h"
#include "core/filter/popular_filters.h"
#include "core/filter/regulators.h"
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
using test::bmpArray;
using test::bmpHeader;
using test::cli;
using test::CliRun;
using test::expectPrefixedLines;
using test::filteredAsTheWindowDoes;
using test::kernelFileText;
using test::makeBigPicture;
using test::measure;
using test::MeasuredRun;

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
}

TEST(CliFdb, WeightsTheFilterRefusesAreNeverAdded)
{
    // Such a record could never be used.
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("base.fdb"));
    const QByteArray original = fdbRecordBytes(1, 0, kSharpness, PopFilterH2, 16, 2);
    ASSERT_TRUE(test::writeFile(base, original));
    TFilterKernel huge{};
    huge.centre() = 9000000;
    const QString hugeFile = dir.filePath(QStringLiteral("huge.txt"));
    ASSERT_TRUE(test::writeFile(hugeFile, kernelFileText(huge)));
    const CliRun r = fdb({QStringLiteral("add"), base, QStringLiteral("--name"), QStringLiteral("big"),
                          QStringLiteral("--kernel"), hugeFile});
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
