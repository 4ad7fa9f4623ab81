// The digital filter: a ready-made, file or database kernel, tuned as the filter
// window's regulators tune it, run over a whole picture as the window's
// whole-image command runs it; and the filter's frequency response.
#include "cli/cli.h"

#include "core/engine/img_service.h"
#include "core/filter/filter_tab.h"
#include "core/filter/frequency_response.h"
#include "core/filter/kernel_file.h"
#include "core/filter/popular_filters.h"
#include "core/filter/regulators.h"

#include <cstdio>

namespace ormica::cli {

namespace {

constexpr CommandOption kKernelOption{"kernel", "FILE",
                                      "A text file of 49 whole numbers separated by blanks, tabs or line ends: "
                                      "7 rows of 7, row 0 first."};
constexpr CommandOption kScaleOption{
    "scale", "S", "The scale that divides the weighted sums (default: the weight sum). Below 1 is refused."};

// A regulator position, -10 .. 10 as on the track bar.
int position(const Invocation& call, const char* option)
{
    const QString what = QStringLiteral("--") + QLatin1String(option);
    const int p = call.wholeNumber(call.values(option).first(), what);
    if (p < -10 || p > 10)
        call.usageError(QStringLiteral("%1 takes a whole number from -10 to 10").arg(what));
    return p;
}

// The kernel the command names, loaded as the window loads one; nothing when
// the core has refused it and said why.
std::optional<TFilterKernel> namedKernel(const Invocation& call)
{
    TFilterKernel kernel;
    if (call.isSet("ready")) {
        kernel = readyKernel(call);
    } else if (call.isSet("kernel")) {
        if (!ReadKernelFile(call.values("kernel").first(), kernel))
            return std::nullopt;
    } else {
        // Only the weights: the filter window sets the scale of a kernel it takes to the weight sum.
        kernel = fdbRecord(call, call.values("fdb").first(), call.values("record").first()).Kernel;
    }
    if (!CheckKernel(kernel, QStringLiteral("LoadFilter")))
        return std::nullopt;
    return kernel;
}

// The window's road (source array, colour array, convolution, target
// array), each copy let go as soon as the next is made.
int filterPicture(PictureFiles& files, const QString& in, const QString& out, const TFilterKernel& kernel,
                  std::int32_t scale)
{
    TImgTabColor colors;
    {
        TImgTabBGR source;
        {
            TImageControl loaded;
            files.load(in, loaded);
            ImageToImgTab(loaded, source, files.progress());
        }
        if (source.empty())
            throw Failure{QStringLiteral("the picture could not be put into an array: %1").arg(in)};
        TabBRGtoTabColor(source, colors);
    }
    if (colors.empty())
        throw Failure{QStringLiteral("the picture could not be put into a colour array: %1").arg(in)};
    TImgTabBGR target;
    {
        TImgTabColor filtered;
        if (!FilterTabColor(kernel, scale, colors, filtered, files.progress()))
            return kFailed;  // the core has said why
        colors.clear();
        TabColorToTabBRG(filtered, target);
    }
    return saveArray(files, target, out);
}

int filter(const Invocation& call)
{
    if (int(call.isSet("ready")) + int(call.isSet("kernel")) + int(call.isSet("fdb")) != 1)
        call.usageError(QStringLiteral("give exactly one of --ready, --kernel and --fdb"));
    if (call.isSet("fdb") != call.isSet("record"))
        call.usageError(QStringLiteral("--fdb and --record go together"));
    if (call.isSet("scale") && (call.isSet("focus") || call.isSet("light")))
        call.usageError(QStringLiteral("--scale sets the scale by hand; the regulators --focus and --light derive it"));
    const int focus = call.isSet("focus") ? position(call, "focus") : 0;
    const int light = call.isSet("light") ? position(call, "light") : 0;
    std::int32_t typedScale = 0;
    if (call.isSet("scale"))
        typedScale = call.wholeNumber(call.values("scale").first(), QStringLiteral("--scale"));

    PictureFiles files(call);
    const QString& out = call.arg(1);
    files.checkOutputName(out);
    std::optional<TFilterKernel> kernel = namedKernel(call);
    if (!kernel)
        return kFailed;  // the core has said why
    // The scale is the weight sum, which is also the focus regulator's origin.
    const TRegulatorOrigin origin{kernel->centre(), *KernelSum(*kernel)};
    std::int32_t scale = call.isSet("scale") ? typedScale : origin.BaseSum;
    if (call.isSet("focus")) {
        if (const std::optional<TFocusResult> tuned =
                FocusToKernel(*kernel, origin.BaseCentre, origin.BaseSum, focus)) {
            kernel->centre() = tuned->Centre;
            scale = tuned->Scale;
        } else if (origin.BaseSum > 0) {
            return kFailed;  // refused with an error: the centre would be too large
        }
        printMessage(QStringLiteral("focus %1: centre %2, scale %3").arg(focus).arg(kernel->centre()).arg(scale));
    }
    if (call.isSet("light")) {
        // With the kernel already accepted, no change means a sum of 2 or less.
        if (const std::optional<std::int32_t> tuned = LightToScale(*kernel, light))
            scale = *tuned;
        printMessage(QStringLiteral("light %1: scale %2").arg(light).arg(scale));
    }
    if (scale < 1) {
        printMessage(ScaleBelowOneRunText());
        return kFailed;
    }
    if (TOperationRecord* r = call.describe(TOperationRecord::TKind::Filter)) {
        r->Kernel = *kernel;
        r->Scale = scale;
    }
    return filterPicture(files, call.arg(0), out, *kernel, scale);
}

int response(const Invocation& call)
{
    if (call.isSet("ready") == call.isSet("kernel"))
        call.usageError(QStringLiteral("give exactly one of --ready and --kernel"));
    std::int32_t typedScale = 0;
    if (call.isSet("scale"))
        typedScale = call.wholeNumber(call.values("scale").first(), QStringLiteral("--scale"));
    int size = 64;
    if (call.isSet("size")) {
        size = call.wholeNumber(call.values("size").first(), QStringLiteral("--size"));
        if (size < 2 || size > 1024)
            call.usageError(QStringLiteral("--size takes a whole number from 2 to 1024"));
    }
    const std::optional<TFilterKernel> kernel = namedKernel(call);
    if (!kernel)
        return kFailed;  // the core has said why
    const std::int32_t scale = call.isSet("scale") ? typedScale : *KernelSum(*kernel);
    if (scale < 1) {
        printMessage(ScaleBelowOneRunText());
        return kFailed;
    }
    const TFrequencyResponse f = FrequencyResponse(*kernel, scale, size);
    // QByteArray::number: a dot whatever the locale. A line at a time, so
    // that the text never holds the whole grid.
    QByteArray line;
    for (int i = 0; i < size; ++i) {
        line.clear();
        for (int j = 0; j < size; ++j) {
            if (j > 0)
                line += '\t';
            line += QByteArray::number(f.at(i, j), 'g', 9);
        }
        line += '\n';
        std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
    }
    return kSuccess;
}

}  // namespace

std::span<const Command> filterCommands()
{
    static const std::vector<Command> commands{
        {"filter",
         "(--ready | --kernel | --fdb --record) [--scale | [--focus] [--light]] IN OUT [--quality]",
         "Convolves a picture with a 7 x 7 filter as the filter window's whole-image command does: a border three "
         "pixels wide multiplied by the filter's gain, the interior convolved, results out of range fitted with "
         "their hue kept.",
         {kPictureIn, {"OUT", "The picture to write."}},
         {readyOption(),
          kKernelOption,
          {"fdb", "FILE", "A filter base (.fdb): the kernel of record --record, as the filter window takes it."},
          {"record", "N", "The record of --fdb, its position in the file from 0."},
          kScaleOption,
          {"focus", "P", "The focus regulator's position, -10 .. 10: changes the centre weight and the scale."},
          {"light", "P", "The brightness regulator's position, -10 .. 10, applied after --focus: changes the scale."},
          qualityOption()},
         filter},
        {"response",
         "(--ready | --kernel) [--scale] [--size]",
         "Prints the filter's frequency response as the filter window shows it: the magnitude of the kernel's "
         "discrete Fourier transform divided by the scale, N lines of N tab-separated values. Line i, value j "
         "stand for the frequencies v = (i - N/2)/N and u = (j - N/2)/N in cycles per pixel, so that zero "
         "frequency, whose value is the brightness gain, is line N/2, value N/2 (both from 0).",
         {},
         {readyOption(),
          kKernelOption,
          kScaleOption,
          {"size", "N", "The number of frequencies along each axis, 2 .. 1024 (default 64)."}},
         response},
    };
    return commands;
}

}  // namespace ormica::cli
