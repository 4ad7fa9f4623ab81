// Conversions, grey, BMP and JPEG files on a 6000 x 4000 picture, each beside
// the reference it is measured against (memcpy into a fresh buffer, OpenCV,
// reading the file and copying its bytes once, libjpeg-turbo alone).
// Single-threaded. "Fresh" rows get a new target each time, "Kept" rows one
// kept from the time before, on both sides alike: a fresh 72 MB target costs
// tens of milliseconds of page faults, whoever fills it.
#include "bench_picture.h"

#include "core/engine/bmp_file.h"
#include "core/engine/gray.h"
#include "core/engine/img_service.h"
#include "core/engine/jpeg_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <jpeglib.h>

#ifdef ORMICA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using namespace ormica;

namespace {

constexpr int W = kBenchWidth;
constexpr int H = kBenchHeight;

void BM_MemcpyFresh(benchmark::State& state)
{
    const std::size_t n = std::size_t(3) * W * H;
    for (auto _ : state) {
        std::unique_ptr<uchar[]> buffer(new uchar[n]);
        std::memcpy(buffer.get(), sharedBenchPicture().constBits(), n);
        benchmark::DoNotOptimize(buffer.get());
        benchmark::ClobberMemory();
    }
}

void BM_BitMapToImgTab(benchmark::State& state)
{
    for (auto _ : state) {
        TImgTabBGR arr;
        BitMapToImgTab(sharedBenchPicture(), arr, nullptr);
        benchmark::DoNotOptimize(arr.row(0));
    }
}

void BM_ImgTabToBitMap(benchmark::State& state)
{
    for (auto _ : state) {
        QImage bitmap(1, 1, QImage::Format_BGR888);
        ImgTabToBitMap(bitmap, sharedBenchArray(), nullptr);
        benchmark::DoNotOptimize(bitmap.constBits());
    }
}

void BM_TabBRGtoTabBGR(benchmark::State& state)
{
    for (auto _ : state) {
        TImgTabBGR copy;
        TabBRGtoTabBGR(sharedBenchArray(), copy);
        benchmark::DoNotOptimize(copy.row(0));
    }
}

void BM_TabBRGtoTabColor(benchmark::State& state)
{
    // 6000 pixels a row: within the colour array's 21,845.
    for (auto _ : state) {
        TImgTabColor colour;
        TabBRGtoTabColor(sharedBenchArray(), colour);
        benchmark::DoNotOptimize(colour.row(0));
    }
}

void BM_TabColorToTabBRG(benchmark::State& state)
{
    TImgTabColor colour;
    TabBRGtoTabColor(sharedBenchArray(), colour);
    for (auto _ : state) {
        TImgTabBGR back;
        TabColorToTabBRG(colour, back);
        benchmark::DoNotOptimize(back.row(0));
    }
}

void BM_GrayToNewBitmapFresh(benchmark::State& state)
{
    for (auto _ : state) {
        QImage grey;
        BitMapToGrayBitMap(sharedBenchPicture(), grey);
        benchmark::DoNotOptimize(grey.constBits());
    }
}

void BM_GrayToNewBitmapKept(benchmark::State& state)
{
    useThreads(state);
    QImage grey;
    for (auto _ : state) {
        BitMapToGrayBitMap(sharedBenchPicture(), grey);
        benchmark::DoNotOptimize(grey.constBits());
    }
}

void BM_GrayInPlace(benchmark::State& state)
{
    useThreads(state);
    QImage work = sharedBenchPicture().copy();
    for (auto _ : state) {
        BitMapToGrayBitMap(work, work);
        benchmark::DoNotOptimize(work.constBits());
    }
}

#ifdef ORMICA_HAVE_OPENCV
// Our grey writes the level into all three channels; OpenCV's nearest equal
// work is BGR to one grey plane and that plane back to BGR. The plane is a
// kept scratch on both kinds; the three-channel target is fresh or kept.
void openCvGray3(benchmark::State& state, bool fresh)
{
    useThreads(state);
    const cv::Mat src(H, W, CV_8UC3, const_cast<uchar*>(sharedBenchPicture().constBits()),
                      std::size_t(sharedBenchPicture().bytesPerLine()));
    cv::Mat plane, kept;
    for (auto _ : state) {
        cv::Mat freshTarget;
        cv::Mat& out = fresh ? freshTarget : kept;
        cv::cvtColor(src, plane, cv::COLOR_BGR2GRAY);
        cv::cvtColor(plane, out, cv::COLOR_GRAY2BGR);
        benchmark::DoNotOptimize(out.data);
    }
}
void BM_OpenCvGray3Fresh(benchmark::State& state)
{
    openCvGray3(state, true);
}
void BM_OpenCvGray3Kept(benchmark::State& state)
{
    openCvGray3(state, false);
}
BENCHMARK(BM_OpenCvGray3Fresh)->Arg(1)->Arg(2);
BENCHMARK(BM_OpenCvGray3Kept)->Arg(1)->Arg(2);
#endif

// The bench picture as a BMP file of 24 or 32 bits a pixel (the fourth byte
// a varying "alpha"), written once into the temporary folder.
QString benchBmpFile(int bits)
{
    const QString path = QDir::temp().filePath(QStringLiteral("ormica-bench-%1x%2-%3.bmp").arg(W).arg(H).arg(bits));
    if (QFileInfo::exists(path))
        return path;
    if (bits == 24) {
        WriteBmpFile(sharedBenchPicture(), path);
        return path;
    }
    QByteArray head(54, '\0');
    head[0] = 'B';
    head[1] = 'M';
    qToLittleEndian<quint32>(quint32(54 + 4 * W * H), head.data() + 2);
    qToLittleEndian<quint32>(54, head.data() + 10);
    qToLittleEndian<quint32>(40, head.data() + 14);
    qToLittleEndian<qint32>(W, head.data() + 18);
    qToLittleEndian<qint32>(H, head.data() + 22);
    qToLittleEndian<quint16>(1, head.data() + 26);
    qToLittleEndian<quint16>(32, head.data() + 28);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(head);
    std::vector<uchar> row(std::size_t(4) * W);
    for (int y = H - 1; y >= 0; --y) {
        const uchar* line = sharedBenchPicture().constScanLine(y);
        for (int x = 0; x < W; ++x) {
            std::memcpy(&row[std::size_t(4) * x], line + 3 * x, 3);
            row[std::size_t(4) * x + 3] = uchar(x + y);
        }
        f.write(reinterpret_cast<const char*>(row.data()), qint64(row.size()));
    }
    return path;
}

void bmpReadOurs(benchmark::State& state, int bits)
{
    const QString file = benchBmpFile(bits);
    for (auto _ : state) {
        const QImage picture = ReadBmpPixels(file, ReadBmpHeader(file));
        benchmark::DoNotOptimize(picture.constBits());
    }
}

// The floor for any reader: the file's pixel bytes read in quarter-megabyte
// blocks and each block copied once into a fresh buffer of their size.
void bmpReadAndCopy(benchmark::State& state, int bits)
{
    const QByteArray file = QFile::encodeName(benchBmpFile(bits));
    const std::size_t total = std::size_t(QFileInfo(QString::fromLocal8Bit(file)).size()) - 54;
    std::vector<char> block(std::size_t(1) << 18);
    for (auto _ : state) {
        const int fd = ::open(file.constData(), O_RDONLY);
        std::unique_ptr<char[]> pixels(new char[total]);
        for (std::size_t done = 0; done < total;) {
            const ssize_t n = ::pread(fd, block.data(), std::min(block.size(), total - done), off_t(54 + done));
            if (n <= 0) {
                state.SkipWithError("read failed");
                break;
            }
            std::memcpy(pixels.get() + done, block.data(), std::size_t(n));
            done += std::size_t(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(pixels.get());
        benchmark::ClobberMemory();
    }
}

// Qt's reader and the change to 24 bits: the way every BMP went before.
void bmpReadQt(benchmark::State& state, int bits)
{
    RaiseImageAllocationLimit();
    const QString file = benchBmpFile(bits);
    for (auto _ : state) {
        QImageReader reader(file, "bmp");
        const QImage picture = reader.read().convertToFormat(QImage::Format_BGR888);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BM_Bmp24ReadOursFresh(benchmark::State& state)
{
    bmpReadOurs(state, 24);
}
void BM_Bmp24ReadAndCopyFresh(benchmark::State& state)
{
    bmpReadAndCopy(state, 24);
}
void BM_Bmp24ReadQtFresh(benchmark::State& state)
{
    bmpReadQt(state, 24);
}
void BM_Bmp32ReadOursFresh(benchmark::State& state)
{
    bmpReadOurs(state, 32);
}
void BM_Bmp32ReadAndCopyFresh(benchmark::State& state)
{
    bmpReadAndCopy(state, 32);
}
void BM_Bmp32ReadQtFresh(benchmark::State& state)
{
    bmpReadQt(state, 32);
}

void BM_JpegDecodeOurs(benchmark::State& state)
{
    const QString file = benchJpegFile(W, H);
    for (auto _ : state) {
        const QImage image = DecodeJpegFile(file, nullptr);
        benchmark::DoNotOptimize(image.constBits());
    }
}

// libjpeg-turbo alone: the same file, straight into a BGR buffer.
void BM_JpegDecodeLibjpeg(benchmark::State& state)
{
    const QByteArray file = QFile::encodeName(benchJpegFile(W, H));
    for (auto _ : state) {
        std::FILE* f = std::fopen(file.constData(), "rb");
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, f);
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&cinfo);
        const std::size_t stride = std::size_t(cinfo.output_width) * 3;
        std::unique_ptr<uchar[]> pixels(new uchar[stride * cinfo.output_height]);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW rows[16];
            const int n =
                int(std::min<JDIMENSION>(cinfo.rec_outbuf_height, cinfo.output_height - cinfo.output_scanline));
            for (int i = 0; i < n; ++i)
                rows[i] = pixels.get() + (cinfo.output_scanline + JDIMENSION(i)) * stride;
            jpeg_read_scanlines(&cinfo, rows, JDIMENSION(n));
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        benchmark::DoNotOptimize(pixels.get());
    }
}

void BM_JpegEncodeOurs(benchmark::State& state)
{
    const QString out = QDir::temp().filePath(QStringLiteral("ormica-bench-out.jpg"));
    for (auto _ : state)
        EncodeJpegFile(sharedBenchPicture(), out, 100, false, nullptr);
}

void BM_JpegEncodeLibjpeg(benchmark::State& state)
{
    const QByteArray out = QFile::encodeName(QDir::temp().filePath(QStringLiteral("ormica-bench-ref.jpg")));
    for (auto _ : state) {
        std::FILE* f = std::fopen(out.constData(), "wb");
        jpeg_compress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_compress(&cinfo);
        jpeg_stdio_dest(&cinfo, f);
        cinfo.image_width = W;
        cinfo.image_height = H;
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, 100, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(sharedBenchPicture().constScanLine(int(cinfo.next_scanline)));
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
        jpeg_destroy_compress(&cinfo);
        std::fclose(f);
    }
}

}  // namespace

BENCHMARK(BM_MemcpyFresh);
BENCHMARK(BM_BitMapToImgTab);
BENCHMARK(BM_ImgTabToBitMap);
BENCHMARK(BM_TabBRGtoTabBGR);
BENCHMARK(BM_TabBRGtoTabColor);
BENCHMARK(BM_TabColorToTabBRG);
BENCHMARK(BM_GrayToNewBitmapFresh);
BENCHMARK(BM_GrayToNewBitmapKept)->Arg(1)->Arg(2);
BENCHMARK(BM_GrayInPlace)->Arg(1)->Arg(2);
BENCHMARK(BM_Bmp24ReadOursFresh);
BENCHMARK(BM_Bmp24ReadAndCopyFresh);
BENCHMARK(BM_Bmp24ReadQtFresh);
BENCHMARK(BM_Bmp32ReadOursFresh);
BENCHMARK(BM_Bmp32ReadAndCopyFresh);
BENCHMARK(BM_Bmp32ReadQtFresh);
BENCHMARK(BM_JpegDecodeOurs);
BENCHMARK(BM_JpegDecodeLibjpeg);
BENCHMARK(BM_JpegEncodeOurs);
BENCHMARK(BM_JpegEncodeLibjpeg);

BENCHMARK_MAIN();
