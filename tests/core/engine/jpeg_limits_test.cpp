// Files made to cost the decoder minutes or gigabytes are refused quickly.
#include "core/engine/image_error.h"
#include "core/engine/jpeg_codec.h"
#include "recorders.h"

#include <QFile>
#include <QTemporaryDir>
#include <csetjmp>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

#include <jpeglib.h>

using namespace ormica;

namespace {

struct JumpingError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOut(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JumpingError*>(cinfo->err)->jump, 1);
}

// A progressive grey file of `scans` scans: DC whole, then one AC coefficient
// after another, each sent bit plane by bit plane from plane 10 down.
std::vector<jpeg_scan_info> manyScans(int scans)
{
    std::vector<jpeg_scan_info> script;
    script.push_back({1, {0, 0, 0, 0}, 0, 0, 0, 0});
    for (int k = 1; k <= 63 && int(script.size()) < scans; ++k)
        for (int al = 10; al >= 0 && int(script.size()) < scans; --al)
            script.push_back({1, {0, 0, 0, 0}, k, k, al == 10 ? 0 : al + 1, al});
    return script;
}

// Encodes with libjpeg directly, so that a test can choose what our own
// encoder never writes: a scan script, or full-resolution colour planes.
bool writeJpeg(const QString& fileName, const QImage& picture, const std::vector<jpeg_scan_info>* script,
               bool fullChroma)
{
    jpeg_compress_struct cinfo{};
    JumpingError err{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = jumpOut;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    const bool grey = script != nullptr;
    cinfo.image_width = JDIMENSION(picture.width());
    cinfo.image_height = JDIMENSION(picture.height());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    if (grey) {
        cinfo.scan_info = script->data();
        cinfo.num_scans = int(script->size());
    } else {
        jpeg_simple_progression(&cinfo);
    }
    if (fullChroma)
        cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> greyRow(std::size_t(picture.width()));
    while (cinfo.next_scanline < cinfo.image_height) {
        const uchar* line = picture.constScanLine(int(cinfo.next_scanline));
        JSAMPROW row = const_cast<JSAMPROW>(line);
        if (grey) {
            for (int x = 0; x < picture.width(); ++x)
                greyRow[std::size_t(x)] = line[3 * x + 1];
            row = greyRow.data();
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QFile out(fileName);
    const bool ok = out.open(QIODevice::WriteOnly) &&
                    out.write(reinterpret_cast<const char*>(buffer), qint64(size)) == qint64(size);
    std::free(buffer);
    return ok;
}

// Rewrites the frame's height and width in place.
bool patchFrameSize(const QString& fileName, int width, int height)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = f.readAll();
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC2", 2));
    if (sof < 0)
        return false;
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width);
    f.seek(0);
    return f.write(bytes) == bytes.size();
}

enum class Bomb { EobRuns, Refinements, Arithmetic, ArithmeticBaseline };

// A JPEG written by hand: its segments, and entropy-coded bits with their
// stuffing.
struct HandJpeg {
    QByteArray f{"\xFF\xD8", 2};
    int acc = 0, n = 0;
    void bytes(std::initializer_list<int> values)
    {
        for (const int v : values)
            f += char(v);
    }
    void segment(int marker, int length) { bytes({0xFF, marker, length >> 8, length}); }
    void scan(int first, int count, int ss, int se, int ah, int al)
    {
        segment(0xDA, 6 + 2 * count);
        bytes({count});
        for (int c = first; c < first + count; ++c)
            bytes({c + 1, 0});
        bytes({ss, se, ah << 4 | al});
    }
    void bit(int b)
    {
        acc = acc << 1 | b;
        if (++n == 8) {
            f += char(acc);
            if (acc == 0xFF)
                f += char(0);
            acc = n = 0;
        }
    }
    void pad()
    {
        while (n)
            bit(1);
    }
};

// The tables and the frame of a bomb.
void bombHeader(HandJpeg& j, Bomb kind, int width, int height, int components)
{
    const bool arithmetic = kind == Bomb::Arithmetic || kind == Bomb::ArithmeticBaseline;
    j.segment(0xDB, 67);
    j.f += char(0);
    j.f += QByteArray(64, 1);
    j.segment(kind == Bomb::ArithmeticBaseline ? 0xC9 : arithmetic ? 0xCA : 0xC2, 8 + 3 * components);
    j.bytes({8, height >> 8, height, width >> 8, width, components});
    for (int c = 0; c < components; ++c)
        j.bytes({c + 1, 0x11, 0});
    if (arithmetic)
        return;
    // One one-bit code in each table: DC difference 0, and a run of
    // 2^14 + (14 more bits) end-of-band blocks.
    for (const char table : {'\x00', '\x10'}) {
        j.segment(0xC4, 20);
        j.f += table;
        j.f += char(1);
        j.f += QByteArray(15, 0);
        j.f += table ? char(0xE0) : char(0);
    }
}

// A file whose scans cost the decoder a pass over every block for a few
// bytes: a DC scan of one-bit codes, then AC scans of band 1..63, each one
// end-of-band run after another (refining ones from bit 13 down also pass
// over the band in every block). Arithmetic coding may end a scan's data at
// once, the rest decoding from zeros; its baseline file is one such scan.
QByteArray scanBomb(Bomb kind, int width, int height, int components, int acScans)
{
    HandJpeg j;
    bombHeader(j, kind, width, height, components);
    const bool arithmetic = kind == Bomb::Arithmetic || kind == Bomb::ArithmeticBaseline;
    const qint64 blocks = qint64((width + 7) / 8) * ((height + 7) / 8);
    if (kind == Bomb::ArithmeticBaseline) {
        j.scan(0, components, 0, 63, 0, 0);
    } else {
        j.scan(0, components, 0, 0, 0, 0);
        for (qint64 i = 0; !arithmetic && i < blocks * components; ++i)
            j.bit(0);
        j.pad();
        for (int i = 0, al = 0; i < acScans; ++i) {
            const int c = i % components;
            const int ah = kind == Bomb::Refinements ? al : 0;
            const int next = kind != Bomb::Refinements ? 0 : al > 0 ? al - 1 : 13;
            j.scan(c, 1, 1, 63, ah, next);
            for (qint64 done = 0; !arithmetic && done < blocks; done += 32767)
                for (int b = 0; b < 15; ++b)
                    j.bit(b > 0);
            j.pad();
            if (c == components - 1)
                al = next;
        }
    }
    j.f += "\xFF\xD9";
    return j.f;
}

QString refusal(const QString& fileName)
{
    return test::imageErrorOf([&] { DecodeJpegFile(fileName, nullptr); });
}

}  // namespace

