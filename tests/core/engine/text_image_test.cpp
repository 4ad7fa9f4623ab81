#include "core/engine/img_service.h"
#include "core/engine/text_image.h"

#include "recorders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

using namespace ormica;

namespace {

// An array of the given rows, each a list of bytes.
using Rows = std::vector<std::vector<std::uint8_t>>;

TImgTabBGR arrayOfRows(const Rows& rows)
{
    TImgTabBGR arr;
    std::vector<qsizetype> lengths;
    for (const auto& r : rows)
        lengths.push_back(qsizetype(r.size()));
    arr.setShape(lengths);
    for (int i = 0; i < int(rows.size()); ++i)
        std::ranges::copy(rows[std::size_t(i)], arr.row(i));
    return arr;
}

Rows rowsOf(const TImgTabBGR& arr)
{
    Rows rows;
    for (int r = 0; r < arr.rowCount(); ++r)
        rows.emplace_back(arr.row(r), arr.row(r) + arr.rowLength(r));
    return rows;
}

// The last error comes from `routine` and names the file.
testing::AssertionResult lastErrorNames(const test::RecordingSink& sink, const char* routine, const QString& file)
{
    if (sink.errors.isEmpty())
        return testing::AssertionFailure() << "no error";
    const QString& e = sink.errors.back();
    if (e.startsWith(QLatin1String(routine) + " : ") && e.contains(file))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << e.toStdString();
}

// Reads the bytes as a text image into an array that held something else.
Rows imported(const QByteArray& text, const QString& separator = QStringLiteral(";"))
{
    QTemporaryDir dir;
    const QString f = dir.filePath("in.txt");
    EXPECT_TRUE(test::writeFile(f, text));
    TImgTabBGR arr = arrayOfRows({{9, 9, 9, 9, 9, 9}, {8, 8, 8}, {7, 7, 7}, {6, 6, 6}});
    EXPECT_TRUE(ReadImgTabText(arr, separator, f, nullptr));
    return rowsOf(arr);
}

const TImgTabBGR kTwoByOne = arrayOfRows({{0, 128, 255, 10, 20, 30}});

}  // namespace

TEST(TextToByte, PlainDigitsWithinAByte)
{
    std::uint8_t v = 99;
    const std::pair<std::string, int> cases[] = {{"0", 0},   {"7", 7},           {"42", 42},   {"255", 255},
                                                 {"007", 7}, {"000000255", 255}, {"  12", 12}, {"+3", 3},
                                                 {"-0", 0},  {"$FF", 255},       {"$0a", 10},  {" -$0", 0}};
    for (const auto& [text, want] : cases) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(TextToByte(std::string_view(text), v));
        EXPECT_EQ(v, want);
        EXPECT_TRUE(TextToByte(QString::fromStdString(text), v));
        EXPECT_EQ(v, want);
    }
}

TEST(TextToByte, RefusalsGiveZero)
{
    for (const std::string text :
         {"",  " ", "256", "300",  "999", "-1",  "12 ",  "1\t", "x",          "1x",
          "$", "+", "-",   "$100", "1.5", "\t5", "0x10", "1 2", "4294967552", "99999999999999999999"}) {
        SCOPED_TRACE(text);
        std::uint8_t v = 77;
        EXPECT_FALSE(TextToByte(std::string_view(text), v));
        EXPECT_EQ(v, 0);
    }
    std::uint8_t v = 1;
    EXPECT_FALSE(TextToByte(QStringLiteral("٣"), v));  // a digit, but not the platform's
    EXPECT_FALSE(TextToByte(QStringLiteral("1\u00A0"), v));
}

TEST(TextSeparatorChoice, ItemsAndTheOtherSign)
{
    EXPECT_EQ(TextSeparator(kSeparatorTab, ","), "\t");
    EXPECT_EQ(TextSeparator(kSeparatorSemicolon, ","), ";");
    EXPECT_EQ(TextSeparator(kSeparatorOther, ","), ",");
    EXPECT_EQ(TextSeparator(kSeparatorOther, "  |x "), "|");
    EXPECT_EQ(TextSeparator(kSeparatorOther, " \t "), "");
    EXPECT_EQ(TextSeparator(kSeparatorOther, ""), "");
    EXPECT_EQ(TextSeparator(-1, ","), ";");
    EXPECT_EQ(TextSeparator(3, ","), ";");
}

