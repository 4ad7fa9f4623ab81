// The area-average resampler on 6000 x 4000 beside OpenCV's INTER_AREA, at
// 50 %, 37 % and 150 %, and at 10 % and 1 %, where it sums exactly. The
// destination is kept between runs on both sides, or, with "fresh", made
// anew for every run on both sides (a new QImage, a released cv::Mat).
#include "bench_picture.h"

#include "core/scale/area_resample.h"

#include <benchmark/benchmark.h>
#include <cmath>

#ifdef ORMICA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

QSize scaled(int percent)
{
    return QSize(int(std::lround(6000.0 * percent / 100)), int(std::lround(4000.0 * percent / 100)));
}

void BM_AreaResample(benchmark::State& state)
{
    sharedBenchPicture();
    const QSize to = scaled(int(state.range(0)));
    const bool fresh = state.range(1) != 0;
    useThreads(state, 2);
    QImage dst(to, QImage::Format_BGR888);
    for (auto _ : state) {
        if (fresh)
            dst = QImage(to, QImage::Format_BGR888);
        ormica::AreaResample(sharedBenchPicture(), dst);
        benchmark::DoNotOptimize(dst.constBits());
    }
}
BENCHMARK(BM_AreaResample)
    ->ArgNames({"percent", "fresh", "threads"})
    ->ArgsProduct({{50, 37, 150, 10, 1}, {0, 1}, {1, 2}});

#ifdef ORMICA_HAVE_OPENCV
void BM_OpenCvResizeArea(benchmark::State& state)
{
    const cv::Mat src(4000, 6000, CV_8UC3, const_cast<uchar*>(sharedBenchPicture().constBits()));
    const QSize to = scaled(int(state.range(0)));
    const bool fresh = state.range(1) != 0;
    useThreads(state, 2);
    cv::Mat dst;
    for (auto _ : state) {
        if (fresh)
            dst.release();
        cv::resize(src, dst, cv::Size(to.width(), to.height()), 0, 0, cv::INTER_AREA);
        benchmark::DoNotOptimize(dst.data);
    }
}
BENCHMARK(BM_OpenCvResizeArea)
    ->ArgNames({"percent", "fresh", "threads"})
    ->ArgsProduct({{50, 37, 150, 10, 1}, {0, 1}, {1, 2}});
#endif

}  // namespace
