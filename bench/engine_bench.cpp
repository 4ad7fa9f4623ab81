// Conversions, grey and JPEG files on a 6000 x 4000 picture, each beside the
// reference it is measured against (memcpy into a fresh buffer, OpenCV,
// libjpeg-turbo alone). Single-threaded.
#include "bench_picture.h"

#include "engine/gray.h"
#include "engine/img_service.h"
#include "engine/jpeg_codec.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <memory>

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

void BM_GrayToNewBitmap(benchmark::State& state)
{
    for (auto _ : state) {
        QImage grey;
        BitMapToGrayBitMap(sharedBenchPicture(), grey);
        benchmark::DoNotOptimize(grey.constBits());
    }
}

void BM_GrayInPlace(benchmark::State& state)
{
    QImage work = sharedBenchPicture().copy();
    for (auto _ : state) {
        BitMapToGrayBitMap(work, work);
        benchmark::DoNotOptimize(work.constBits());
    }
}

#ifdef ORMICA_HAVE_OPENCV
void BM_OpenCvBgrToGray(benchmark::State& state)
{
    cv::setNumThreads(1);
    const cv::Mat src(H, W, CV_8UC3, const_cast<uchar*>(sharedBenchPicture().constBits()),
                      std::size_t(sharedBenchPicture().bytesPerLine()));
    for (auto _ : state) {
        cv::Mat grey;
        cv::cvtColor(src, grey, cv::COLOR_BGR2GRAY);
        benchmark::DoNotOptimize(grey.data);
    }
}
BENCHMARK(BM_OpenCvBgrToGray);
#endif

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
BENCHMARK(BM_GrayToNewBitmap);
BENCHMARK(BM_GrayInPlace);
BENCHMARK(BM_JpegDecodeOurs);
BENCHMARK(BM_JpegDecodeLibjpeg);
BENCHMARK(BM_JpegEncodeOurs);
BENCHMARK(BM_JpegEncodeLibjpeg);

BENCHMARK_MAIN();