TEST(TextSeparatorChoice, ExtensionRule)
{
    EXPECT_EQ(TextImageFileName("image.TXT"), "image.TXT");
    EXPECT_EQ(TextImageFileName("image.txt"), "image.txt");
    EXPECT_EQ(TextImageFileName("image.Txt"), "image.Txt");
    EXPECT_EQ(TextImageFileName("image"), "image.txt");
    EXPECT_EQ(TextImageFileName("image.dat"), "image.dat.txt");
    EXPECT_EQ(TextImageFileName("dir.txt/image"), "dir.txt/image.txt");
    EXPECT_EQ(TextImageFileName("imagetxt"), "imagetxt.txt");
}

TEST(TextImage, TwoByOnePictureWithSemicolonAndWithTab)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QString f = dir.filePath("two.txt");
    for (const auto& [sep, other, bytes] :
         {std::tuple{";", "\t", "0;128;255;10;20;30;\r\n"}, std::tuple{"\t", ";", "0\t128\t255\t10\t20\t30\t\r\n"}}) {
        SCOPED_TRACE(bytes);
        ASSERT_TRUE(WriteImgTabText(kTwoByOne, sep, f, nullptr));
        EXPECT_EQ(test::fileBytes(f), QByteArray(bytes));
        TImgTabBGR back;
        ASSERT_TRUE(ReadImgTabText(back, sep, f, nullptr));
        EXPECT_TRUE(back.sameAs(kTwoByOne));
        EXPECT_EQ(back.width(), 2);
        EXPECT_EQ(back.height(), 1);
        // The separator is not in the file: read with another, no value is found.
        ASSERT_TRUE(ReadImgTabText(back, other, f, nullptr));
        EXPECT_EQ(rowsOf(back), (Rows{{}}));
    }
    EXPECT_TRUE(sink.silent());
}

TEST(TextImage, TokensWithoutSeparatorOrOutOfRangeAreSkipped)
{
    EXPECT_EQ(imported("1;2;3;4\r\n"), (Rows{{1, 2, 3}}));
    EXPECT_EQ(imported("1;;300;x;5;\r\n"), (Rows{{1, 5}}));
    EXPECT_EQ(imported("1;2;3;4"), (Rows{{1, 2, 3}}));
    EXPECT_EQ(imported(" 1; 2;3 ;-1;$10;\r\n"), (Rows{{1, 2, 16}}));
}

