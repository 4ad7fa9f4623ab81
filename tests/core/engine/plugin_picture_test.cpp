#include "core/engine/plugin_picture.h"

#include "core/engine/image_error.h"
#include "core/engine/load_save_image.h"
#include "load_save_fixture.h"
#include "recorders.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <png.h>
#include <vector>

using namespace ormica;

namespace {

using PluginFiles = test::LoadSaveFixture;

const TPluginFormat& formatNamed(const char* name)
{
    for (const TPluginFormat& f : PluginFormats())
        if (qstrcmp(f.name, name) == 0)
            return f;
    ADD_FAILURE() << name << " has no plugin here; install qt6-image-formats-plugins";
    static const TPluginFormat none{"none", "none", skOperation, {QStringLiteral("none")}};
    return none;
}

std::uint32_t crc32(const char* data, int size)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (int i = 0; i < size; ++i) {
        c ^= std::uint8_t(data[i]);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

// A 3 x 2 GIF that Qt reads.
QByteArray smallGif()
{
    return QByteArray("GIF89a\x03\x00\x02\x00\x00\x00\x00,\x00\x00\x00\x00\x03\x00\x02\x00\x00\x02\x02\x4c\x01\x00;",
                      29);
}

}  // namespace

TEST(PluginFormatTable, DialogsKeepJpegAndBmpFirstThenPngTiffWebp)
{
    ASSERT_EQ(PluginFormats().size(), 3u) << "qt6-image-formats-plugins gives TIFF and WebP";
    const QStringList& filters = TLoadSaveImage::Filters();
    ASSERT_EQ(filters.size(), 6);
    EXPECT_TRUE(filters[0].startsWith(QLatin1String("JPEG (")));
    EXPECT_TRUE(filters[1].startsWith(QLatin1String("BMP (")));
    EXPECT_EQ(filters[2], QStringLiteral("PNG (*.png *.PNG *.Png)"));
    EXPECT_EQ(filters[3], QStringLiteral("TIFF (*.tif *.tiff *.TIF *.TIFF *.Tif *.Tiff)"));
    EXPECT_EQ(filters[4], QStringLiteral("WebP (*.webp *.WEBP *.Webp)"));
    EXPECT_EQ(filters[5],
              QStringLiteral("Все изображения (*.jpg *.jpeg *.JPG *.JPEG *.Jpg *.Jpeg *.bmp *.BMP *.Bmp "
                             "*.png *.PNG *.Png *.tif *.tiff *.TIF *.TIFF *.Tif *.Tiff *.webp *.WEBP *.Webp)"));
    EXPECT_EQ(TLoadSaveImage::AllPicturesFilterIndex(), 6);

    // An empty name for a filter that is none.
    const std::tuple<const char*, int, const char*> names[] = {{"/d/a", 3, "/d/a.png"},
                                                               {"/d/a.PNG", 3, "/d/a.PNG"},
                                                               {"/d/a.jpg", 3, "/d/a.jpg"},
                                                               {"/d/a.gif", 3, "/d/a.gif.png"},
                                                               {"/d/a.Tiff", 4, "/d/a.Tiff"},
                                                               {"/d.x/a", 4, "/d.x/a.tif"},
                                                               {"/d/a.webp", 5, "/d/a.webp"},
                                                               {"/d/a", 6, "/d/a.png"},
                                                               {"/d/a.Jpeg", 6, "/d/a.Jpeg"},
                                                               {"/d/a.gif", 6, "/d/a.gif.png"},
                                                               {"/d/a", 7, ""},
                                                               {"/d/a", 0, ""}};
    for (const auto& [name, filter, want] : names)
        EXPECT_EQ(TLoadSaveImage::SaveFileName(QString::fromLatin1(name), filter), QString::fromLatin1(want))
            << name << " " << filter;

    EXPECT_EQ(PluginFormatOfName(QStringLiteral("/d/x.TIF")), &formatNamed("TIFF"));
    EXPECT_EQ(PluginFormatOfName(QStringLiteral("/d.png/x")), nullptr);
    EXPECT_EQ(PluginFormatOfName(QStringLiteral("/d/x.jpg")), nullptr);
}

TEST_F(PluginFiles, EachKindSavedAndLoadedBackThroughTheDialogs)
{
    const QImage picture = test::patternImage(53, 31, 3);
    struct Case {
        int filter;
        const char* chosen;
        const char* written;
        TSourceKind kind;
        const char* name;
    };
    for (const Case& c : {Case{3, "p", "p.png", skPngFile, "PNG"}, Case{4, "t.TIFF", "t.TIFF", skTiffFile, "TIFF"},
                          Case{5, "w", "w.webp", skWebpFile, "WebP"}}) {
        SCOPED_TRACE(c.name);
        image.setPicture(picture);
        choose(path(c.chosen), c.filter);
        ASSERT_TRUE(service.SaveImage(image));
        ASSERT_TRUE(QFileInfo::exists(path(c.written)));
        EXPECT_EQ(panel.text(), QStringLiteral(" Сохранение изображения %1 успешно завершено").arg(c.name));
        EXPECT_EQ(image.imageDesc()->SourceKind, c.kind);
        EXPECT_EQ(image.imageDesc()->FileName, path(c.written));

        image.setPicture(test::patternImage(5, 5, 1));
        choose(path(c.written), c.filter);
        ASSERT_TRUE(service.LoadImage(image));
        EXPECT_EQ(image.picture(), picture);
        EXPECT_EQ(panel.text(), QStringLiteral(" Загрузка изображения %1 успешно завершена").arg(c.name));
        EXPECT_EQ(image.imageDesc()->SourceKind, c.kind);
        EXPECT_EQ(image.imageDesc()->PixelFormat, pf24bit);

        // A file named on the command line or dropped loads by its extension.
        image.setPicture(test::patternImage(5, 5, 1));
        ASSERT_TRUE(service.LoadFile(path(c.written), image));
        EXPECT_EQ(image.picture(), picture);
        EXPECT_EQ(image.imageDesc()->SourceKind, c.kind);
    }
    // The next dialog comes with the filter last chosen.
    EXPECT_FALSE(service.LoadImage(image));
    EXPECT_EQ(dialogs.askedIndexes.back(), 5);
}

TEST_F(PluginFiles, UnderTheFurtherFiltersTheNamesOwnKindDecides)
{
    QImage smooth(200, 100, QImage::Format_BGR888);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            smooth.setPixel(x, y, qRgb(x / 20 * 25, y / 10 * 25, 90));  // flat blocks
    image.setPicture(smooth);
    for (const auto& [chosen, kind] : {std::pair{"a.tif", "tiff"}, std::pair{"b.BMP", "bmp"},
                                       std::pair{"c.jpg", "jpeg"}, std::pair{"d.webp", "webp"}}) {
        choose(path(chosen), 3);  // the PNG filter
        ASSERT_TRUE(service.SaveImage(image)) << chosen;
        EXPECT_EQ(QImageReader::imageFormat(path(chosen)), QByteArray(kind)) << chosen;
    }
    for (const char* chosen : {"a.tif", "b.BMP", "c.jpg", "d.webp"}) {
        image.setPicture(test::patternImage(3, 3));
        choose(path(chosen), 3);
        ASSERT_TRUE(service.LoadImage(image)) << chosen;
        EXPECT_EQ(image.picture().size(), QSize(200, 100)) << chosen;
    }
    EXPECT_EQ(image.imageDesc()->SourceKind, skWebpFile);

    // Under "all pictures" too; a name without a kind we know is a bitmap by its contents.
    const int all = TLoadSaveImage::AllPicturesFilterIndex();
    image.setPicture(smooth);
    choose(path("plain"), all);
    ASSERT_TRUE(service.SaveImage(image));
    EXPECT_EQ(QImageReader::imageFormat(path("plain.png")), QByteArray("png"));
    ASSERT_TRUE(QFile::copy(path("b.BMP"), path("bitmap.dat")));
    for (const char* chosen : {"a.tif", "plain.png", "bitmap.dat"}) {
        image.setPicture(test::patternImage(3, 3));
        choose(path(chosen), all);
        ASSERT_TRUE(service.LoadImage(image)) << chosen;
        EXPECT_EQ(image.picture().size(), QSize(200, 100)) << chosen;
    }
    EXPECT_EQ(image.imageDesc()->SourceKind, skBmpFile);

    // PNG and TIFF are compressed, losslessly.
    for (const char* name : {"e.png", "f.tif"}) {
        choose(path(name), 3);
        image.setPicture(smooth);
        ASSERT_TRUE(service.SaveImage(image));
        EXPECT_LT(QFileInfo(path(name)).size(), smooth.sizeInBytes() / 4) << name;
        ASSERT_TRUE(service.LoadFile(path(name), image));
        EXPECT_EQ(image.picture(), smooth) << name;
    }
}

TEST_F(PluginFiles, AlphaIsDroppedWithTheColoursKeptAndOtherDepthsConverted)
{
    QImage argb(4, 2, QImage::Format_ARGB32);
    argb.fill(qRgba(200, 100, 50, 0));  // fully transparent, colour still stored
    argb.setPixel(1, 1, qRgba(10, 220, 30, 128));
    ASSERT_TRUE(argb.save(path("alpha.png"), "PNG"));
    ASSERT_TRUE(service.LoadFile(path("alpha.png"), image));
    EXPECT_EQ(image.picture().format(), QImage::Format_BGR888);
    EXPECT_EQ(image.picture().pixel(0, 0), qRgb(200, 100, 50));
    EXPECT_EQ(image.picture().pixel(1, 1), qRgb(10, 220, 30));
    EXPECT_EQ(image.imageDesc()->PixelFormat, pf32bit);

    QImage grey(6, 3, QImage::Format_Grayscale8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            grey.scanLine(y)[x] = uchar(40 * x + y);
    ASSERT_TRUE(grey.save(path("grey.tif"), "TIFF"));
    ASSERT_TRUE(service.LoadFile(path("grey.tif"), image));
    EXPECT_EQ(image.imageDesc()->PixelFormat, pf8bit);
    EXPECT_EQ(image.picture().pixel(5, 2), qRgb(202, 202, 202));

    // Sixteen bits a channel: accepted, narrowed to eight.
    QImage deep(3, 2, QImage::Format_RGBX64);
    deep.fill(QColor::fromRgba64(qRgba64(0xFFFF, 0x8080, 0x0000, 0xFFFF)));
    ASSERT_TRUE(deep.save(path("deep.png"), "PNG"));
    ASSERT_TRUE(service.LoadFile(path("deep.png"), image));
    EXPECT_EQ(image.picture().pixel(2, 1), qRgb(255, 128, 0));
    EXPECT_EQ(image.imageDesc()->PixelFormat, pfCustom);
}

namespace {

// Every value of every channel, in a different order for each.
unsigned deepSample(int x, int y, int channel)
{
    return (unsigned(y * 256 + x) * (2 * unsigned(channel) + 1) + 4099u * unsigned(channel)) & 0xFFFF;
}

// A 256 x 256 PNG of sixteen bits a channel in which every channel takes
// every value, written by libpng itself: Qt writes neither grey with alpha
// nor interlaced files.
bool writeDeepPng(const QString& name, int colourType, bool interlaced, bool withTransparentColour)
{
    std::FILE* f = std::fopen(QFile::encodeName(name).constData(), "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, 256, 256, 16, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (withTransparentColour) {
        png_color_16 colour{0, 1000, 2000, 3000, 4000};
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    std::vector<png_byte> row(std::size_t(256 * channels * 2));
    for (png_uint_32 pass = 0, passes = png_set_interlace_handling(png); pass < passes; ++pass)
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x)
                for (int c = 0; c < channels; ++c) {
                    const unsigned v = deepSample(x, y, c);
                    row[std::size_t((x * channels + c) * 2)] = png_byte(v >> 8);
                    row[std::size_t((x * channels + c) * 2 + 1)] = png_byte(v);
                }
            png_write_row(png, row.data());
        }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

}  // namespace

TEST_F(PluginFiles, SixteenBitPngsAreRoundedToEightBitsRowByRow)
{
    const TPluginFormat& png = formatNamed("PNG");
    struct Case {
        int colourType;
        bool interlaced, transparentColour;
    };
    for (const Case& c : {Case{PNG_COLOR_TYPE_GRAY, false, false}, Case{PNG_COLOR_TYPE_RGB, false, false},
                          Case{PNG_COLOR_TYPE_GRAY_ALPHA, false, false}, Case{PNG_COLOR_TYPE_RGB_ALPHA, false, false},
                          Case{PNG_COLOR_TYPE_RGB, true, false}, Case{PNG_COLOR_TYPE_RGB, false, true},
                          Case{PNG_COLOR_TYPE_GRAY, true, true}}) {
        SCOPED_TRACE(testing::Message() << "colour type " << c.colourType << ", interlaced " << c.interlaced
                                        << ", transparent colour " << c.transparentColour);
        const QString file = path("deep.png");
        ASSERT_TRUE(writeDeepPng(file, c.colourType, c.interlaced, c.transparentColour));
        // Each channel rounded to v / 257; grey in all three; alpha dropped.
        QImage expected(256, 256, QImage::Format_BGR888);
        const bool colour = c.colourType & PNG_COLOR_MASK_COLOR;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                int rgb[3];
                for (int ch = 0; ch < 3; ++ch) {
                    const unsigned v = deepSample(x, y, colour ? ch : 0);
                    rgb[ch] = int((2 * v + 257) / 514);
                }
                expected.setPixel(x, y, qRgb(rgb[0], rgb[1], rgb[2]));
            }
        const TPluginPicture read = ReadPluginPicture(file, png);
        EXPECT_EQ(read.picture, expected);
        EXPECT_EQ(read.pixelFormat, pfCustom);

        const QByteArray bytes = test::fileBytes(file);
        ASSERT_TRUE(test::writeFile(file, bytes.left(bytes.size() - 300)));
        EXPECT_THROW(ReadPluginPicture(file, png), TImageError);
    }
}

TEST_F(PluginFiles, DamagedFilesAreRefusedNamingTheKindAndKeepThePicture)
{
    const QImage kept = test::patternImage(9, 7, 2);
    for (const TPluginFormat& format : PluginFormats()) {
        SCOPED_TRACE(format.name);
        const QString good = dir.filePath(QStringLiteral("good.") + format.extensions.first());
        WritePluginPicture(test::patternImage(64, 48, 4), good, format, 100);
        const QByteArray bytes = test::fileBytes(good);
        ASSERT_FALSE(bytes.isEmpty());

        QByteArray garbled = bytes;
        for (qsizetype i = 40; i < garbled.size(); i += 13)
            garbled[i] = char(garbled[i] ^ 0x5A);
        const QByteArray foreign = test::fileBytes(dir.filePath(QStringLiteral("good.png")));
        for (const QByteArray& damaged : {bytes.left(bytes.size() / 2), bytes.left(12), garbled, QByteArray()}) {
            const QString file = dir.filePath(QStringLiteral("bad.") + format.extensions.first());
            ASSERT_TRUE(test::writeFile(file, damaged));
            image.setPicture(kept);
            service.SetImageDesc(image, QStringLiteral("kept"), skOperation, pf24bit);
            panel.setText(QStringLiteral("before"));
            const QString error = test::imageErrorOf([&] { service.LoadFile(file, image); });
            EXPECT_TRUE(error.contains(QLatin1String(format.name))) << damaged.size() << ": " << error.toStdString();
            EXPECT_TRUE(error.contains(file)) << error.toStdString();
            EXPECT_EQ(image.picture(), kept);
            EXPECT_EQ(image.imageDesc()->FileName, QStringLiteral("kept"));
            EXPECT_EQ(panel.text(), QStringLiteral("before"));
        }
        // The contents must be of the kind the name promises, even of a
        // kind Qt would recognise by its contents.
        const QString misnamed = dir.filePath(QStringLiteral("other-inside.") + format.extensions.first());
        for (const QByteArray& other : {qstrcmp(format.name, "PNG") != 0 ? foreign : QByteArray(), smallGif()}) {
            if (other.isEmpty())
                continue;
            ASSERT_TRUE(test::writeFile(misnamed, other));
            EXPECT_THROW(service.LoadFile(misnamed, image), TImageError) << other.left(6).constData();
            EXPECT_EQ(image.picture(), kept);
        }
    }
    EXPECT_THROW(service.LoadFile(path("missing.png"), image), TImageError);
}

TEST_F(PluginFiles, AnAbsurdDeclaredSizeIsRefusedBeforeDecoding)
{
    ASSERT_TRUE(test::patternImage(2, 2).save(path("small.png"), "PNG"));
    QByteArray bytes = test::fileBytes(path("small.png"));
    // IHDR's width and height follow the 8-byte signature and the chunk's length and type.
    qToBigEndian<quint32>(60000, bytes.data() + 16);
    qToBigEndian<quint32>(60000, bytes.data() + 20);
    qToBigEndian<quint32>(crc32(bytes.constData() + 12, 17), bytes.data() + 29);
    ASSERT_TRUE(test::writeFile(path("huge.png"), bytes));
    EXPECT_EQ(test::imageErrorOf([&] { service.LoadFile(path("huge.png"), image); }),
              PictureTooLargeText(60000, 60000));
}

TEST_F(PluginFiles, PngAndWebpWrittenFromTheRowsAreTheBytesQtWrites)
{
    // Our writers take the rows as they are; Qt's writer, a converted copy.
    QImage picture = test::patternImage(97, 61, 7);
    picture.setDotsPerMeterX(3937);
    picture.setDotsPerMeterY(2835);
    for (const auto& [name, quality] : {std::pair{"PNG", 100}, std::pair{"WebP", 100}, std::pair{"WebP", 80}}) {
        SCOPED_TRACE(testing::Message() << name << " " << quality);
        const TPluginFormat& format = formatNamed(name);
        const QString file = dir.filePath(QStringLiteral("out.") + format.extensions.first());
        WritePluginPicture(picture, file, format, quality);
        QByteArray expected;
        QBuffer buffer(&expected);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        QImageWriter writer(&buffer, format.qtFormat);
        writer.setQuality(qstrcmp(name, "PNG") == 0 ? -1 : quality);
        ASSERT_TRUE(writer.write(picture));
        EXPECT_EQ(test::fileBytes(file), expected);
    }
}

TEST_F(PluginFiles, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
    const TPluginFormat& webp = formatNamed("WebP");
    const QString file = path("old.webp");
    WritePluginPicture(test::patternImage(8, 8), file, webp, 100);
    const QByteArray before = test::fileBytes(file);
    // WebP cannot hold a side beyond 16383 pixels.
    image.setPicture(test::patternImage(16400, 1));
    const QString error = test::imageErrorOf([&] { service.SavePlugin(file, webp, image); });
    EXPECT_TRUE(error.startsWith(QStringLiteral("Не могу записать WebP-файл \"%1\"").arg(file))) << error.toStdString();
    EXPECT_EQ(test::fileBytes(file), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.webp")});

    EXPECT_THROW(service.SavePlugin(path("no/such/dir/a.png"), formatNamed("PNG"), image), TImageError);
}
