#include "core/engine/bmp_file.h"

#include "core/engine/image_error.h"
#include "core/engine/load_save_image.h"
#include "recorders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <chrono>
#include <gtest/gtest.h>

using namespace ormica;

namespace {

QString suiteDir(const char* sub)
{
    return test::corpusPath(QStringLiteral("bmpsuite/") + QLatin1String(sub));
}

QStringList bmpFiles(const QString& dir)
{
    QStringList files;
    for (const QFileInfo& f : QDir(dir).entryInfoList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name))
        files << f.absoluteFilePath();
    return files;
}

// ImageMagick reads BMP with code of its own: the reference for our pixels.
QString independentReader()
{
    for (const char* p : {"/usr/bin/convert-im6.q16", "/usr/bin/convert-im7.q16", "/usr/bin/magick"})
        if (QFileInfo(QLatin1String(p)).isExecutable())
            return QLatin1String(p);
    return QString();
}

QByteArray readRgbIndependently(const QString& reader, const QString& file)
{
    QProcess p;
    p.start(reader, {file, QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("rgb:-")});
    p.waitForFinished(30000);
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

QByteArray header(qint32 width, qint32 height, quint16 bits, quint32 compression, QByteArray extra = {})
{
    QByteArray h(54, '\0');
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(54, h.data() + 10);
    qToLittleEndian<quint32>(40, h.data() + 14);
    qToLittleEndian<qint32>(width, h.data() + 18);
    qToLittleEndian<qint32>(height, h.data() + 22);
    qToLittleEndian<quint16>(1, h.data() + 26);
    qToLittleEndian<quint16>(bits, h.data() + 28);
    qToLittleEndian<quint32>(compression, h.data() + 30);
    return h + extra;
}

QByteArray masks(quint32 r, quint32 g, quint32 b)
{
    QByteArray m(12, '\0');
    qToLittleEndian<quint32>(r, m.data());
    qToLittleEndian<quint32>(g, m.data() + 4);
    qToLittleEndian<quint32>(b, m.data() + 8);
    return m;
}

}  // namespace

TEST(BmpHeader, PixelFormatCodeFollowsBitsCompressionAndMasks)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
        TPixelFormat expected;
    } cases[] = {
        {"1.bmp", header(4, 4, 1, 0), pf1bit},
        {"2.bmp", header(4, 4, 2, 0), pfCustom},
        {"4.bmp", header(4, 4, 4, 0), pf4bit},
        {"4rle.bmp", header(4, 4, 4, 2), pf4bit},
        {"8rle.bmp", header(4, 4, 8, 1), pf8bit},
        {"16.bmp", header(4, 4, 16, 0), pf15bit},
        {"555.bmp", header(4, 4, 16, 3, masks(0x7C00, 0x03E0, 0x001F)), pf15bit},
        {"565.bmp", header(4, 4, 16, 3, masks(0xF800, 0x07E0, 0x001F)), pf16bit},
        {"444.bmp", header(4, 4, 16, 3, masks(0x0F00, 0x00F0, 0x000F)), pfCustom},
        {"24.bmp", header(4, -4, 24, 0), pf24bit},
        {"32.bmp", header(4, 4, 32, 0), pf32bit},
        {"32masks.bmp", header(4, 4, 32, 3, masks(0xFF, 0xFF00, 0xFF0000)), pf32bit},
        {"64.bmp", header(4, 4, 64, 0), pfCustom},
        {"jpeg.bmp", header(4, 4, 0, 4), pfCustom},
        {"png.bmp", header(4, 4, 0, 5), pfCustom},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TBmpHeader h = ReadBmpHeader(test::fileIn(dir, c.name, c.bytes));
        EXPECT_EQ(h.format, c.expected);
        EXPECT_EQ(h.width, 4);
        EXPECT_EQ(h.height, 4);
    }
    EXPECT_FALSE(IsAcceptedFormat(pf1bit));
    EXPECT_FALSE(IsAcceptedFormat(pfCustom));
    EXPECT_TRUE(IsAcceptedFormat(pfDevice));
    EXPECT_TRUE(IsAcceptedFormat(pf15bit));
    EXPECT_EQ(PixelFormatName(pf1bit), QStringLiteral("pf1bit"));
    EXPECT_EQ(PixelFormatName(42), QStringLiteral("pfCustom"));
}

