// The convolution of a 6000 x 4000 picture with the wide sharpening kernel,
// a dense 7 x 7 kernel and the narrow sharpening kernel, beside OpenCV's
// filter2D with the same weights divided by the scale; the second argument is
// the threads of both sides (2: both cores for ours, OpenCV's default). The
// definition's own arithmetic runs once per kernel, and the benchmark fails
// unless it gives the same bytes.
#include "bench_picture.h"

#include "core/engine/img_service.h"
#include "core/filter/filter_tab.h"
#include "core/filter/popular_filters.h"

#include <benchmark/benchmark.h>

#ifdef ORMICA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using namespace ormica;

namespace {

constexpr int W = kBenchWidth;
constexpr int H = kBenchHeight;

const TImgTabColor& sharedBenchColors()
{
    static const TImgTabColor colors = [] {
        TImgTabColor c;
        TabBRGtoTabColor(sharedBenchArray(), c);
        return c;
    }();
    return colors;
}

// Every weight non-zero, small and mixed in sign, the centre carrying the sum.
TFilterKernel denseKernel()
{
    TFilterKernel k;
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            k.at(r, c) = ((r * 7 + c) % 5) - 3;
    k.centre() = 160;
    return k;
}

struct Case {
    const char* name;
    TFilterKernel kernel;
    int reach;  // the kernel's reach, for OpenCV's matrix
};

const Case& benchCase(int index)
{
    static const Case cases[] = {{"H1", PopFilterH1, 3}, {"Dense", denseKernel(), 3}, {"H3", PopFilterH3, 1}};
    return cases[index];
}

void BM_FilterTabColor(benchmark::State& state)
{
    const Case& c = benchCase(int(state.range(0)));
    useThreads(state, 1);
    const std::int32_t scale = *KernelSum(c.kernel);
    TImgTabColor target;
    TSilentProgress progress;
    sharedBenchColors();  // made before the clock runs
    for (auto _ : state) {
        FilterTabColor(c.kernel, scale, sharedBenchColors(), target, &progress);
        benchmark::DoNotOptimize(target.row(0));
    }
    state.SetLabel(c.name);
    state.SetItemsProcessed(state.iterations() * W * H);
}
BENCHMARK(BM_FilterTabColor)->ArgsProduct({{0, 1, 2}, {1, 2}})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilterTabColorDefinition(benchmark::State& state)
{
    const Case& c = benchCase(int(state.range(0)));
    const std::int32_t scale = *KernelSum(c.kernel);
    TImgTabColor direct;
    TSilentProgress progress;
    sharedBenchColors();
    for (auto _ : state) {
        detail::FilterTabColorWith(detail::TConvolution::Direct, c.kernel, scale, sharedBenchColors(), direct,
                                   &progress);
        benchmark::DoNotOptimize(direct.row(0));
    }
    TImgTabColor fast;
    FilterTabColor(c.kernel, scale, sharedBenchColors(), fast, &progress);
    if (!fast.sameAs(direct) || direct.height() != H)
        state.SkipWithError("the fast convolution differs from the definition");
    state.SetLabel(std::string(c.name) + (detail::FastConvolutionIsVectorised() ? ", vectorised" : ", portable") +
                   " path identical");
    state.SetItemsProcessed(state.iterations() * W * H);
}
BENCHMARK(BM_FilterTabColorDefinition)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

#ifdef ORMICA_HAVE_OPENCV
void BM_OpenCvFilter2D(benchmark::State& state)
{
    const Case& c = benchCase(int(state.range(0)));
    useThreads(state, 1);
    const double scale = *KernelSum(c.kernel);
    const int side = 2 * c.reach + 1;
    cv::Mat kernel(side, side, CV_32F);
    for (int r = 0; r < side; ++r)
        for (int col = 0; col < side; ++col)
            kernel.at<float>(r, col) = float(c.kernel.at(r + 3 - c.reach, col + 3 - c.reach) / scale);
    const QImage& picture = sharedBenchPicture();
    sharedBenchColors();  // the same picture, made before the clock runs
    const cv::Mat src(H, W, CV_8UC3, const_cast<uchar*>(picture.constBits()), std::size_t(picture.bytesPerLine()));
    cv::Mat dst(H, W, CV_8UC3);
    for (auto _ : state) {
        cv::filter2D(src, dst, -1, kernel);
        benchmark::DoNotOptimize(dst.data);
    }
    state.SetLabel(c.name);
    state.SetItemsProcessed(state.iterations() * W * H);
}
BENCHMARK(BM_OpenCvFilter2D)->ArgsProduct({{0, 1, 2}, {1, 2}})->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace
