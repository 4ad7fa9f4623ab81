#include "core/transfer/fcc_dialog.h"
#include "core/transfer/fcc_file.h"
#include "core/transfer/function_dir.h"

#include "recorders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace ormica {
namespace {

using test::RecordingSink;

using test::fileBytes;
using test::fileIn;

const TBrightPointArray kUntouched{{1, 2}, {3, 4}};

TEST(FccFile, ReadableFilesGiveTheirPairsClamped)
{
    QTemporaryDir dir;
    RecordingSink sink;
    const std::pair<QByteArray, TBrightPointArray> cases[] = {
        {"0\t0\r\n// a comment\r\n\r\n100\t300\r\n255\t255\r\n", {{0, 0}, {100, 255}, {255, 255}}},
        {"-5\t20\n128\t64\n400\t255\n", {{0, 20}, {128, 64}, {255, 255}}},
        {"  17 \t 200  ", {{17, 200}}},
        // "12<TAB>" is trimmed to "12"; a leading tab leaves no left part: both dropped silently.
        {"12\t\r\n\t5\r\nnothing\r\n9\t8\r\n", {{9, 8}}},
        // Only comments and blank lines: read, but nothing to load.
        {"/x\r\n \r\n", {}}};
    for (const auto& [bytes, want] : cases) {
        SCOPED_TRACE(bytes.toStdString());
        TBrightPointArray points = kUntouched;
        TFccReadState state;
        ASSERT_TRUE(LoadFccFile(fileIn(dir, "a.fcc", bytes), points, state));
        EXPECT_EQ(points, want);
        if (bytes.startsWith("0\t0")) {
            // One slot per line; the two skipped lines leave the last two slots invalid.
            ASSERT_EQ(state.FccLines.size(), 5u);
            EXPECT_EQ(state.FccLines[1].Y, 300);
            EXPECT_FALSE(state.FccLines[3].Valid);
            EXPECT_FALSE(state.FccLines[4].Valid);
        }
    }
    EXPECT_TRUE(sink.silent());
}

TEST(FccFile, BadNumbersRefuseTheLoadWithCounts)
{
    QTemporaryDir dir;
    RecordingSink sink;
    TBrightPointArray points = kUntouched;
    TFccReadState state;
    EXPECT_FALSE(LoadFccFile(fileIn(dir, "b.fcc", "1x\t5\n7\ty\n3\t4\n"), points, state));
    EXPECT_EQ(state.InErrors, 1);
    EXPECT_EQ(state.OutErrors, 1);
    EXPECT_EQ(points, kUntouched);
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], QStringLiteral("ПРИ ЗАГРУЗКЕ ФАЙЛА ОБНАРУЖЕНЫ ОШИБКИ :\r\n"
                                               "Ошибки входной яркости  - 1\r\n"
                                               "Ошибки выходной яркости - 1\r\n"
                                               "ЗАГРУЗКА ФАЙЛА ОТМЕНЕНА"));
    EXPECT_TRUE(sink.errors.empty());

    // A third column and a number beyond 32 bits are bad values too.
    sink.warnings.clear();
    EXPECT_FALSE(LoadFccFile(fileIn(dir, "d.fcc", "1\t2\t3\n99999999999\t1\n4\t-99999999999\n"), points, state));
    EXPECT_EQ(state.InErrors, 1);
    EXPECT_EQ(state.OutErrors, 2);
    EXPECT_EQ(points, kUntouched);
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_TRUE(sink.warnings[0].contains(QStringLiteral("яркости  - 1\r\n")));
    EXPECT_TRUE(sink.warnings[0].contains(QStringLiteral("яркости - 2\r\n")));

    // A file without lines is refused with both counts 0.
    sink.warnings.clear();
    EXPECT_FALSE(LoadFccFile(fileIn(dir, "e.fcc", ""), points, state));
    EXPECT_EQ(points, kUntouched);
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], FccErrorCountsText(0, 0));
    EXPECT_TRUE(sink.warnings[0].contains(QStringLiteral("входной яркости  - 0\r\n")));
}