namespace {

// An OS/2 2.x bitmap: its 64-byte header, a four-colour palette and the
// run-length data as given.
QByteArray os2Bitmap(quint16 bits, quint32 compression, const QByteArray& data)
{
    QByteArray h(14 + 64, '\0');
    h[0] = 'B';
    h[1] = 'M';
    const QByteArray palette("\0\0\0\0\x0A\x14\x1E\0\x28\x32\x3C\0\x46\x50\x5A\0", 16);
    qToLittleEndian<quint32>(quint32(h.size() + palette.size() + data.size()), h.data() + 2);
    qToLittleEndian<quint32>(quint32(h.size() + palette.size()), h.data() + 10);
    qToLittleEndian<quint32>(64, h.data() + 14);
    qToLittleEndian<qint32>(4, h.data() + 18);
    qToLittleEndian<qint32>(2, h.data() + 22);
    qToLittleEndian<quint16>(1, h.data() + 26);
    qToLittleEndian<quint16>(bits, h.data() + 28);
    qToLittleEndian<quint32>(compression, h.data() + 30);
    qToLittleEndian<quint32>(quint32(data.size()), h.data() + 34);
    qToLittleEndian<quint32>(4, h.data() + 46);  // colours used
    return h + palette + data;
}

}  // namespace

TEST(BmpHeader, Os2BitmapsShareTheWindowsRunLengthCodes)
{
    QTemporaryDir dir;
    // Bottom row four times colour 1; top row colour 2 twice, then colour 3 twice.
    const QByteArray rle8("\x04\x01\0\0\x02\x02\x02\x03\0\0\0\x01", 12);
    const QByteArray rle4("\x04\x11\0\0\x02\x22\x02\x33\0\0\0\x01", 12);
    QImage expected(4, 2, QImage::Format_BGR888);
    const QRgb one = qRgb(30, 20, 10), two = qRgb(60, 50, 40), three = qRgb(90, 80, 70);
    for (int x = 0; x < 4; ++x) {
        expected.setPixel(x, 1, one);
        expected.setPixel(x, 0, x < 2 ? two : three);
    }
    const struct {
        const char* name;
        QByteArray bytes;
        TPixelFormat format;
    } cases[] = {
        {"rle8.bmp", os2Bitmap(8, 1, rle8), pf8bit},
        {"rle4.bmp", os2Bitmap(4, 2, rle4), pf4bit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = test::fileIn(dir, c.name, c.bytes);
        const TBmpHeader h = ReadBmpHeader(file);
        EXPECT_EQ(h.format, c.format);
        EXPECT_EQ(ReadBmpPixels(file, h), expected);
    }
    // Huffman 1D and RLE24 are OS/2's own.
    EXPECT_EQ(ReadBmpHeader(test::fileIn(dir, "huffman.bmp", os2Bitmap(1, 3, rle8))).format, pf1bit);
    EXPECT_EQ(ReadBmpHeader(test::fileIn(dir, "rle24.bmp", os2Bitmap(24, 4, rle8))).format, pfCustom);
    EXPECT_EQ(ReadBmpHeader(test::fileIn(dir, "rle8on24.bmp", os2Bitmap(24, 1, rle8))).format, pfCustom);
}

TEST(BmpHeader, AbsurdAndBrokenHeadersAreRefusedBeforeAllocating)
{
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
        const char* text;
    } cases[] = {
        {"wide.bmp", header(70000, 1, 24, 0), "Недопустимый размер изображения: 70000 x 1 пикселей."},
        {"huge.bmp", header(60000, 60000, 24, 0), "Недопустимый размер изображения: 60000 x 60000 пикселей."},
        {"zero.bmp", header(0, 5, 24, 0), "Недопустимый размер изображения: 0 x 5 пикселей."},
        {"cut.bmp", QByteArray("BM\0\0", 4), "не является правильным BMP-файлом"},
        {"png.bmp", QByteArray("\x89PNG\r\n\x1a\n0000000000000000", 24), "не является правильным BMP-файлом"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString error = test::imageErrorOf([&] { ReadBmpHeader(test::fileIn(dir, c.name, c.bytes)); });
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.text))) << error.toStdString();
    }
}