TEST(TextImage, EveryKindOfLineBreak)
{
    const Rows want{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    EXPECT_EQ(imported("1;2;3;\r\n4;5;6;\r\n7;8;9;\r\n"), want);
    EXPECT_EQ(imported("1;2;3;\n4;5;6;\n7;8;9;"), want);
    EXPECT_EQ(imported("1;2;3;\r4;5;6;\r7;8;9;\r"), want);
    EXPECT_EQ(imported("1;2;3;\r4;5;6;\n7;8;9;\r\n"), want);
    // A break of each kind after an empty line still counts that line.
    EXPECT_EQ(imported("1;\r\n\r\n\n\r2;"), (Rows{{1}, {}, {}, {}, {2}}));
    EXPECT_EQ(imported("\r\n"), (Rows{{}}));
}

TEST(TextImage, BlanksAndControlsAtTheEndsButATrailingSeparatorStays)
{
    EXPECT_EQ(imported("  \t1;2;3;  \t\r\n"), (Rows{{1, 2, 3}}));
    EXPECT_EQ(imported(QByteArray("\x01\x02"
                                  "4;5;\x03\x1f\r\n")),
              (Rows{{4, 5}}));
    // Trimming must not take the tab that ends the last value.
    EXPECT_EQ(imported("\t\t1\t2\t3\t \t", "\t"), (Rows{{1, 2, 3}}));
    EXPECT_EQ(imported("1\t2\t3\t   \r\n10\t\r\n", "\t"), (Rows{{1, 2, 3}, {10}}));
}

TEST(TextImage, ALineWithoutValuesGivesAnEmptyRowNotTheOldOne)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QString f = dir.filePath("gap.txt");
    ASSERT_TRUE(test::writeFile(f, "1;2;3;4;5;6;\r\nnothing here\r\n\r\n7;8;9;\r\n"));
    // The array held a larger picture before.
    TImgTabBGR arr = arrayOfRows({{11, 11, 11, 11, 11, 11},
                                  {22, 22, 22, 22, 22, 22},
                                  {33, 33, 33, 33, 33, 33},
                                  {44, 44, 44, 44, 44, 44},
                                  {55, 55, 55}});
    ASSERT_TRUE(ReadImgTabText(arr, ";", f, nullptr));
    EXPECT_EQ(rowsOf(arr), (Rows{{1, 2, 3, 4, 5, 6}, {}, {}, {7, 8, 9}}));

    // Drawing such rows reads none past its end and leaves the rest black.
    QImage bitmap(1, 1, QImage::Format_BGR888);
    ImgTabToBitMap(bitmap, arr, nullptr);
    ASSERT_EQ(bitmap.size(), QSize(2, 4));
    EXPECT_EQ(bitmap.pixel(0, 0), qRgb(3, 2, 1));
    EXPECT_EQ(bitmap.pixel(1, 0), qRgb(6, 5, 4));
    for (int y : {1, 2})
        for (int x : {0, 1})
            EXPECT_EQ(bitmap.pixel(x, y), qRgb(0, 0, 0));
    EXPECT_EQ(bitmap.pixel(0, 3), qRgb(9, 8, 7));
    EXPECT_EQ(bitmap.pixel(1, 3), qRgb(0, 0, 0));
    EXPECT_TRUE(sink.silent());
}

TEST(TextImage, ShortRowsOfTwoLengthsDrawWithinTheirEnds)
{
    // Rows that are no multiple of 3 and a row longer than row 0.
    const TImgTabBGR arr = arrayOfRows({{1, 2, 3, 4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15, 16, 17, 18, 19, 20}});
    QImage bitmap(1, 1, QImage::Format_BGR888);
    ImgTabToBitMap(bitmap, arr, nullptr);
    ASSERT_EQ(bitmap.size(), QSize(2, 3));
    EXPECT_EQ(bitmap.pixel(1, 0), qRgb(6, 5, 4));
    EXPECT_EQ(bitmap.pixel(1, 1), qRgb(0, 0, 11));
    EXPECT_EQ(bitmap.pixel(1, 2), qRgb(17, 16, 15));
}

TEST(TextImage, EmptySeparatorWritesBareDigitsAndReadsNoValue)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QString f = dir.filePath("bare.txt");
    ASSERT_TRUE(WriteImgTabText(kTwoByOne, QString(), f, nullptr));
    EXPECT_EQ(test::fileBytes(f), QByteArray("0128255102030\r\n"));
    EXPECT_EQ(imported("1;2;3;\r\n4;5;6;\r\n", QString()), (Rows{{}, {}}));
    EXPECT_TRUE(sink.silent());
}

TEST(TextImage, OtherSignsAreBytesOfTheCodePage)
{
    QTemporaryDir dir;
    const QString f = dir.filePath("ru.txt");
    ASSERT_TRUE(WriteImgTabText(arrayOfRows({{1, 2, 3}}), QStringLiteral("ж"), f, nullptr));
    EXPECT_EQ(test::fileBytes(f), QByteArray("1\xE6"
                                             "2\xE6"
                                             "3\xE6\r\n"));
    EXPECT_EQ(imported("1\xE6"
                       "2\xE6"
                       "3\xE6\r\n",
                       QStringLiteral("ж")),
              (Rows{{1, 2, 3}}));
    EXPECT_EQ(imported("5,6,7,\r\n", QStringLiteral(",")), (Rows{{5, 6, 7}}));
}

