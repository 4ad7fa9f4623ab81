// Mirror, 90-degree and angle rotation on 6000 x 4000 beside OpenCV.
// "Fresh" runs give the routine a new target array every time; the others
// keep one target, as the program's target array is kept between commands.
// OpenCV runs both ways too (a released or a kept cv::Mat), so that each
// pair measures the same work.
#include "bench_picture.h"

#include "core/engine/row_bands.h"

#include "core/engine/geometry.h"
#include "core/engine/img_service.h"

#include <benchmark/benchmark.h>

#ifdef ORMICA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using namespace ormica;

namespace {

const TImgTabBGR& source()
{
    static const TImgTabBGR a = [] {
        TImgTabBGR arr;
        BitMapToImgTab(benchPicture(6000, 4000), arr, nullptr);
        return arr;
    }();
    return a;
}

// Runs an operation into one target array; `fresh` empties it before every run.
template <class Operation> void runInto(benchmark::State& state, bool fresh, Operation operation)
{
    source();  // built once, outside the timing
    TImgTabBGR target;
    for (auto _ : state) {
        if (fresh)
            target.clear();
        operation(target);
        benchmark::DoNotOptimize(target.row(0));
    }
}

void BM_Mirror(benchmark::State& state)
{
    const char mode = state.range(0) ? 'V' : 'H';
    SetWorkerThreads(int(state.range(2)));
    runInto(state, state.range(1) != 0, [&](TImgTabBGR& t) { MirrorToTrgArr(source(), mode, t, nullptr); });
}
BENCHMARK(BM_Mirror)->ArgNames({"V", "fresh", "threads"})->ArgsProduct({{0, 1}, {0, 1}, {1, 2}})->UseRealTime();

void BM_Rotate90(benchmark::State& state)
{
    SetWorkerThreads(int(state.range(1)));
    runInto(state, state.range(0) != 0, [](TImgTabBGR& t) { Rotate90PlusMinus(source(), '+', t, nullptr); });
}
BENCHMARK(BM_Rotate90)->ArgNames({"fresh", "threads"})->ArgsProduct({{0, 1}, {1, 2}})->UseRealTime();

// As the program calls it (two threads on a picture this large), and on one
// or two threads by choice. Rows that may run on two threads report wall
// time: the CPU time of the calling thread would leave the helper's out.
void BM_RotateAngle30(benchmark::State& state)
{
    runInto(state, state.range(0) != 0,
            [](TImgTabBGR& t) { RotateForTabBGR(source(), 2000, 3000, nullptr, t, clWhite, 30.0L); });
}
BENCHMARK(BM_RotateAngle30)->ArgName("fresh")->Arg(0)->Arg(1)->UseRealTime();

void BM_RotateAngle30Threads(benchmark::State& state)
{
    const int threads = int(state.range(1));
    runInto(state, state.range(0) != 0, [threads](TImgTabBGR& t) {
        detail::RotateWithThreads(source(), 2000, 3000, nullptr, t, clWhite, 30.0L, threads);
    });
}
BENCHMARK(BM_RotateAngle30Threads)
    ->ArgNames({"fresh", "threads"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 2})
    ->Args({1, 2})
    ->UseRealTime();

void BM_RotateAngle30Formula(benchmark::State& state)
{
    source();  // built once, outside the timing
    TImgTabBGR target;
    for (auto _ : state) {
        detail::RotateByFormula(source(), 2000, 3000, target, clWhite, 30.0L);
        benchmark::DoNotOptimize(target.row(0));
    }
}
BENCHMARK(BM_RotateAngle30Formula)->Iterations(1)->Repetitions(1);

#ifdef ORMICA_HAVE_OPENCV
cv::Mat sourceMat()
{
    return cv::Mat(4000, 6000, CV_8UC3, const_cast<std::uint8_t*>(source().row(0)));
}

// Runs an OpenCV operation into one cv::Mat; `fresh` releases it before every run.
template <class Operation> void runIntoMat(benchmark::State& state, bool fresh, int threads, Operation operation)
{
    source();  // built once, outside the timing
    const int before = cv::getNumThreads();
    cv::setNumThreads(threads);
    cv::Mat dst;
    for (auto _ : state) {
        if (fresh)
            dst.release();
        operation(dst);
        benchmark::DoNotOptimize(dst.data);
    }
    cv::setNumThreads(before);
}

void BM_OpenCvFlip(benchmark::State& state)
{
    const int code = state.range(0) ? 0 : 1;
    runIntoMat(state, state.range(1) != 0, state.range(2) == 1 ? 1 : -1,
               [code](cv::Mat& dst) { cv::flip(sourceMat(), dst, code); });
}
BENCHMARK(BM_OpenCvFlip)->ArgNames({"V", "fresh", "threads"})->ArgsProduct({{0, 1}, {0, 1}, {1, 2}})->UseRealTime();

void BM_OpenCvRotate90(benchmark::State& state)
{
    runIntoMat(state, state.range(0) != 0, state.range(1) == 1 ? 1 : -1,
               [](cv::Mat& dst) { cv::rotate(sourceMat(), dst, cv::ROTATE_90_COUNTERCLOCKWISE); });
}
BENCHMARK(BM_OpenCvRotate90)->ArgNames({"fresh", "threads"})->ArgsProduct({{0, 1}, {1, 2}})->UseRealTime();

void BM_OpenCvWarpNearest30(benchmark::State& state)
{
    const cv::Mat m = cv::getRotationMatrix2D(cv::Point2f(3000, 2000), 30, 1.0);
    runIntoMat(state, state.range(0) != 0, int(state.range(1)), [&m](cv::Mat& dst) {
        cv::warpAffine(sourceMat(), dst, m, sourceMat().size(), cv::INTER_NEAREST, cv::BORDER_CONSTANT,
                       cv::Scalar(255, 255, 255));
    });
}
BENCHMARK(BM_OpenCvWarpNearest30)
    ->ArgNames({"fresh", "threads"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 2})
    ->Args({1, 2})
    ->UseRealTime();
#endif

}  // namespace
