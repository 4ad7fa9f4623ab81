// The filter window's whole-image run on a 6000 x 4000 picture with the wide
// sharpening kernel, beside what `ormica-cli filter --ready H1` does with the
// same picture between reading and writing its files. Both at the default
// worker threads, as the program and the command run. Every window figure
// fails unless the target it made is the command's picture, byte for byte,
// and nothing was said on the way (a refused run takes no time worth timing).
//
// Arg(0) runs with the freed picture-sized blocks kept from the run before,
// as a second run in the program or the command's steady state; Arg(1) gives
// them back to the system first, as the first run after loading a picture
// and every run of the command's own process, which must zero fresh pages.
//
// bench_windows --write-bmp FILE writes the picture as a BMP for timing the
// whole command.
#include "bench_picture.h"

#include "core/app/undo_history.h"
#include "core/engine/bmp_file.h"
#include "core/engine/image_control.h"
#include "core/engine/img_service.h"
#include "core/engine/large_block.h"
#include "core/engine/message_sink.h"
#include "core/engine/progress.h"
#include "core/filter/filter_tab.h"
#include "core/filter/popular_filters.h"
#include "ui/app/main_window.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/region_selector.h"
#include "ui/filter/filter_window.h"
#include "ui/workspace/workspace.h"

#include <QAction>
#include <QApplication>
#include <QToolButton>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <functional>

using namespace ormica;

namespace {

const TFilterKernel& kKernel = PopFilterH1;
constexpr std::int32_t kScale = 280;  // its weight sum, the scale the window and the command give it

// Counts what the core says instead of showing boxes.
class CountingSink : public TMessageSink {
public:
    void warning(const QString& text) override { note(text); }
    void error(const QString& text) override { note(text); }
    bool question(const QString& text, TQuestionKind) override
    {
        note(text);
        return false;
    }
    void information(const QString& text) override { note(text); }
    int said = 0;

private:
    void note(const QString& text)
    {
        ++said;
        std::fprintf(stderr, "said: %s\n", qPrintable(text));
    }
};

CountingSink& sink()
{
    static CountingSink s;
    return s;
}

// filterPicture's road between reading and writing: the picture to an array,
// to a colour array, the convolution, back, and the array to a picture; each
// array handed on or let go as soon as the next is made.
QImage filterLikeTheCommand(const QImage& picture, TProgress* progress)
{
    TImgTabColor colors;
    {
        TImgTabBGR source;
        {
            TImageControl loaded;
            loaded.setPicture(picture);
            ImageToImgTab(loaded, source, progress);
        }
        MoveTabBRGtoTabColor(std::move(source), colors);
    }
    TImgTabBGR target;
    {
        TImgTabColor filtered;
        if (!FilterTabColor(kKernel, kScale, colors, filtered, progress))
            return QImage();
        colors.clear();
        MoveTabColorToTabBRG(std::move(filtered), target);
    }
    TImageControl result;
    ImgTabToImage(target, result, progress);
    target.clear();
    return result.picture();
}

const QImage& commandResult()
{
    static const QImage result = [] {
        TSilentProgress progress;
        return filterLikeTheCommand(sharedBenchPicture(), &progress);
    }();
    return result;
}

// Unclocked, before each run.
void memoryFor(const benchmark::State& state)
{
    if (state.range(0) == 1)
        ReleaseKeptPixelBlocks();
}

const char* memoryLabel(const benchmark::State& state)
{
    return state.range(0) == 1 ? "fresh memory" : "blocks kept";
}

bool samePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.format() != b.format() || a.isNull())
        return false;
    const std::size_t rowBytes = std::size_t(a.width()) * 3;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), rowBytes) != 0)
            return false;
    return true;
}

// What a run must have left behind whichever way it was started: the
// command's picture in the target and its array, the record the explanation
// panel reads, the window closed, nothing said.
const char* runFault(const TWorkspace& ws, const QImage& target, const TFormDFilter& filter, int saidBefore)
{
    if (sink().said != saidBefore)
        return "the run said something";
    if (!samePixels(target, commandResult()))
        return "the target is not the command's picture";
    if (!ArrayIsPicture(ws.TrgArr, target))
        return "the target array does not hold the target picture";
    const TOperationRecordPtr& r = ws.Records[1];
    if (!r || r->Kind != TOperationRecord::TKind::Filter || !(r->Kernel == kKernel) || r->Scale != kScale ||
        !samePixels(r->Source, sharedBenchPicture()))
        return "no filter record for the target";
    if (filter.isVisible())
        return "the window stayed open";
    return nullptr;
}

// The program as main() makes it, the picture loaded into the source image
// and its array, with nothing to undo yet, and the kernel in the filter window.
struct Program {
    TWorkspace ws;
    TFormOrmica form{ws, nullptr, nullptr};
    TFormDFilter filter{ws, &form};
    // Called with the window shown, just before the click on its run button.
    std::function<void()> beforeClick;
    int shown = 0;