TEST(TextImage, SignsFromAllOfTheCodePageRoundTrip)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QString written = dir.filePath("w.txt"), made = dir.filePath("m.txt");
    const Rows rows{{1, 20, 255}, {0, 7, 9}};
    // Bytes as the Windows-1251 chart has them; a sign it lacks is written as '?'.
    const std::pair<QString, char> signs[] = {{"—", '\x97'}, {"€", '\x88'}, {"і", '\xB3'}, {"Ђ", '\x80'},
                                              {"™", '\x99'}, {"ї", '\xBF'}, {"✓", '?'}};
    for (const auto& [sign, byte] : signs) {
        SCOPED_TRACE(sign.toStdString());
        QByteArray text;
        for (const auto& row : rows) {
            for (std::uint8_t v : row)
                text += QByteArray::number(v) + byte;
            text += "\r\n";
        }
        ASSERT_TRUE(WriteImgTabText(arrayOfRows(rows), sign, written, nullptr));
        EXPECT_EQ(test::fileBytes(written), text);
        // A file made elsewhere with that byte reads with the sign chosen.
        ASSERT_TRUE(test::writeFile(made, text));
        TImgTabBGR back;
        ASSERT_TRUE(ReadImgTabText(back, sign, made, nullptr));
        EXPECT_EQ(rowsOf(back), rows);
    }
    EXPECT_TRUE(sink.silent());
}

TEST(TextImage, ADigitSeparatorSplitsLinesOnImportAndIsRefusedOnExport)
{
    test::RecordingSink sink;
    // The line is cut at each separator before any number is read.
    EXPECT_EQ(imported("213141516171\r\n", QStringLiteral("1")), (Rows{{2, 3, 4, 5, 6, 7}}));
    EXPECT_EQ(imported("2323\r\n993300303\r\n", QStringLiteral("3")), (Rows{{2, 2}, {99, 0, 0}}));
    EXPECT_EQ(imported("500;0+10;05\r\n", QStringLiteral("0")), (Rows{{5, 1}}));

    // 1, 11 or 21 written with the separator 1 could not be told apart again.
    QTemporaryDir dir;
    const QString f = dir.filePath("d.txt");
    for (char digit = '0'; digit <= '9'; ++digit) {
        SCOPED_TRACE(digit);
        EXPECT_FALSE(WriteImgTabText(kTwoByOne, QString(QLatin1Char(digit)), f, nullptr));
        EXPECT_FALSE(QFile::exists(f));
        ASSERT_EQ(sink.errors.size(), digit - '0' + 1);
        EXPECT_TRUE(lastErrorNames(sink, "WriteImgTabText", f));
    }
    // Signs that may start a number are never inside a written one.
    for (const QString& sign : {QStringLiteral("-"), QStringLiteral("+"), QStringLiteral("$")}) {
        ASSERT_TRUE(WriteImgTabText(kTwoByOne, sign, f, nullptr));
        TImgTabBGR back;
        ASSERT_TRUE(ReadImgTabText(back, sign, f, nullptr));
        EXPECT_TRUE(back.sameAs(kTwoByOne)) << sign.toStdString();
    }
    EXPECT_TRUE(sink.warnings.isEmpty());
}