TEST(BmpCorpus, GoodFilesLoadWithTheirCodeAndTheIndependentReadersPixels)
{
    const QString dir = suiteDir("g");
    if (dir.isEmpty())
        GTEST_SKIP() << "picture corpora not found beside the project (../shared/testdata)";
    const QString reader = independentReader();
    const std::map<QString, TPixelFormat> codes{
        {"pal4", pf4bit},        {"pal4gs", pf4bit},      {"pal4rle", pf4bit},       {"pal8", pf8bit},
        {"pal8-0", pf8bit},      {"pal8gs", pf8bit},      {"pal8nonsquare", pf8bit}, {"pal8os2", pf8bit},
        {"pal8rle", pf8bit},     {"pal8topdown", pf8bit}, {"pal8v4", pf8bit},        {"pal8v5", pf8bit},
        {"pal8w124", pf8bit},    {"pal8w125", pf8bit},    {"pal8w126", pf8bit},      {"rgb16", pf15bit},
        {"rgb16bfdef", pf15bit}, {"rgb16-565", pf16bit},  {"rgb16-565pal", pf16bit}, {"rgb24", pf24bit},
        {"rgb24pal", pf24bit},   {"rgb32", pf32bit},      {"rgb32bf", pf32bit},      {"rgb32bfdef", pf32bit},
    };
    test::RecordingPanel panel;
    TLoadSaveImage service(nullptr, &panel, nullptr);
    int compared = 0;
    for (const QString& file : bmpFiles(dir)) {
        const QString base = QFileInfo(file).completeBaseName();
        SCOPED_TRACE(base.toStdString());
        TImageControl image;
        if (base.startsWith(QLatin1String("pal1"))) {
            EXPECT_FALSE(service.LoadBmp(file, image));
            EXPECT_EQ(panel.text(), QStringLiteral(" ОШИБКА! Недопустимый формат ( pf1bit ) пикселя в файле"));
            EXPECT_TRUE(image.picture().isNull());
            EXPECT_EQ(image.imageDesc(), nullptr);
            continue;
        }
        ASSERT_TRUE(service.LoadBmp(file, image));
        ASSERT_TRUE(codes.count(base)) << "a file of the suite this test does not know";
        EXPECT_EQ(image.imageDesc()->PixelFormat, codes.at(base));
        EXPECT_EQ(image.imageDesc()->SourceKind, skBmpFile);
        EXPECT_EQ(image.picture().format(), QImage::Format_BGR888);
        if (reader.isEmpty())
            continue;
        const QByteArray rgb = readRgbIndependently(reader, file);
        const QImage& pic = image.picture();
        ASSERT_EQ(rgb.size(), qsizetype(3) * pic.width() * pic.height());
        int differing = 0;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width(); ++x) {
                const uchar* p = pic.constScanLine(y) + 3 * x;
                const char* q = rgb.constData() + 3 * (qsizetype(y) * pic.width() + x);
                for (int c = 0; c < 3; ++c)
                    differing += p[2 - c] != uchar(q[c]);
            }
        EXPECT_EQ(differing, 0);
        ++compared;
    }
    if (reader.isEmpty())
        std::cout << "[ NOTE ] no independent BMP reader (ImageMagick); pixels not compared\n";
    else
        EXPECT_EQ(compared, 24);
}