    Program()
    {
        form.setToolWindows({.filter = &filter});
        form.show();
        form.ImageMain->setPicture(sharedBenchPicture().copy());
        ImageToImgTab(*form.ImageMain, ws.SrcArr, nullptr);
        form.ShowPage(0);
        form.ClearHistory();
        filter.LoadFilter(kKernel);
        form.ShowModal = [this](QDialog& window) {
            ++shown;
            window.show();
            if (beforeClick)
                beforeClick();
            filter.TB1RunDest->click();
            return 0;
        };
        commandResult();
        // A first run unclocked: the program has had pictures this size before.
        command();
    }
    // The filter command from the menu over a fresh fragment, as the first
    // run after loading; false when the window was not shown.
    bool command()
    {
        QCoreApplication::processEvents();
        form.ClearHistory();
        TRegionSelector& s = *form.regionSelector();
        s.OnStart(s, 0, TPoint{100, 120}, TPoint{100, 120});
        s.OnEnd(s, 0, TPoint{100, 120}, TPoint{160, 170});
        const int before = shown;
        form.MMDFilter->trigger();
        return shown > before;
    }
    // What the event loop does after a run (painting the target) is not the run's.
    void settle() { QCoreApplication::processEvents(); }
};

// From the click on the run button to the end of the main window's filter
// command: the run, the window closing, targetWritten, then the main window
// committing the undo step, naming the target and showing its tab. Opening
// the window (the fragment, the undo snapshot) comes before the click and is
// not clocked.
void BM_FilterWindowRun(benchmark::State& state)
{
    Program p;
    p.beforeClick = [&] { state.ResumeTiming(); };
    const int saidBefore = sink().said;
    for (auto _ : state) {
        state.PauseTiming();
        p.settle();
        memoryFor(state);
        if (!p.command()) {
            state.ResumeTiming();
            state.SkipWithError("the filter command did not open the window");
            break;
        }
    }
    if (const char* fault = runFault(p.ws, p.form.TargetImage->picture(), p.filter, saidBefore))
        state.SkipWithError(fault);
    else if (!p.form.undoHistory()->CanUndo())
        state.SkipWithError("the run left nothing to undo");
    state.SetLabel(memoryLabel(state));
}
BENCHMARK(BM_FilterWindowRun)->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same command clocked whole, from the menu: the fragment taken into the
// window and the undo snapshot of the target as well.
void BM_FilterWindowCommand(benchmark::State& state)
{
    Program p;
    const int saidBefore = sink().said;
    for (auto _ : state) {
        state.PauseTiming();
        p.settle();
        memoryFor(state);
        state.ResumeTiming();
        if (!p.command()) {
            state.SkipWithError("the filter command did not open the window");
            break;
        }
    }
    if (const char* fault = runFault(p.ws, p.form.TargetImage->picture(), p.filter, saidBefore))
        state.SkipWithError(fault);
    state.SetLabel(memoryLabel(state));
}
BENCHMARK(BM_FilterWindowCommand)->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

// The window alone over a workspace whose image controls are plain ones, as
// the window tests make it: the click and nothing of the main window's.
void BM_FilterWindowRunAlone(benchmark::State& state)
{
    TWorkspace ws;
    TImageControl source, target;
    source.setPicture(sharedBenchPicture().copy());
    ws.SrcImageRef = &source;
    ws.TrgImageRef = &target;
    ImageToImgTab(source, ws.SrcArr, nullptr);
    TFormDFilter filter(ws);
    filter.LoadFilter(kKernel);
    commandResult();
    const int saidBefore = sink().said;
    const auto run = [&] {
        QCoreApplication::processEvents();
        filter.show();
    };
    run();
    filter.TB1RunDest->click();
    for (auto _ : state) {
        state.PauseTiming();
        run();
        memoryFor(state);
        state.ResumeTiming();
        filter.TB1RunDest->click();
    }
    if (const char* fault = runFault(ws, target.picture(), filter, saidBefore))
        state.SkipWithError(fault);
    state.SetLabel(memoryLabel(state));
}
BENCHMARK(BM_FilterWindowRunAlone)->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliFilterChain(benchmark::State& state)
{
    const QImage& picture = sharedBenchPicture();
    TSilentProgress progress;
    QImage result = filterLikeTheCommand(picture, &progress);
    for (auto _ : state) {
        state.PauseTiming();
        result = QImage();
        memoryFor(state);
        state.ResumeTiming();
        result = filterLikeTheCommand(picture, &progress);
        benchmark::DoNotOptimize(result.constBits());
    }
    if (!samePixels(result, commandResult()))
        state.SkipWithError("the chain gave another picture");
    state.SetLabel(memoryLabel(state));
}
BENCHMARK(BM_CliFilterChain)->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-bmp") == 0)
        return WriteBmpFile(benchPicture(kBenchWidth, kBenchHeight), QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RaiseImageAllocationLimit();
    setMessageSink(&sink());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    setMessageSink(nullptr);
    return 0;
}