TEST(TextImage, PicturesBeyondTheLargestAllowedAreRefusedAsRead)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QString f = dir.filePath("wide.txt");
    const QByteArray widest = QByteArray("0;0;0;").repeated(65536) + "\r\n";
    const QByteArray wider = QByteArray("1;2;3;").repeated(65537) + "\r\n";
    const QByteArray shortLines = QByteArray("7;\r\n").repeated(5460);
    struct Case {
        QByteArray text;
        qint64 width, height;  // the widest row
    };
    // Wide rows make the 1 GiB cheaply: 65,536 x 5,461 pixels fit, 5,462 lines do not.
    for (const auto& [text, width, height] : std::vector<Case>{{wider, 65537, 1},
                                                               {widest, 65536, 1},
                                                               {"1;2;3;\r\n" + wider + "4;", 65537, 3},
                                                               {widest + shortLines, 65536, 5461},
                                                               {widest + shortLines + "7;\r\n", 65536, 5462},
                                                               {shortLines + widest + "7;", 65536, 5462}}) {
        ASSERT_TRUE(test::writeFile(f, text));
        const bool allowed = width <= 65536 && width * height * 3 <= qint64(1) << 30;
        for (const qsizetype block : {0, 4093}) {
            SCOPED_TRACE(testing::Message() << width << " x " << height << ", block " << block);
            TImgTabBGR arr = kTwoByOne;
            test::RecordingProgress progress;
            detail::setTextImageBlock(block);
            const bool read = ReadImgTabText(arr, ";", f, &progress);
            detail::setTextImageBlock(0);
            EXPECT_EQ(progress.position(), 0);
            if (allowed) {
                ASSERT_TRUE(read);
                EXPECT_EQ(arr.height(), height);
                qsizetype longest = 0;
                for (int r = 0; r < arr.rowCount(); ++r)
                    longest = std::max(longest, arr.rowLength(r));
                EXPECT_EQ(longest, 3 * width);
                continue;
            }
            EXPECT_FALSE(read);
            EXPECT_TRUE(arr.sameAs(kTwoByOne));
            ASSERT_TRUE(lastErrorNames(sink, "ReadImgTabText", f));
            EXPECT_TRUE(sink.errors.back().contains(
                QStringLiteral("Недопустимый размер изображения: %1 x %2").arg(width).arg(height)))
                << sink.errors.back().toStdString();
        }
    }
    EXPECT_TRUE(sink.warnings.isEmpty());
}

TEST(TextImage, AFileWithoutLinesLeavesTheArray)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QString f = dir.filePath("empty.txt");
    ASSERT_TRUE(test::writeFile(f, ""));
    TImgTabBGR arr = kTwoByOne;
    EXPECT_FALSE(ReadImgTabText(arr, ";", f, nullptr));
    EXPECT_TRUE(arr.sameAs(kTwoByOne));
    EXPECT_TRUE(sink.silent());
}

TEST(TextImage, LargePicturesSurviveTheBlockBoundaries)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QImage picture = test::patternImage(1500, 300, 7);  // about 5 MB of text
    const TImgTabBGR arr = test::arrayOf(picture);
    for (const QString& sep : {QStringLiteral(";"), QStringLiteral("\t")}) {
        const QString f = dir.filePath("big.txt");
        test::RecordingProgress wp;
        ASSERT_TRUE(WriteImgTabText(arr, sep, f, &wp));
        EXPECT_EQ(wp.maximum(), 299);
        EXPECT_EQ(wp.positions.back(), 0);
        EXPECT_EQ(wp.positions[wp.positions.size() - 2], 299);
        TImgTabBGR back;
        test::RecordingProgress rp;
        ASSERT_TRUE(ReadImgTabText(back, sep, f, &rp));
        EXPECT_TRUE(back.sameAs(arr));
        EXPECT_EQ(rp.maximum(), int((QFile(f).size() + 1023) / 1024));
        EXPECT_EQ(rp.positions.back(), 0);
        EXPECT_GT(rp.positions.size(), 5u);
    }

    // A line break and a value cut exactly by a block's end.
    const int block = 1 << 20;
    QByteArray text(block - 1, ' ');
    text.replace(0, 2, "1;");
    text += "\r\n";
    EXPECT_EQ(imported(text + "2;"), (Rows{{1}, {2}}));
    QByteArray cut(block - 2, ' ');
    cut.replace(0, 2, "1;");
    cut[block - 3] = ';';
    EXPECT_EQ(imported(cut + "255;\r\n"), (Rows{{1, 255}}));
    EXPECT_TRUE(sink.silent());
}

