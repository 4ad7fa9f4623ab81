#include "core/engine/jpeg_codec.h"

#include "core/engine/image_error.h"
#include "recorders.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ormica;

namespace {

QString jpegFile(const char* relative)
{
    return test::corpusPath(QStringLiteral("jpeg/") + QLatin1String(relative));
}

// Qt's own JPEG plugin, a reader independent of our decoding code.
QImage readIndependently(const QString& file)
{
    QImageReader reader(file, "jpeg");
    return reader.read().convertToFormat(QImage::Format_BGR888);
}

int maxDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < 3 * a.width(); ++x)
            worst = std::max(worst, std::abs(int(a.constScanLine(y)[x]) - int(b.constScanLine(y)[x])));
    return worst;
}

bool qtCanReadJpeg()
{
    return QImageReader::supportedImageFormats().contains("jpeg");
}

}  // namespace

TEST(JpegCorpus, OrdinaryAndUnusualFilesDecodeAsTheIndependentReaderSees)
{
    if (test::testDataDir().isEmpty())
        GTEST_SKIP() << "picture corpora not found beside the project (../shared/testdata)";
    const char* files[] = {
        "libjpeg-turbo/testorig.jpg",
        "libjpeg-turbo/testimgp.jpg",
        "libjpeg-turbo/testimgfst100.jpg",
        "libjpeg-turbo/testprog.jpg",
        "libjpeg-turbo/testimgint.jpg",
        "libjpeg-turbo/testimggray.jpg",
        "libjpeg-turbo/testimgcrop.jpg",
        "libjpeg-turbo/testimgari.jpg",
        "go/video-001.q50.411.jpeg",
        "go/video-001.q50.444.jpeg",
        "go/video-001.q50.440.jpeg",
        "go/video-001.q50.410.jpeg",
        "go/video-001.q50.422.progressive.jpeg",
        "go/video-001.restart2.jpeg",
        "go/video-001.separate.dc.progression.progressive.jpeg",
        "go/video-005.gray.q50.2x2.jpeg",
        "go/video-001.rgb.jpeg",
        "go/video-001.221212.jpeg",
        "pillow/hopper_16bit_qtables.jpg",
        "jpeg-decoder/multiple-0xff-before-eoi.jpg",
    };
    for (const char* name : files) {
        SCOPED_TRACE(name);
        test::RecordingProgress progress;
        TJPEGService service(&progress);
        const QImage ours = DecodeJpegFile(jpegFile(name), &service);
        ASSERT_FALSE(ours.isNull());
        EXPECT_EQ(ours.format(), QImage::Format_BGR888);
        EXPECT_EQ(progress.maximum(), 100);
        EXPECT_EQ(progress.position(), 0);
        EXPECT_GT(progress.positions.size(), 2u);
        if (!qtCanReadJpeg())
            continue;
        const QImage theirs = readIndependently(jpegFile(name));
        ASSERT_EQ(ours.size(), theirs.size());
        EXPECT_LE(maxDifference(ours, theirs), 1);
    }
}

TEST(JpegCorpus, FourComponentFilesBecomeColourPictures)
{
    if (test::testDataDir().isEmpty())
        GTEST_SKIP() << "picture corpora not found beside the project (../shared/testdata)";
    for (const char* name : {"go/video-001.cmyk.jpeg", "pillow/pil_sample_cmyk.jpg"}) {
        SCOPED_TRACE(name);
        const QImage ours = DecodeJpegFile(jpegFile(name), nullptr);
        ASSERT_FALSE(ours.isNull());
        if (!qtCanReadJpeg())
            continue;
        const QImage theirs = readIndependently(jpegFile(name));
        ASSERT_EQ(ours.size(), theirs.size());
        // Inverted-CMYK conversions differ by rounding only.
        EXPECT_LE(maxDifference(ours, theirs), 2);
    }
}