TEST(BmpCorpus, QuestionableAndBadFilesNeverCrashOrHang)
{
    const QString root = test::testDataDir();
    if (root.isEmpty())
        GTEST_SKIP() << "picture corpora not found beside the project (../shared/testdata)";
    test::RecordingPanel panel;
    TLoadSaveImage service(nullptr, &panel, nullptr);
    int loaded = 0, refused = 0, failed = 0;
    for (const char* sub : {"q", "b"}) {
        for (const QString& file : bmpFiles(suiteDir(sub))) {
            SCOPED_TRACE(file.toStdString());
            TImageControl image;
            const auto start = std::chrono::steady_clock::now();
            try {
                if (service.LoadBmp(file, image)) {
                    ++loaded;
                    EXPECT_EQ(image.picture().format(), QImage::Format_BGR888);
                    EXPECT_TRUE(IsAcceptedFormat(image.imageDesc()->PixelFormat));
                } else {
                    ++refused;
                    EXPECT_TRUE(panel.text().startsWith(QStringLiteral(" ОШИБКА!")));
                    EXPECT_TRUE(image.picture().isNull());
                }
            } catch (const TImageError& e) {
                ++failed;
                EXPECT_FALSE(e.text().isEmpty());
                EXPECT_TRUE(image.picture().isNull());
            }
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        }
    }
    EXPECT_EQ(loaded + refused + failed, 62);
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

TEST(BmpWrite, WritesBottomUp24BitThatReadersReadBack)
{
    QTemporaryDir dir;
    for (const QSize size : {QSize(1, 1), QSize(5, 3), QSize(64, 7)}) {
        SCOPED_TRACE(size.width());
        const QImage picture = test::patternImage(size.width(), size.height(), 21);
        const QString path = dir.filePath(QStringLiteral("out.bmp"));
        ASSERT_TRUE(WriteBmpFile(picture, path));

        // The bytes themselves, read by hand.
        const QByteArray bytes = test::fileBytes(path);
        const int stride = (3 * size.width() + 3) & ~3;
        ASSERT_EQ(bytes.size(), 54 + stride * size.height());
        EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), 24);
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 22), size.height());
        const char* lastRow = bytes.constData() + 54;  // bottom row first
        EXPECT_EQ(std::memcmp(lastRow, picture.constScanLine(size.height() - 1), std::size_t(3 * size.width())), 0);

        const TBmpHeader h = ReadBmpHeader(path);
        EXPECT_EQ(h.format, pf24bit);
        EXPECT_EQ(ReadBmpPixels(path, h), picture);
    }
    EXPECT_FALSE(WriteBmpFile(QImage(), dir.filePath(QStringLiteral("none.bmp"))));
    EXPECT_FALSE(WriteBmpFile(test::patternImage(2, 2), dir.filePath(QStringLiteral("no/such/dir/x.bmp"))));
}

TEST(BmpPixels, UncompressedPixelsCutShortAreRefused)
{
    QTemporaryDir dir;
    const QByteArray rows(4 * 12, '\x7F');  // 4 x 4 pixels of 24 bits: 12 bytes a row
    const QString whole = test::fileIn(dir, "whole.bmp", header(4, 4, 24, 0) + rows);
    EXPECT_EQ(ReadBmpPixels(whole, ReadBmpHeader(whole)).pixel(3, 3), qRgb(0x7F, 0x7F, 0x7F));
    for (const int missing : {1, 12, 48}) {
        SCOPED_TRACE(missing);
        const QString cut = test::fileIn(dir, "cut.bmp", header(4, 4, 24, 0) + rows.left(rows.size() - missing));
        EXPECT_EQ(test::imageErrorOf([&] { ReadBmpPixels(cut, ReadBmpHeader(cut)); }),
                  QStringLiteral("Не могу прочитать BMP-файл \"%1\".\r\nФайл обрывается раньше, чем "
                                 "кончаются пиксели: %2 байт вместо 102.")
                      .arg(cut)
                      .arg(102 - missing));
    }
    // The last row's padding carries no pixels and may be missing.
    const QByteArray odd = header(5, 2, 24, 0) + QByteArray(16 + 15, '\x33');
    const QString noPadding = test::fileIn(dir, "nopadding.bmp", odd);
    EXPECT_EQ(ReadBmpPixels(noPadding, ReadBmpHeader(noPadding)).pixel(4, 0), qRgb(0x33, 0x33, 0x33));
    const QString oddCut = test::fileIn(dir, "oddcut.bmp", odd.chopped(1));
    EXPECT_THROW(ReadBmpPixels(oddCut, ReadBmpHeader(oddCut)), TImageError);

    // An offset into the headers is ignored: the pixels follow the palette.
    QByteArray eight = header(4, 1, 8, 0) + QByteArray(256 * 4, '\0') + QByteArray(4, '\x01');
    qToLittleEndian<quint32>(20, eight.data() + 10);
    const QString early = test::fileIn(dir, "early.bmp", eight);
    EXPECT_NO_THROW(ReadBmpPixels(early, ReadBmpHeader(early)));
    const QString earlyCut = test::fileIn(dir, "earlycut.bmp", eight.left(eight.size() - 1));
    EXPECT_THROW(ReadBmpPixels(earlyCut, ReadBmpHeader(earlyCut)), TImageError);
    // One into the palette its format needs leaves the palette short.
    QByteArray shortPalette = header(4, 1, 8, 0) + QByteArray(16 * 4, '\0') + QByteArray(4, '\x01');
    qToLittleEndian<quint32>(54 + 16 * 4, shortPalette.data() + 10);
    const QString cutPalette = test::fileIn(dir, "cutpalette.bmp", shortPalette);
    const QString shortError = test::imageErrorOf([&] { ReadBmpPixels(cutPalette, ReadBmpHeader(cutPalette)); });
    EXPECT_TRUE(shortError.contains(QStringLiteral("палитра короче, чем требует формат пикселя pf8bit")))
        << shortError.toStdString();
}

