#include "core/engine/tiff_header.h"

#include "core/engine/image_error.h"
#include "core/engine/plugin_picture.h"
#include "recorders.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <vector>

using namespace ormica;

namespace {

// A TIFF file of one directory with SHORT or LONG entries, values inline,
// and `pixels` after the directory as its one strip. Bits per sample given
// as a list are written as SHORTs, stored at `bitsAt` when the entry's field
// cannot hold them.
QByteArray tiffFile(bool bigEndian, bool bigTiff, std::map<unsigned, std::uint32_t> tags, const QByteArray& pixels,
                    const std::vector<std::uint16_t>& bits = {}, qint64 bitsAt = 0)
{
    const int countBytes = bigTiff ? 8 : 2, entryBytes = bigTiff ? 20 : 12;
    const int headBytes = bigTiff ? 16 : 8;
    const qint64 dirAt = headBytes;
    const qint64 pixelsAt = dirAt + countBytes + qint64(tags.size() + 2) * entryBytes + (bigTiff ? 8 : 4);
    tags[273] = std::uint32_t(pixelsAt);       // StripOffsets
    tags[279] = std::uint32_t(pixels.size());  // StripByteCounts
    if (!bits.empty())
        tags[258] = 0;
    const bool bitsApart = qint64(bits.size()) * 2 > (bigTiff ? 8 : 4);
    QByteArray f(int(pixelsAt), '\0');
    auto put = [&](qint64 at, std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
            f[int(at + i)] = char((v >> shift) & 0xFF);
        }
    };
    f[0] = f[1] = bigEndian ? 'M' : 'I';
    put(2, bigTiff ? 43 : 42, 2);
    if (bigTiff) {
        put(4, 8, 2);
        put(8, std::uint64_t(dirAt), 8);
    } else {
        put(4, std::uint64_t(dirAt), 4);
    }
    put(dirAt, tags.size(), countBytes);
    qint64 at = dirAt + countBytes;
    for (const auto& [tag, value] : tags) {
        const bool isShort = value <= 0xFFFF && tag != 273 && tag != 279;
        put(at, tag, 2);
        put(at + 2, isShort ? 3 : 4, 2);
        put(at + 4, 1, bigTiff ? 8 : 4);
        put(at + (bigTiff ? 12 : 8), value, isShort ? 2 : 4);
        if (tag == 258 && !bits.empty()) {
            put(at + 4, bits.size(), bigTiff ? 8 : 4);
            if (bitsApart)
                put(at + (bigTiff ? 12 : 8), std::uint64_t(bitsAt), bigTiff ? 8 : 4);
            else
                for (std::size_t i = 0; i < bits.size(); ++i)
                    put(at + (bigTiff ? 12 : 8) + 2 * qint64(i), bits[i], 2);
        }
        at += entryBytes;
    }
    f += pixels;
    if (bitsApart) {
        f.resize(bitsAt + 2 * qint64(bits.size()), '\0');
        for (std::size_t i = 0; i < bits.size(); ++i)
            put(bitsAt + 2 * qint64(i), bits[i], 2);
    }
    return f;
}

// An 8-bit grey picture, w x h, uncompressed.
std::map<unsigned, std::uint32_t> greyTags(std::uint32_t w, std::uint32_t h)
{
    return {{256, w}, {257, h}, {258, 8}, {259, 1}, {262, 1}, {277, 1}, {278, h}};
}

}  // namespace

TEST(TiffLayout, ReadsEitherByteOrderAndBigTiff)
{
    QTemporaryDir dir;
    for (const bool bigEndian : {false, true})
        for (const bool bigTiff : {false, true}) {
            SCOPED_TRACE(testing::Message() << "big-endian " << bigEndian << ", big TIFF " << bigTiff);
            const QString file = dir.filePath(QStringLiteral("a.tif"));
            auto tags = greyTags(70000, 3);
            tags[277] = 3;
            tags[258] = 16;
            tags[278] = 2;
            ASSERT_TRUE(test::writeFile(file, tiffFile(bigEndian, bigTiff, tags, QByteArray(12, '\0'))));
            TTiffLayout l;
            ASSERT_TRUE(ReadTiffLayout(file, l));
            EXPECT_EQ(l.width, 70000);
            EXPECT_EQ(l.height, 3);
            EXPECT_EQ(l.samplesPerPixel, 3);
            EXPECT_EQ(l.bitsPerSample, 16);
            EXPECT_EQ(l.dataBytes(), 70000LL * 3 * 2 * 3);
            EXPECT_EQ(l.largestBlock(), 70000LL * 3 * 2 * 2);
        }
    // Rows are padded to whole bytes; a tile counts whole.
    TTiffLayout l;
    l.width = 9;
    l.height = 2;
    l.tileWidth = 16;
    l.tileLength = 16;
    EXPECT_EQ(l.dataBytes(), 4);
    EXPECT_EQ(l.largestBlock(), 32);
    // Products that would overflow saturate.
    l.samplesPerPixel = qint64(1) << 40;
    l.bitsPerSample = qint64(1) << 40;
    EXPECT_GT(l.dataBytes(), MaxTiffDataBytes());

    const QString junk = dir.filePath(QStringLiteral("junk.tif"));
    ASSERT_TRUE(test::writeFile(junk, QByteArray("II*\0\xff\xff\xff\x7f", 8)));
    EXPECT_FALSE(ReadTiffLayout(junk, l));
    ASSERT_TRUE(test::writeFile(junk, QByteArray("GIF89a")));
    EXPECT_FALSE(ReadTiffLayout(junk, l));
}