TEST(FccFile, LineEndsAndSlots)
{
    EXPECT_EQ(SplitFccLines("a\rb\nc\r\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitFccLines("a\r\n"), QStringList{"a"});
    EXPECT_EQ(SplitFccLines("\n\r\n\r"), (QStringList{"", "", ""}));
    EXPECT_TRUE(SplitFccLines("").isEmpty());

    TFccReadState state;
    state.FccLines.resize(4);
    ParseFccLines({"\x01 1\t2 \x1f", "/ 3\t4", "", "5\t6"}, "\t", state);
    EXPECT_TRUE(state.FccLines[0].Valid);
    EXPECT_EQ(state.FccLines[0].X, 1);
    EXPECT_EQ(state.FccLines[1].X, 5);
    EXPECT_FALSE(state.FccLines[2].Valid);
}

TEST(FccFile, ParseLineParts)
{
    int in = 0, out = 0;
    TFccLine slot;
    // An empty right part leaves Y at 0 and the line valid.
    ParseFccLine(slot, "\t", "5\t ", in, out);
    EXPECT_TRUE(slot.Valid);
    EXPECT_EQ(slot.X, 5);
    EXPECT_EQ(slot.Y, 0);

    TFccLine bad;
    ParseFccLine(bad, "\t", "x\t7", in, out);
    EXPECT_FALSE(bad.Valid);
    EXPECT_TRUE(bad.Error);
    EXPECT_EQ(bad.Y, 7);
    EXPECT_EQ(in, 1);
    EXPECT_EQ(out, 0);

    TFccLine ends;
    ParseFccLine(ends, "\t", "-2147483648\t2147483647", in, out);
    EXPECT_TRUE(ends.Valid);
    EXPECT_EQ(ends.X, INT32_MIN);
    EXPECT_EQ(ends.Y, INT32_MAX);
}

TEST(FccFile, TryParseInt)
{
    // A refusal gives 0.
    const std::tuple<const char*, bool, qint32> cases[] = {
        {"", false, 0},     {"  42", true, 42},       {"42 ", false, 0}, {"-7", true, -7},
        {"$FF", true, 255}, {"2147483648", false, 0}, {"1.5", false, 0}, {"4\t5", false, 0}};
    for (const auto& [text, parsed, want] : cases) {
        qint32 v = 9;
        EXPECT_EQ(TryParseInt(text, v), parsed) << text;
        EXPECT_EQ(v, want) << text;
    }
}

TEST(FccFile, SaveAndLoadGiveBackTheSamePairs)
{
    QTemporaryDir dir;
    RecordingSink sink;
    const QString f = dir.filePath("curve.fcc");
    const TBrightPointArray points{{0, 255}, {0, 128}, {64, 64}, {64, 70}, {200, 3}, {255, 0}};
    ASSERT_TRUE(WriteFccFile(f, points));
    EXPECT_EQ(fileBytes(f), QByteArray("0\t255\r\n0\t128\r\n64\t64\r\n64\t70\r\n200\t3\r\n255\t0\r\n"));
    TBrightPointArray back;
    TFccReadState state;
    ASSERT_TRUE(LoadFccFile(f, back, state));
    EXPECT_EQ(back, points);

    // The whole text replaces the old one; an empty array writes nothing.
    ASSERT_TRUE(WriteFccFile(f, {{0, 0}, {255, 255}}));
    EXPECT_EQ(fileBytes(f), QByteArray("0\t0\r\n255\t255\r\n"));
    EXPECT_TRUE(WriteFccFile(dir.filePath("none.fcc"), {}));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.fcc")));
    EXPECT_TRUE(sink.silent());
}

TEST(FccFile, FailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    RecordingSink sink;
    const QString f = dir.filePath("old.fcc");
    ASSERT_TRUE(WriteFccFile(f, {{0, 0}, {255, 255}}));
    const QByteArray old = fileBytes(f);

    TBrightPointArray big;
    for (int i = 0; i < 2000; ++i)
        big.push_back({i % 256, 255 - i % 256});
    bool written = true;
    ASSERT_TRUE(test::underFileSizeLimit(std::uint64_t(old.size() + 100), [&] { written = WriteFccFile(f, big); }));
    EXPECT_FALSE(written);
    EXPECT_EQ(fileBytes(f), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.fcc"});
    ASSERT_EQ(sink.errors.size(), 1);
    EXPECT_TRUE(sink.errors[0].contains(f));

    // A folder that does not exist.
    const QString lost = dir.filePath("no/such/x.fcc");
    EXPECT_FALSE(WriteFccFile(lost, {{0, 0}}));
    ASSERT_EQ(sink.errors.size(), 2);
    EXPECT_TRUE(sink.errors[1].contains(lost));

    // A pipe, named or linked to, stays a pipe.
    const QString pipe = dir.filePath("pipe.fcc");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString link = dir.filePath("link.fcc");
    ASSERT_TRUE(QFile::link(pipe, link));
    for (const QString& name : {pipe, link})
        EXPECT_FALSE(WriteFccFile(name, {{0, 0}}));
    ASSERT_EQ(sink.errors.size(), 4);
    EXPECT_TRUE(sink.errors[3].contains(link));
    struct stat st {};
    ASSERT_EQ(lstat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(FccFile, UnreadableFilesAreReportedAndLeaveTheFunction)
{
    QTemporaryDir dir;
    RecordingSink sink;
    TBrightPointArray points = kUntouched;
    TFccReadState state;

    const QString missing = dir.filePath("missing.fcc");
    EXPECT_FALSE(LoadFccFile(missing, points, state));
    EXPECT_FALSE(state.FileError.isEmpty());

    EXPECT_FALSE(LoadFccFile(dir.path(), points, state));

    // Larger than any function: refused before it is read.
    QByteArray huge(kMaxFccFileSize + 1, '\n');
    const QString big = fileIn(dir, "big.fcc", huge);
    EXPECT_FALSE(LoadFccFile(big, points, state));
    EXPECT_TRUE(state.FccLines.empty());

    EXPECT_EQ(points, kUntouched);
    EXPECT_TRUE(sink.warnings.empty());  // no counts message for a file error
    ASSERT_EQ(sink.errors.size(), 3);
    EXPECT_TRUE(sink.errors[0].contains(missing));
    EXPECT_TRUE(sink.errors[1].contains(dir.path()));
    EXPECT_TRUE(sink.errors[2].contains(big));
    EXPECT_TRUE(sink.errors[2].contains(QString::number(kMaxFccFileSize)));

    // Exactly at the limit is still read.
    huge.chop(1);
    EXPECT_TRUE(ReadFccFile(fileIn(dir, "edge.fcc", huge), "\t", state));
    EXPECT_EQ(state.FccLines.size(), std::size_t(kMaxFccFileSize));
}

TEST(FccFile, BinaryGarbageIsRefusedOrIgnored)
{
    QTemporaryDir dir;
    RecordingSink sink;
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 131 + 7) % 256));
    junk.append("\n\xff\t\x80\n");
    TBrightPointArray points = kUntouched;
    TFccReadState state;
    EXPECT_FALSE(LoadFccFile(fileIn(dir, "junk.fcc", junk), points, state));
    EXPECT_EQ(points, kUntouched);
    EXPECT_GT(state.InErrors + state.OutErrors, 0);
    EXPECT_EQ(sink.warnings.size(), 1);
}

TEST(FunctionDir, ChoosesTheProgramFolderOrTheUsersOne)
{
    QTemporaryDir dir;
    RecordingSink sink;
    const QString program = dir.filePath("bin");
    const QString appData = dir.filePath("data");
    ASSERT_TRUE(QDir().mkpath(program));

    // A writable program folder gets the folder made beside the program.
    EXPECT_EQ(FunctionDirIn(program, appData), program + "/Functions");
    EXPECT_TRUE(QFileInfo(program + "/Functions").isDir());
    EXPECT_FALSE(QFileInfo::exists(appData));
    EXPECT_EQ(FunctionDirIn(program, appData), program + "/Functions");

    // A program folder where nothing can be made, even by root: under a regular file.
    const QString file = fileIn(dir, "plain", "x");
    EXPECT_EQ(FunctionDirIn(file + "/bin", appData), appData + "/Functions");
    EXPECT_TRUE(QFileInfo(appData + "/Functions").isDir());
    EXPECT_TRUE(sink.silent());

    // Neither can be made: the warning names the folder.
    const QString none = FunctionDirIn(file + "/bin", file + "/data");
    EXPECT_EQ(none, file + "/data/Functions");
    ASSERT_EQ(sink.warnings.size(), 1);
    EXPECT_EQ(sink.warnings[0], QStringLiteral("НЕ могу СОЗДАТЬ ДИРЕКТОРИЮ : для файлов *.fcc : \r\n") + none);
}

TEST(FccDialog, NamesEndInFccWhateverTheCase)
{
    EXPECT_EQ(ForceFccExt(QStringLiteral("/f/curve")), QStringLiteral("/f/curve.fcc"));
    EXPECT_EQ(ForceFccExt(QStringLiteral("/f/curve.FCC")), QStringLiteral("/f/curve.FCC"));
    EXPECT_EQ(ForceFccExt(QStringLiteral("/f/curve.Fcc")), QStringLiteral("/f/curve.Fcc"));
    EXPECT_EQ(ForceFccExt(QStringLiteral("/f/curve.txt")), QStringLiteral("/f/curve.txt.fcc"));
    EXPECT_EQ(ForceFccExt(QStringLiteral("/f/fcc")), QStringLiteral("/f/fcc.fcc"));
}

TEST(FccDialog, RefusedLoadLeavesNoPairs)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QString name = fileIn(dir, "bad.fcc", "0\t0\n5\tx\n255\t255\n");
    test::ScriptedDialogs dialogs;
    dialogs.choices.push_back(TFileChoice{name, 1});
    TBrightPointArray points{{1, 2}};
    TFccReadState state;
    EXPECT_EQ(LoadFccDialog(dialogs, dir.path(), points, state), name);
    EXPECT_TRUE(points.empty());
    EXPECT_EQ(sink.warnings, QStringList{FccErrorCountsText(0, 1)});
    EXPECT_EQ(dialogs.askedDirs, QStringList{dir.path()});

    // A cancelled dialog leaves the caller's array alone.
    points = {{1, 2}};
    EXPECT_TRUE(LoadFccDialog(dialogs, dir.path(), points, state).isEmpty());
    EXPECT_EQ(points, (TBrightPointArray{{1, 2}}));
}

}  // namespace
}  // namespace ormica