TEST(BmpPixels, PixelsRunLengthDataNeverReachesTakeTheFirstColour)
{
    QTemporaryDir dir;
    // 64 x 64, palette colour 0 = (3, 2, 1); sixteen pixels of colour 1 in the
    // bottom row, a jump, a few more, then the data stops.
    QByteArray bytes = header(64, 64, 8, 1);
    qToLittleEndian<quint32>(54 + 8, bytes.data() + 10);
    qToLittleEndian<quint32>(2, bytes.data() + 46);
    bytes += QByteArray("\x01\x02\x03\0\xFF\xFF\xFF\0", 8);
    bytes += QByteArray("\x10\x01\0\x02\x05\x07\x03\x01", 8);
    const QString file = test::fileIn(dir, "rle.bmp", bytes);
    for (int round = 0; round < 20; ++round) {
        // Leave garbage where the reader's buffer may come from.
        for (int i = 0; i < 8; ++i) {
            std::vector<unsigned char> junk(std::size_t(64 * 64 * (1 + i % 4)), 0xAB);
            EXPECT_EQ(junk.back(), 0xAB);
        }
        const QImage image = ReadBmpPixels(file, ReadBmpHeader(file));
        int white = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const QRgb p = image.pixel(x, y);
                if (p == qRgb(255, 255, 255))
                    ++white;
                else
                    ASSERT_EQ(p, qRgb(3, 2, 1)) << x << "," << y;
            }
        EXPECT_EQ(white, 19);
    }
}

TEST(BmpPixels, TwentyFourBitRowsReadInEitherOrderAndBeyondTheGeneralReadersLimit)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(5, 3, 11);  // 15 bytes a row, one of padding
    for (const bool topDown : {false, true}) {
        SCOPED_TRACE(topDown);
        QByteArray bytes = header(5, topDown ? -3 : 3, 24, 0);
        for (int r = 0; r < 3; ++r)
            bytes += QByteArray(reinterpret_cast<const char*>(picture.constScanLine(topDown ? r : 2 - r)), 15) + '\x5A';
        const QString file = test::fileIn(dir, "rows.bmp", bytes);
        EXPECT_EQ(ReadBmpPixels(file, ReadBmpHeader(file)), picture);
    }

    // More pixels than the general reader takes: an 8-bit picture is refused
    // with a reason before anything is allocated.
    const QString large = dir.filePath(QStringLiteral("large.bmp"));
    {
        QFile f(large);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray head = header(20000, 14000, 8, 0);
        qToLittleEndian<quint32>(54 + 1024, head.data() + 10);
        f.write(head + QByteArray(1024, '\0'));
        ASSERT_TRUE(f.resize(54 + 1024 + qint64(20000) * 14000));  // sparse: no disk used
    }
    const QString error = test::imageErrorOf([&] { ReadBmpPixels(large, ReadBmpHeader(large)); });
    EXPECT_TRUE(error.contains(QStringLiteral("pf8bit читаются размером не более 16384 x 16384")))
        << error.toStdString();
}