TEST(JpegLimits, ScansUpToTheLimitDecodeAndOneMoreIsRefused)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(40, 24, 3);
    for (const int scans : {kMaxJpegScans, kMaxJpegScans + 1, 1 + 63 * 11}) {
        SCOPED_TRACE(scans);
        const QString file = dir.filePath(QStringLiteral("s%1.jpg").arg(scans));
        const auto script = manyScans(scans);
        ASSERT_EQ(int(script.size()), scans);
        ASSERT_TRUE(writeJpeg(file, picture, &script, false));
        if (scans <= kMaxJpegScans) {
            EXPECT_EQ(DecodeJpegFile(file, nullptr).size(), picture.size());
        } else {
            EXPECT_EQ(refusal(file), QStringLiteral("Не могу прочитать JPEG-файл \"%1\".\r\nВ файле больше 256 "
                                                    "сканов: такой файл декодировался бы слишком долго.")
                                         .arg(file));
        }
    }
}

TEST(JpegLimits, CoefficientsBeyondThePictureSizeAndTheMarginAreRefusedBeforeAllocating)
{
    QTemporaryDir dir;
    const QImage picture = test::patternImage(32, 32, 5);
    // Full-resolution colour keeps two bytes a pixel per plane: twice the
    // picture. Subsampled colour keeps half the picture and may decode.
    const QString full = dir.filePath(QStringLiteral("full.jpg"));
    ASSERT_TRUE(writeJpeg(full, picture, nullptr, true));
    EXPECT_EQ(DecodeJpegFile(full, nullptr).size(), picture.size());
    ASSERT_TRUE(patchFrameSize(full, 65500, 5461));
    EXPECT_EQ(refusal(full), QStringLiteral("Не могу прочитать JPEG-файл \"%1\".\r\nДекодеру нужно больше памяти, "
                                            "чем допустимо для изображения 65500 x 5461 пикселей.")
                                 .arg(full));

    // Just over the margin: 3 planes x 2 bytes x w x h > 3 x w x h + margin.
    const int side = 9600;  // 92 million pixels: 553 MB of coefficients against 532 MB
    ASSERT_GT(6 * qint64(side) * side, 3 * qint64(side) * side + kJpegDecoderMargin);
    const QString edge = dir.filePath(QStringLiteral("edge.jpg"));
    ASSERT_TRUE(writeJpeg(edge, picture, nullptr, true));
    ASSERT_TRUE(patchFrameSize(edge, side, side));
    EXPECT_TRUE(refusal(edge).contains(QStringLiteral("Декодеру нужно больше памяти")));
}

