// The four histograms with their statistics on a 6000 x 4000 picture, beside
// OpenCV's histograms of the three channels. Single-threaded.
#include "bench_picture.h"

#include "core/engine/img_service.h"
#include "core/histogram/histogram.h"

#include <benchmark/benchmark.h>

#ifdef ORMICA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using namespace ormica;

namespace {

constexpr int W = kBenchWidth;
constexpr int H = kBenchHeight;

void BM_CalculateAllGistogram(benchmark::State& state)
{
    useThreads(state);
    TGistogramData data;
    TSilentProgress progress;
    for (auto _ : state) {
        CalculateAllGistogram(&sharedBenchArray(), &progress, &data);
        benchmark::DoNotOptimize(data.StdL);
    }
    state.SetItemsProcessed(state.iterations() * W * H);
}

#ifdef ORMICA_HAVE_OPENCV
// The three channels' histograms, and with `grey` a fourth of a grey plane as ours.
void openCvHistograms(benchmark::State& state, bool grey)
{
    useThreads(state);
    const cv::Mat image(H, W, CV_8UC3, const_cast<uchar*>(sharedBenchPicture().constBits()),
                        std::size_t(sharedBenchPicture().bytesPerLine()));
    const int size = 256;
    const float range[] = {0, 256};
    const float* ranges[] = {range};
    cv::Mat hist[4], plane;
    const int zero = 0;
    for (auto _ : state) {
        for (int c = 0; c < 3; ++c)
            cv::calcHist(&image, 1, &c, cv::Mat(), hist[c], 1, &size, ranges);
        if (grey) {
            cv::cvtColor(image, plane, cv::COLOR_BGR2GRAY);
            cv::calcHist(&plane, 1, &zero, cv::Mat(), hist[3], 1, &size, ranges);
        }
        benchmark::DoNotOptimize(hist[2].data);
    }
    state.SetItemsProcessed(state.iterations() * W * H);
}
void BM_OpenCvCalcHistBgr(benchmark::State& state)
{
    openCvHistograms(state, false);
}
BENCHMARK(BM_OpenCvCalcHistBgr)->Arg(1)->Arg(2);
void BM_OpenCvCalcHistBgrAndGrey(benchmark::State& state)
{
    openCvHistograms(state, true);
}
BENCHMARK(BM_OpenCvCalcHistBgrAndGrey)->Arg(1)->Arg(2);
#endif

}  // namespace

BENCHMARK(BM_CalculateAllGistogram)->Arg(1)->Arg(2);