namespace {

// Qt's reader alone, its picture changed to 24 bits: what every file went
// through before our own row reader took the plain ones.
QImage readByQt(const QString& file)
{
    QImageReader reader(file, "bmp");
    reader.setAutoTransform(false);
    return reader.read().convertToFormat(QImage::Format_BGR888);
}

// A 32-bit file of the picture: the fourth byte of each pixel is `fourth`
// (its alpha, or nothing), under a 40-byte header (masks after it when
// `bitfields`) or a 124-byte one with the masks and the alpha mask inside
// (without `bitfields`, red and blue swapped there: masks that do not count).
QByteArray file32(const QImage& picture, bool topDown, bool bitfields, int infoSize, quint8 fourth)
{
    const int w = picture.width(), h = picture.height();
    QByteArray info(infoSize, '\0');
    qToLittleEndian<quint32>(quint32(infoSize), info.data());
    qToLittleEndian<qint32>(w, info.data() + 4);
    qToLittleEndian<qint32>(topDown ? -h : h, info.data() + 8);
    qToLittleEndian<quint16>(1, info.data() + 12);
    qToLittleEndian<quint16>(32, info.data() + 14);
    qToLittleEndian<quint32>(bitfields ? 3 : 0, info.data() + 16);
    QByteArray maskBytes;
    if (bitfields && infoSize == 40) {
        maskBytes = masks(0x00FF0000, 0x0000FF00, 0x000000FF);
    } else if (infoSize == 124) {
        info.replace(40, 12, bitfields ? masks(0x00FF0000, 0x0000FF00, 0x000000FF) : masks(0xFF, 0xFF00, 0xFF0000));
        qToLittleEndian<quint32>(bitfields ? 0xFF000000 : 0, info.data() + 52);
        qToLittleEndian<quint32>(0x73524742, info.data() + 56);  // sRGB
    }
    QByteArray fileHead(14, '\0');
    fileHead[0] = 'B';
    fileHead[1] = 'M';
    const int offset = 14 + infoSize + int(maskBytes.size());
    qToLittleEndian<quint32>(quint32(offset + 4 * w * h), fileHead.data() + 2);
    qToLittleEndian<quint32>(quint32(offset), fileHead.data() + 10);
    QByteArray pixels;
    for (int r = 0; r < h; ++r) {
        const uchar* line = picture.constScanLine(topDown ? r : h - 1 - r);
        for (int x = 0; x < w; ++x)
            pixels += QByteArray(reinterpret_cast<const char*>(line + 3 * x), 3) + char(fourth + x);
    }
    return fileHead + info + maskBytes + pixels;
}

}  // namespace

TEST(BmpPixels, ThirtyTwoBitRowsLoseTheirFourthByteAsQtsReaderDoes)
{
    QTemporaryDir dir;
    int direct = 0;
    for (const int width : {1, 5, 15, 16, 17, 33, 70}) {
        const QImage picture = test::patternImage(width, 3, unsigned(width));
        for (const bool topDown : {false, true})
            for (const auto& [bitfields, infoSize] : {std::pair{false, 40}, {false, 124}, {true, 40}, {true, 124}}) {
                SCOPED_TRACE(::testing::Message() << width << (topDown ? " top-down" : " bottom-up")
                                                  << (bitfields ? " bitfields " : " rgb ") << infoSize);
                const QString file =
                    test::fileIn(dir, "rgb32.bmp", file32(picture, topDown, bitfields, infoSize, quint8(0x80 + width)));
                const TBmpHeader h = ReadBmpHeader(file);
                EXPECT_EQ(h.format, pf32bit);
                direct += BmpRowsReadDirectly(h);
                const QImage ours = ReadBmpPixels(file, h);
                EXPECT_EQ(ours, picture);
                EXPECT_EQ(ours, readByQt(file));
            }
    }
    EXPECT_EQ(direct, 7 * 2 * 4);
}

