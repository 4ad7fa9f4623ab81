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

constexpr CommandOption kKernelOption{
    "kernel", "FILE",
    QT_TRANSLATE_NOOP("CliHelp", "Текстовый файл из 49 целых чисел, разделённых пробелами, табуляциями или концами "
                                 "строк: 7 строк по 7, первой идёт строка 0.")};
constexpr CommandOption kScaleOption{
    "scale", "S",
    QT_TRANSLATE_NOOP("CliHelp", "Масштаб, на который делятся взвешенные суммы (по умолчанию — сумма весов). "
                                 "Меньше 1 не принимается.")};

// A regulator position, -10 .. 10 as on the track bar.
int position(const Invocation& call, const char* option)
{
    const QString what = QStringLiteral("--") + QLatin1String(option);
    const int p = call.wholeNumber(call.values(option).first(), what);
    if (p < -10 || p > 10)
        call.usageError(QCoreApplication::translate("CliFilter", "%1 принимает целое число от -10 до 10").arg(what));
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
// array), each array handed on or let go as soon as the next is made.
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
            throw Failure{
                QCoreApplication::translate("CliFilter", "изображение не удалось поместить в массив: %1").arg(in)};
        MoveTabBRGtoTabColor(std::move(source), colors);
    }
    if (colors.empty())
        throw Failure{
            QCoreApplication::translate("CliFilter", "изображение не удалось поместить в цветовой массив: %1").arg(in)};
    TImgTabBGR target;
    {
        TImgTabColor filtered;
        if (!FilterTabColor(kernel, scale, colors, filtered, files.progress()))
            return kFailed;  // the core has said why
        colors.clear();
        MoveTabColorToTabBRG(std::move(filtered), target);
    }
    return saveArray(files, target, out);
}

int filter(const Invocation& call)
{
    if (int(call.isSet("ready")) + int(call.isSet("kernel")) + int(call.isSet("fdb")) != 1)
        call.usageError(
            QCoreApplication::translate("CliFilter", "укажите ровно один из параметров --ready, --kernel и --fdb"));
    if (call.isSet("fdb") != call.isSet("record"))
        call.usageError(QCoreApplication::translate("CliFilter", "--fdb и --record задаются вместе"));
    if (call.isSet("scale") && (call.isSet("focus") || call.isSet("light")))
        call.usageError(QCoreApplication::translate(
            "CliFilter", "--scale задаёт масштаб вручную, а регуляторы --focus и --light вычисляют его сами"));
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
        printMessage(QCoreApplication::translate("CliFilter", "фокус %1: центр %2, масштаб %3")
                         .arg(focus)
                         .arg(kernel->centre())
                         .arg(scale));
    }
    if (call.isSet("light")) {
        // With the kernel already accepted, no change means a sum of 2 or less.
        if (const std::optional<std::int32_t> tuned = LightToScale(*kernel, light))
            scale = *tuned;
        printMessage(QCoreApplication::translate("CliFilter", "яркость %1: масштаб %2").arg(light).arg(scale));
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
        call.usageError(
            QCoreApplication::translate("CliFilter", "укажите ровно один из параметров --ready и --kernel"));
    std::int32_t typedScale = 0;
    if (call.isSet("scale"))
        typedScale = call.wholeNumber(call.values("scale").first(), QStringLiteral("--scale"));
    int size = 64;
    if (call.isSet("size")) {
        size = call.wholeNumber(call.values("size").first(), QStringLiteral("--size"));
        if (size < 2 || size > 1024)
            call.usageError(QCoreApplication::translate("CliFilter", "--size принимает целое число от 2 до 1024"));
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
         QT_TRANSLATE_NOOP("CliHelp",
                           "Свёртывает изображение с фильтром 7 x 7, как команда окна фильтра для всего "
                           "изображения: рамка шириной в три пикселя умножается на коэффициент усиления фильтра, "
                           "внутренняя часть свёртывается, результаты вне диапазона вписываются в него с сохранением "
                           "цветового тона."),
         {kPictureIn, {"OUT", QT_TRANSLATE_NOOP("CliHelp", "Записываемое изображение.")}},
         {readyOption(),
          kKernelOption,
          {"fdb", "FILE",
           QT_TRANSLATE_NOOP("CliHelp", "База фильтров (.fdb): ядро записи --record, как его берёт окно фильтра.")},
          {"record", "N", QT_TRANSLATE_NOOP("CliHelp", "Запись из --fdb, её позиция в файле от 0.")},
          kScaleOption,
          {"focus", "P",
           QT_TRANSLATE_NOOP("CliHelp", "Положение регулятора фокуса, -10 .. 10: меняет центральный вес и масштаб.")},
          {"light", "P",
           QT_TRANSLATE_NOOP("CliHelp",
                             "Положение регулятора яркости, -10 .. 10, действует после --focus: меняет масштаб.")},
          qualityOption()},
         filter},
        {"response",
         "(--ready | --kernel) [--scale] [--size]",
         QT_TRANSLATE_NOOP("CliHelp",
                           "Выводит частотную характеристику фильтра, как её показывает окно фильтра: модуль "
                           "дискретного преобразования Фурье ядра, делённый на масштаб, — N строк по N значений через "
                           "табуляцию. Строка i, значение j соответствуют частотам v = (i - N/2)/N и u = (j - N/2)/N "
                           "в периодах на пиксель, так что нулевой частоте, где значение равно коэффициенту усиления "
                           "яркости, отвечают строка N/2, значение N/2 (оба считая от 0)."),
         {},
         {readyOption(),
          kKernelOption,
          kScaleOption,
          {"size", "N", QT_TRANSLATE_NOOP("CliHelp", "Число частот по каждой оси, 2 .. 1024 (по умолчанию 64).")}},
         response},
    };
    return commands;
}

}  // namespace ormica::cli