TEST(TiffLayout, ListsStoredApartAreReadWhereTheyAre)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.tif"));
    struct Case {
        bool bigEndian, bigTiff;
        std::vector<std::uint16_t> bits;
        qint64 at;
    };
    // Offsets whose low or high half is far from any bit depth.
    for (const Case& c : {Case{false, false, {8, 16, 8}, 200}, Case{false, false, {8, 8, 8}, 70000},
                          Case{true, false, {16, 8, 8}, 0x20000}, Case{false, true, {8, 8, 16, 8, 8}, 33834},
                          Case{true, true, {8, 8, 8, 8, 16}, 0x30000}, Case{false, false, {16, 8}, 0}}) {
        SCOPED_TRACE(testing::Message() << "offset " << c.at << ", big-endian " << c.bigEndian);
        auto tags = greyTags(320, 240);
        tags[277] = std::uint32_t(c.bits.size());
        ASSERT_TRUE(test::writeFile(file, tiffFile(c.bigEndian, c.bigTiff, tags, QByteArray(12, '\0'), c.bits, c.at)));
        TTiffLayout l;
        ASSERT_TRUE(ReadTiffLayout(file, l));
        EXPECT_EQ(l.bitsPerSample, *std::max_element(c.bits.begin(), c.bits.end()));
        EXPECT_EQ(l.samplesPerPixel, qint64(c.bits.size()));
    }

    // What we write comes back, whatever the size puts the lists at.
    const TPluginFormat* tiff = PluginFormatOfName(file);
    ASSERT_NE(tiff, nullptr);
    for (const QSize size : {QSize(320, 240), QSize(641, 480), QSize(97, 2000)}) {
        const QImage picture = test::patternImage(size.width(), size.height(), 5);
        WritePluginPicture(picture, file, *tiff, 100);
        EXPECT_EQ(ReadPluginPicture(file, *tiff).picture, picture) << size.width() << " x " << size.height();
    }
}

TEST(TiffLayout, DeclaredDataBeyondTheLimitIsRefusedBeforeTheLibraryAllocatesIt)
{
    QTemporaryDir dir;
    const TPluginFormat* tiff = PluginFormatOfName(QStringLiteral("x.tif"));
    ASSERT_NE(tiff, nullptr);

    // A real picture of this layout loads.
    const QString good = dir.filePath(QStringLiteral("good.tif"));
    QByteArray pixels;
    for (int i = 0; i < 12; ++i)
        pixels += char(20 * i);
    ASSERT_TRUE(test::writeFile(good, tiffFile(false, false, greyTags(4, 3), pixels)));
    const TPluginPicture read = ReadPluginPicture(good, *tiff);
    EXPECT_EQ(read.picture.size(), QSize(4, 3));
    EXPECT_EQ(read.picture.pixel(3, 2), qRgb(220, 220, 220));

    // Thousands of 16-bit samples a pixel: one strip would take gigabytes.
    auto tags = greyTags(8, 65534);
    tags[277] = 18689;
    tags[258] = 16;
    tags[259] = 8;
    const QString absurd = dir.filePath(QStringLiteral("absurd.tif"));
    ASSERT_TRUE(test::writeFile(absurd, tiffFile(false, false, tags, QByteArray(30, 'x'))));
    const QString error = test::imageErrorOf([&] { ReadPluginPicture(absurd, *tiff); });
    EXPECT_TRUE(error.startsWith(QStringLiteral("Не могу прочитать TIFF-файл \"%1\".\r\nПиксели изображения 8 x "
                                                "65534 заняли бы больше 1365 МБ")
                                     .arg(absurd)))
        << error.toStdString();

    // One tile far larger than the picture.
    tags = greyTags(8, 8);
    tags.erase(278);
    tags[322] = 65536;
    tags[323] = 65536;
    ASSERT_TRUE(test::writeFile(absurd, tiffFile(true, false, tags, QByteArray(30, 'x'))));
    EXPECT_THROW(ReadPluginPicture(absurd, *tiff), TImageError);

    // Sides beyond our own limit, whatever the data.
    ASSERT_TRUE(test::writeFile(absurd, tiffFile(false, true, greyTags(70000, 70000), QByteArray(30, 'x'))));
    EXPECT_EQ(test::imageErrorOf([&] { ReadPluginPicture(absurd, *tiff); }), PictureTooLargeText(70000, 70000));
}

TEST(TiffLayout, ReadingThatWouldTakeMoreThanTwoCopiesAndAMarginIsRefused)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("deep.tif"));
    const TPluginFormat* tiff = PluginFormatOfName(file);
    ASSERT_NE(tiff, nullptr);
    struct Case {
        std::uint32_t width, height;
        std::uint16_t bits;
        bool refused;
    };
    // Sixteen bits a channel are read at eight bytes a pixel and then copied;
    // a single strip is unpacked whole beside the picture.
    for (const Case& c : {Case{8000, 7000, 16, true}, Case{2000, 2000, 16, false}, Case{18000, 16000, 8, true},
                          Case{12000, 12000, 8, false}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", " << c.bits << " bits");
        auto tags = greyTags(c.width, c.height);
        tags[259] = 8;  // deflate
        tags[262] = 2;  // RGB
        tags[277] = 3;
        ASSERT_TRUE(
            test::writeFile(file, tiffFile(false, false, tags, QByteArray(30, 'x'), {c.bits, c.bits, c.bits}, 4096)));
        const QString error = test::imageErrorOf([&] { ReadPluginPicture(file, *tiff); });
        EXPECT_NE(error, test::kNothingThrown);
        EXPECT_EQ(error.contains(QStringLiteral("заняло бы при чтении")), c.refused) << error.toStdString();
    }
}