TEST(JpegLimits, ScansAreRefusedOnceTheirWorkOutgrowsWhatTheFileHolds)
{
    // Each bomb keeps within the scan limit and would decode to a flat
    // picture: the first three through many scans, the last through its output
    // pass alone. Real pictures of the same sizes, and one with as many scans
    // as a bomb but data in each, decode.
    struct Case {
        const char* name;
        Bomb kind;
        int width, height, components, acScans;
    };
    const Case bombs[] = {
        {"end-of-band runs", Bomb::EobRuns, 1024, 1024, 1, kMaxJpegScans - 1},
        {"refinements", Bomb::Refinements, 1024, 1024, 1, kMaxJpegScans - 1},
        {"arithmetic", Bomb::Arithmetic, 1024, 1024, 1, kMaxJpegScans - 1},
        {"arithmetic CMYK baseline", Bomb::ArithmeticBaseline, 16384, 16384, 4, 0},
    };
    QTemporaryDir dir;
    for (const Case& c : bombs) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QStringLiteral("bomb.jpg"));
        ASSERT_TRUE(test::writeFile(file, scanBomb(c.kind, c.width, c.height, c.components, c.acScans)));
        EXPECT_EQ(refusal(file),
                  QStringLiteral("Не могу прочитать JPEG-файл \"%1\".\r\nВ файле слишком мало данных для "
                                 "изображения %2 x %3 пикселей и его сканов: такой файл "
                                 "декодировался бы слишком долго.")
                      .arg(file)
                      .arg(c.width)
                      .arg(c.height));
    }

    QImage flat(2048, 2048, QImage::Format_BGR888);
    flat.fill(QColor(90, 140, 200));
    const QImage noisy = test::patternImage(1024, 1024, 7);
    const QImage small = noisy.copy(0, 0, 512, 512);
    const auto script = manyScans(kMaxJpegScans);
    const QString many = dir.filePath(QStringLiteral("many.jpg"));
    ASSERT_TRUE(writeJpeg(many, small, &script, false));
    EXPECT_EQ(DecodeJpegFile(many, nullptr).size(), small.size());
    for (const QImage& picture : {flat, noisy}) {
        SCOPED_TRACE(picture.width());
        const QString file = dir.filePath(QStringLiteral("real.jpg"));
        EncodeJpegFile(picture, file, 85, true, nullptr);
        EXPECT_EQ(DecodeJpegFile(file, nullptr).size(), picture.size());
    }
}