TEST(JpegCorpus, TwelveBitAndDamagedFilesAreRefusedWithTheDecodersMessage)
{
    if (test::testDataDir().isEmpty())
        GTEST_SKIP() << "picture corpora not found beside the project (../shared/testdata)";
    const struct {
        const char* name;
        const char* says;
    } refused[] = {
        {"libjpeg-turbo/testorig12.jpg", "precision 12"},
        {"libjpeg-turbo/monkey12.jpg", "precision 12"},
        {"pillow/truncated_jpeg.jpg", "Premature end of JPEG file"},
        {"jpeg-decoder/empty.jpg", "Empty input file"},
        {"jpeg-decoder/missing-sos.jpg", "SOS"},
        {"jpeg-decoder/null_height.jpg", "Empty JPEG image"},
        {"jpeg-decoder/max_size.jpg", "65500"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.name);
        const QString error = test::imageErrorOf([&] { DecodeJpegFile(jpegFile(r.name), nullptr); });
        EXPECT_TRUE(error.contains(QLatin1String(r.says))) << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(r.name).mid(QLatin1String(r.name).indexOf('/') + 1)));
    }
    // Whatever else is damaged: a picture or a refusal, never a crash.
    for (const QString& sub : {QStringLiteral("jpeg-decoder"), QStringLiteral("go"), QStringLiteral("pillow")}) {
        for (const QString& f : QDir(jpegFile(sub.toLatin1().constData())).entryList(QDir::Files)) {
            const QString path = jpegFile(sub.toLatin1().constData()) + QLatin1Char('/') + f;
            try {
                const QImage img = DecodeJpegFile(path, nullptr);
                EXPECT_FALSE(img.isNull()) << f.toStdString();
            } catch (const TImageError& e) {
                EXPECT_FALSE(e.text().isEmpty());
            }
        }
    }
}

TEST(JpegCodec, OversizedHeaderIsRefusedBeforeDecoding)
{
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("small.jpg"));
    EncodeJpegFile(test::patternImage(16, 16), small, 90, false, nullptr);
    QByteArray bytes = test::fileBytes(small);
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    // Height and width of the frame: 60000 x 60000, within libjpeg's limit.
    bytes[sof + 5] = char(0xEA);
    bytes[sof + 6] = char(0x60);
    bytes[sof + 7] = char(0xEA);
    bytes[sof + 8] = char(0x60);
    const QString big = test::fileIn(dir, QStringLiteral("big.jpg"), bytes);
    EXPECT_EQ(test::imageErrorOf([&] { DecodeJpegFile(big, nullptr); }),
              QStringLiteral("Недопустимый размер изображения: 60000 x 60000 пикселей."));
}

TEST(JpegCodec, EncodedFilesReadBackCloseAtQualityHundred)
{
    QTemporaryDir dir;
    // A smooth picture: JPEG keeps it within a few levels.
    QImage picture(97, 61, QImage::Format_BGR888);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixelColor(x, y, QColor(2 * x, 4 * y, (x + y) % 256));
    for (const bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        const QString path = dir.filePath(progressive ? QStringLiteral("p.jpg") : QStringLiteral("b.jpg"));
        test::RecordingProgress progress;
        TJPEGService service(&progress);
        EncodeJpegFile(picture, path, 100, progressive, &service);
        EXPECT_EQ(progress.position(), 0);
        EXPECT_EQ(progress.maximum(), 100);
        const QImage ours = DecodeJpegFile(path, nullptr);
        ASSERT_EQ(ours.size(), picture.size());
        EXPECT_LE(maxDifference(ours, picture), 6);
        if (qtCanReadJpeg()) {
            const QImage theirs = readIndependently(path);
            ASSERT_EQ(theirs.size(), picture.size());
            EXPECT_LE(maxDifference(theirs, picture), 6);
        }
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray head = f.read(4096);
        // Baseline files carry SOF0, progressive ones SOF2.
        EXPECT_EQ(head.contains(QByteArray("\xFF\xC2", 2)), progressive);
    }
}

TEST(JpegCodec, FailedWriteLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("x.jpg"));
    EncodeJpegFile(test::patternImage(4, 4), name, 100, false, nullptr);
    const auto bytesOf = test::fileBytes;
    const QByteArray old = bytesOf(name);
    ASSERT_FALSE(old.isEmpty());

    // The encoder refuses a row longer than the format allows, after it has begun.
    EXPECT_THROW(EncodeJpegFile(test::patternImage(65501, 1), name, 100, false, nullptr), TImageError);
    EXPECT_EQ(bytesOf(name), old);
    EXPECT_THROW(EncodeJpegFile(QImage(), name, 100, false, nullptr), TImageError);
    EXPECT_EQ(bytesOf(name), old);

    // The disk refuses the new file part-way (a file size limit holds even for root).
    QString error;
    ASSERT_TRUE(test::underFileSizeLimit(std::uint64_t(old.size() + 100), [&] {
        error = test::imageErrorOf([&] { EncodeJpegFile(test::patternImage(300, 300, 4), name, 100, false, nullptr); });
    }));
    EXPECT_NE(error, test::kNothingThrown);
    EXPECT_EQ(bytesOf(name), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("x.jpg")});

    EXPECT_THROW(
        EncodeJpegFile(test::patternImage(4, 4), dir.filePath(QStringLiteral("no/dir/x.jpg")), 100, false, nullptr),
        TImageError);
    EXPECT_THROW(DecodeJpegFile(dir.filePath(QStringLiteral("missing.jpg")), nullptr), TImageError);
}
