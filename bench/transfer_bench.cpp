// A brightness transfer function of 32 points applied to a 6000 x 4000
// picture, beside OpenCV's per-channel table lookup; one thread and both cores.
#include "bench_picture.h"

#include "core/transfer/transfer_function.h"

#include <benchmark/benchmark.h>

#ifdef ORMICA_HAVE_OPENCV
#include <opencv2/core.hpp>
#endif

using namespace ormica;

namespace {

constexpr int W = kBenchWidth;
constexpr int H = kBenchHeight;

const TBrightPointArray& curve()
{
    static const TBrightPointArray points = *GenerateFormulaPoints(int(TFormulaKind::Sqrt), 32, 1.0L);
    return points;
}

void BM_ConvertImageTab(benchmark::State& state)
{
    useThreads(state);
    TImgTabBGR target;
    TSilentProgress progress;
    for (auto _ : state) {
        ConvertImageTab(sharedBenchArray(), target, curve(), progress);
        benchmark::DoNotOptimize(target.row(0));
    }
    state.SetItemsProcessed(state.iterations() * W * H);
}
BENCHMARK(BM_ConvertImageTab)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);

#ifdef ORMICA_HAVE_OPENCV
void BM_OpenCvLut(benchmark::State& state)
{
    useThreads(state);
    const QImage& picture = sharedBenchPicture();
    const cv::Mat src(H, W, CV_8UC3, const_cast<uchar*>(picture.constBits()), std::size_t(picture.bytesPerLine()));
    cv::Mat table(1, 256, CV_8U);
    // The same curve as a per-channel table, linear between the points.
    const TBrightPointArray& pts = curve();
    for (std::size_t i = 0; i + 1 < pts.size(); ++i)
        for (int x = pts[i].X; x <= pts[i + 1].X; ++x)
            table.at<uchar>(x) =
                uchar(pts[i].Y + (pts[i + 1].Y - pts[i].Y) * (x - pts[i].X) / std::max(1, pts[i + 1].X - pts[i].X));
    cv::Mat dst(H, W, CV_8UC3);
    for (auto _ : state) {
        cv::LUT(src, table, dst);
        benchmark::DoNotOptimize(dst.data);
    }
    state.SetItemsProcessed(state.iterations() * W * H);
}
BENCHMARK(BM_OpenCvLut)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(2);
#endif

}  // namespace