TEST(TextImage, LineLimitAndUnreadableFilesLeaveTheArray)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    QByteArray most;
    for (int i = 0; i < kMaxTextImageLines; ++i)
        most += QByteArray::number(i % 256) + ";\r\n";
    const QString ok = dir.filePath("most.txt");
    ASSERT_TRUE(test::writeFile(ok, most));
    TImgTabBGR arr;
    ASSERT_TRUE(ReadImgTabText(arr, ";", ok, nullptr));
    EXPECT_EQ(arr.height(), kMaxTextImageLines);
    EXPECT_EQ(arr.row(kMaxTextImageLines - 1)[0], (kMaxTextImageLines - 1) % 256);

    // One line more, even one without a break or a value.
    arr = kTwoByOne;
    for (const QByteArray& extra : {QByteArray("1;\r\n"), QByteArray("x")}) {
        const QString tooMany = dir.filePath("many.txt");
        ASSERT_TRUE(test::writeFile(tooMany, most + extra));
        test::RecordingProgress progress;
        EXPECT_FALSE(ReadImgTabText(arr, ";", tooMany, &progress));
        EXPECT_TRUE(arr.sameAs(kTwoByOne));
        ASSERT_TRUE(lastErrorNames(sink, "ReadImgTabText", tooMany));
        EXPECT_TRUE(sink.errors.back().contains("65535"));
        EXPECT_EQ(progress.position(), 0);
    }

    const int before = int(sink.errors.size());
    const QString missing = dir.filePath("missing.txt");
    EXPECT_FALSE(ReadImgTabText(arr, ";", missing, nullptr));
    EXPECT_FALSE(ReadImgTabText(arr, ";", dir.path(), nullptr));
    ASSERT_EQ(sink.errors.size(), before + 2);
    EXPECT_TRUE(sink.errors[before].contains(missing));
    EXPECT_TRUE(sink.errors[before + 1].contains(dir.path()));
    if (geteuid() != 0) {
        const QString locked = dir.filePath("locked.txt");
        ASSERT_TRUE(test::writeFile(locked, "1;2;3;\r\n"));
        QFile::setPermissions(locked, {});
        EXPECT_FALSE(ReadImgTabText(arr, ";", locked, nullptr));
        ASSERT_EQ(sink.errors.size(), before + 3);
        EXPECT_TRUE(sink.errors.back().contains(locked));
    }
    EXPECT_TRUE(arr.sameAs(kTwoByOne));
    EXPECT_TRUE(sink.warnings.isEmpty());
}

TEST(TextImageWrite, ArraysBeyondTheLimitsWriteNothing)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QString f = dir.filePath("x.txt");
    // Nothing to write is no failure and makes no file.
    EXPECT_TRUE(WriteImgTabText(TImgTabBGR(), ";", f, nullptr));
    EXPECT_FALSE(QFile::exists(f));
    EXPECT_TRUE(sink.silent());

    TImgTabBGR tall;
    tall.setShape(kMaxTextImageRows + 1, 3);
    std::memset(tall.row(0), 1, std::size_t(3 * (kMaxTextImageRows + 1)));
    TImgTabBGR wide;
    wide.setShape(1, kMaxTextImageRowBytes + 1);
    std::memset(wide.row(0), 2, std::size_t(kMaxTextImageRowBytes + 1));
    const TImgTabBGR gap = arrayOfRows({{1, 2, 3}, {}, {4, 5, 6}});
    int n = 0;
    for (const TImgTabBGR* arr : std::initializer_list<const TImgTabBGR*>{&tall, &wide, &gap}) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(WriteImgTabText(*arr, ";", f, nullptr));
        EXPECT_FALSE(QFile::exists(f));
        ASSERT_EQ(sink.errors.size(), ++n);
        EXPECT_TRUE(lastErrorNames(sink, "WriteImgTabText", f));
    }

    // The limits themselves are allowed.
    TImgTabBGR widest;
    widest.setShape(1, kMaxTextImageRowBytes);
    std::memset(widest.row(0), 255, std::size_t(kMaxTextImageRowBytes));
    ASSERT_TRUE(WriteImgTabText(widest, ";", f, nullptr));
    EXPECT_EQ(QFile(f).size(), 4 * kMaxTextImageRowBytes + 2);
    TImgTabBGR back;
    ASSERT_TRUE(ReadImgTabText(back, ";", f, nullptr));
    EXPECT_TRUE(back.sameAs(widest));
    EXPECT_EQ(sink.errors.size(), 3);
}

TEST(TextImageWrite, AFailedWriteKeepsTheOldFile)
{
    test::RecordingSink sink;
    QTemporaryDir dir;
    const QString f = dir.filePath("old.txt");
    const QByteArray old("1;2;3;\r\n");
    ASSERT_TRUE(test::writeFile(f, old));
    const TImgTabBGR big = test::arrayOf(test::patternImage(600, 400, 3));

    for (const std::uint64_t limit : {5000u, 3u << 19}) {  // inside the first block, and after it
        bool written = true;
        ASSERT_TRUE(test::underFileSizeLimit(limit, [&] { written = WriteImgTabText(big, ";", f, nullptr); }));
        EXPECT_FALSE(written);
    }
    EXPECT_EQ(test::fileBytes(f), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.txt"});
    ASSERT_EQ(sink.errors.size(), 2);
    EXPECT_TRUE(lastErrorNames(sink, "WriteImgTabText", f));

    const QString lost = dir.filePath("no/such/x.txt");
    EXPECT_FALSE(WriteImgTabText(kTwoByOne, ";", lost, nullptr));
    ASSERT_EQ(sink.errors.size(), 3);
    EXPECT_TRUE(sink.errors[2].contains(lost));

    // And a good write replaces the old file whole.
    ASSERT_TRUE(WriteImgTabText(kTwoByOne, ";", f, nullptr));
    EXPECT_EQ(test::fileBytes(f), QByteArray("0;128;255;10;20;30;\r\n"));
}

TEST(TextImage, RandomPicturesRoundTripWithEverySeparator)
{
    std::mt19937 random(5);
    QTemporaryDir dir;
    const QString f = dir.filePath("r.txt");
    for (const QString& sep : {QStringLiteral(";"), QStringLiteral("\t"), QStringLiteral(","), QStringLiteral("Ж")}) {
        SCOPED_TRACE(sep.toStdString());
        const int w = 1 + int(random() % 40);
        const int h = 1 + int(random() % 40);
        TImgTabBGR arr;
        arr.setShape(h, 3 * w);
        for (int r = 0; r < h; ++r)
            for (int i = 0; i < 3 * w; ++i)
                arr.row(r)[i] = std::uint8_t(random());
        ASSERT_TRUE(WriteImgTabText(arr, sep, f, nullptr));
        TImgTabBGR back;
        ASSERT_TRUE(ReadImgTabText(back, sep, f, nullptr));
        EXPECT_TRUE(back.sameAs(arr));
    }
}

TEST(TextImage, AnyBlockSizeReadsTheSame)
{
    test::RecordingSink sink;
    const QByteArray text("  7;8;9;\r\n\r\n 12;$1F;300;255;0;\r10;x;;;20;\n\n\t1;2;3;4;5;6;7\r\n"
                          "0000255;+1;1 ;-0;42;\r\n\r");
    QTemporaryDir dir;
    const QString f = dir.filePath("t.txt");
    ASSERT_TRUE(test::writeFile(f, text));
    for (const QString& sep : {QStringLiteral(";"), QStringLiteral("\t"), QString()}) {
        TImgTabBGR whole;
        ASSERT_TRUE(ReadImgTabText(whole, sep, f, nullptr));
        if (sep == ";") {
            EXPECT_EQ(rowsOf(whole),
                      (Rows{{7, 8, 9}, {}, {12, 31, 255, 0}, {10, 20}, {}, {1, 2, 3, 4, 5, 6}, {255, 1, 0, 42}, {}}));
        }
        for (int block = 1; block <= 9; ++block) {
            SCOPED_TRACE(block);
            detail::setTextImageBlock(block);
            TImgTabBGR cut;
            const bool read = ReadImgTabText(cut, sep, f, nullptr);
            detail::setTextImageBlock(0);
            ASSERT_TRUE(read);
            EXPECT_TRUE(cut.sameAs(whole));
        }
    }
    // Written in small blocks, the file is the same too.
    const TImgTabBGR arr = test::arrayOf(test::patternImage(5, 4, 2));
    const QString a = dir.filePath("a.txt"), b = dir.filePath("b.txt");
    ASSERT_TRUE(WriteImgTabText(arr, ";", a, nullptr));
    detail::setTextImageBlock(3);
    const bool written = WriteImgTabText(arr, ";", b, nullptr);
    detail::setTextImageBlock(0);
    ASSERT_TRUE(written);
    EXPECT_EQ(test::fileBytes(a), test::fileBytes(b));
    EXPECT_TRUE(sink.silent());
}