TEST(BmpPixels, OnlyPlainLayoutsAreReadDirectly)
{
    TBmpHeader h;
    h.infoSize = 40;
    h.bitCount = 24;
    EXPECT_TRUE(BmpRowsReadDirectly(h));
    h.compression = 4;  // OS/2 RLE24 or JPEG
    EXPECT_FALSE(BmpRowsReadDirectly(h));
    h.bitCount = 32;
    h.compression = 0;
    EXPECT_TRUE(BmpRowsReadDirectly(h));
    h.infoSize = 52;
    EXPECT_FALSE(BmpRowsReadDirectly(h));
    h.infoSize = 124;
    EXPECT_TRUE(BmpRowsReadDirectly(h));
    h.compression = 3;
    h.redMask = 0x00FF0000;
    h.greenMask = 0x0000FF00;
    h.blueMask = 0x000000FF;
    h.alphaMask = 0xFF000000;
    EXPECT_TRUE(BmpRowsReadDirectly(h));
    for (const std::uint32_t size : {52u, 56u, 64u}) {
        h.infoSize = size;
        EXPECT_FALSE(BmpRowsReadDirectly(h)) << size;
    }
    h.infoSize = 108;
    EXPECT_TRUE(BmpRowsReadDirectly(h));
    h.alphaMask = 0x000000FF;
    EXPECT_FALSE(BmpRowsReadDirectly(h));
    h.alphaMask = 0;
    h.redMask = 0x000000FF;  // R and B swapped
    h.blueMask = 0x00FF0000;
    EXPECT_FALSE(BmpRowsReadDirectly(h));
    h.redMask = 0x00FF0000;
    h.blueMask = 0x000000FF;
    h.compression = 6;  // BI_ALPHABITFIELDS
    EXPECT_FALSE(BmpRowsReadDirectly(h));
    h.compression = 3;
    h.bitCount = 16;
    EXPECT_FALSE(BmpRowsReadDirectly(h));
}

TEST(BmpPixels, BothPackingKernelsAgreeOnEveryWidth)
{
    std::vector<std::uint8_t> src(4 * 67);
    for (std::size_t i = 0; i < src.size(); ++i)
        src[i] = std::uint8_t(i * 37 + 11);
    for (int width = 0; width <= 67; ++width) {
        std::vector<std::uint8_t> a(std::size_t(3 * width) + 1, 7), b(std::size_t(3 * width) + 1, 7);
        detail::packRow32Portable(src.data(), a.data(), width);
        detail::packRow32Simd(src.data(), b.data(), width);
        ASSERT_EQ(a, b) << "width " << width;
        EXPECT_EQ(a.back(), 7) << "wrote past the row";
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(a[std::size_t(3 * x + c)], src[std::size_t(4 * x + c)]) << x;
    }
}

TEST(BmpCorpus, FilesReadDirectlyHaveQtsReadersPixels)
{
    if (suiteDir("g").isEmpty())
        GTEST_SKIP() << "BMP corpus not found (../shared/testdata/bmpsuite): direct reading not compared with Qt's";
    int direct[2] = {0, 0};
    for (const int sub : {0, 1}) {
        for (const QString& file : bmpFiles(suiteDir(sub == 0 ? "g" : "q"))) {
            SCOPED_TRACE(file.toStdString());
            const TBmpHeader h = ReadBmpHeader(file);
            if (!BmpRowsReadDirectly(h))
                continue;
            ++direct[sub];
            const QImage byQt = readByQt(file);
            ASSERT_FALSE(byQt.isNull()) << "Qt's reader refuses a file we read directly";
            EXPECT_EQ(ReadBmpPixels(file, h), byQt);
        }
    }
    // g: rgb24, rgb24pal, rgb32, rgb32bfdef; q: the 24-bit ones with a large
    // palette or a colour profile, the 32-bit one with stray "alpha" bytes and
    // the V5 one with an alpha mask.
    EXPECT_EQ(direct[0], 4);
    EXPECT_EQ(direct[1], 5);
}
