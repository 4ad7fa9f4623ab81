// Commands on the brightness histograms of a picture.
#include "cli/cli.h"

#include "core/engine/img_service.h"
#include "core/engine/rect.h"
#include "core/histogram/fragment_stats.h"
#include "core/histogram/histogram.h"

#include <QStringList>
#include <algorithm>
#include <clocale>
#include <cstdio>

namespace ormica::cli {

namespace {

void printLevels(const char* name, const TGistogram& values)
{
    std::printf("%s", name);
    for (std::int32_t v : values)
        std::printf("\t%d", v);
    std::printf("\n");
}

void printStatistics(const char* name, long double mean, long double variance, long double deviation, std::int32_t max)
{
    std::printf("%s\t%.17Lg\t%.17Lg\t%.17Lg\t%d\n", name, mean, variance, deviation, max);
}

// The picture goes into an array as loading does in the program, and the
// black and white counts are taken as the window takes them.
int hist(const Invocation& call)
{
    // Qt took the user's locale at start; the figures keep a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    PictureFiles files(call);
    TImgTabBGR arr;
    {
        TImageControl loaded;
        files.load(call.arg(0), loaded);
        ImageToImgTab(loaded, arr, files.progress());
    }
    TGistogramData d;
    CalculateAllGistogram(&arr, files.progress(), &d);
    if (d.Count > 0) {
        d.NumBlack = d.GistL[0];
        d.NumWhite = d.GistL[255];
    }
    std::printf("count\t%u\tblack\t%d\twhite\t%d\n", d.Count, d.NumBlack, d.NumWhite);
    printStatistics("R", d.MeanR, d.VarR, d.StdR, d.MaxR);
    printStatistics("G", d.MeanG, d.VarG, d.StdG, d.MaxG);
    printStatistics("B", d.MeanB, d.VarB, d.StdB, d.MaxB);
    printStatistics("L", d.MeanL, d.VarL, d.StdL, d.MaxL);
    if (call.isSet("counts")) {
        printLevels("R", d.GistR);
        printLevels("G", d.GistG);
        printLevels("B", d.GistB);
        printLevels("L", d.GistL);
        printLevels("NR", d.NormR);
        printLevels("NG", d.NormG);
        printLevels("NB", d.NormB);
        printLevels("NL", d.NormL);
    }
    return kSuccess;
}

// The largest fragment the fragment image of the histogram window holds.
constexpr int kFragmentMaxW = 287;
constexpr int kFragmentMaxH = 167;

void printReal(const char* name, long double value)
{
    std::printf("%s\t%#.17Lg\n", name, value);
}

// The statistics of one row or column of a fragment, as the fragment tab
// computes them.
int stats(const Invocation& call)
{
    std::setlocale(LC_NUMERIC, "C");
    const QStringList corners = call.values("fragment");
    if (corners.isEmpty())
        call.usageError(
            QCoreApplication::translate("CliHistograms", "нужен параметр --fragment LEFT TOP RIGHT BOTTOM"));
    int c[4];
    const char* cornerNames[4] = {"LEFT", "TOP", "RIGHT", "BOTTOM"};
    for (int i = 0; i < 4; ++i)
        c[i] = call.wholeNumber(corners.at(i), QLatin1String(cornerNames[i]));
    const bool byRow = call.isSet("row");
    if (byRow == call.isSet("column"))
        call.usageError(QCoreApplication::translate("CliHistograms", "укажите либо --row Y, либо --column X"));
    const int line = byRow ? call.wholeNumber(call.values("row").first(), QStringLiteral("Y"))
                           : call.wholeNumber(call.values("column").first(), QStringLiteral("X"));
    char channel = 'L';
    if (call.isSet("channel")) {
        const QString name = call.values("channel").first();
        if (name.size() != 1 || !QStringLiteral("RGBL").contains(name))
            call.usageError(
                QCoreApplication::translate("CliHistograms", "--channel принимает R, G, B или L, а не \"%1\"")
                    .arg(name));
        channel = name.at(0).toLatin1();
    }
    if (call.isSet("auto") && call.isSet("conv"))
        call.usageError(QCoreApplication::translate("CliHistograms", "укажите либо --auto, либо --conv, но не оба"));
    int funcIndex = -1;
    if (call.isSet("conv")) {
        const QStringList names{QStringLiteral("one"), QStringLiteral("x"), QStringLiteral("one-minus-x"),
                                QStringLiteral("rect")};
        funcIndex = int(names.indexOf(call.values("conv").first()));
        if (funcIndex < 0)
            call.usageError(QCoreApplication::translate("CliHistograms",
                                                        "--conv принимает one, x, one-minus-x или rect, а не \"%1\"")
                                .arg(call.values("conv").first()));
    }

    PictureFiles files(call);
    TImageControl loaded;
    files.load(call.arg(0), loaded);
    const QImage& picture = loaded.picture();
    // As the main window takes a selection: inside the picture, and no more
    // than the fragment image holds, counted from the top-left corner.
    TRect rect = NormalizeRect({c[0], c[1]}, {c[2], c[3]});
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, picture.width() - 1);
    rect.Bottom = std::min(rect.Bottom, picture.height() - 1);
    if (rect.Left > rect.Right || rect.Top > rect.Bottom)
        throw Failure{QCoreApplication::translate("CliHistograms", "фрагмент лежит вне изображения")};
    rect.Right = std::min(rect.Right, rect.Left + kFragmentMaxW - 1);
    rect.Bottom = std::min(rect.Bottom, rect.Top + kFragmentMaxH - 1);
    // A single row or column copies nothing; the sample then refuses it as too small.
    TImgTabColor fragment;
    AreaBitMapToImgTabColor(picture, rect, fragment);

    TAcExtract ac;
    ac.SelRow = ac.SelCol = line;
    if (!ExtractSample(fragment, true, byRow ? 'R' : 'C', ac))
        return kFailed;  // the refusal is already on stderr
    SampleStatistics(ac, channel);
    const bool correlate = call.isSet("auto") || funcIndex >= 0;
    if (correlate) {
        if (funcIndex >= 0)
            BuildConvFunc(ac, funcIndex);
        if (!CorrelateSample(ac, funcIndex >= 0 ? 'C' : 'A'))
            return kFailed;
    }
    const long double fragmentMean = FragmentMean(fragment, 'L');
    std::printf("n\t%d\n", ac.NumPnt);
    printReal("mean", ac.Mean);
    printReal("variance", ac.Variance);
    printReal("fragment_mean", fragmentMean);
    printReal("fragment_variance", FragmentVariance(fragment, 'L', fragmentMean));
    if (correlate)
        for (const TGraphPoint& p : ac.GraphAc)
            std::printf("%d\t%#.17Lg\n", int(p.X), p.Y);
    return kSuccess;
}

}  // namespace

std::span<const Command> histogramCommands()
{
    static const std::vector<Command> commands{
        {"hist",
         nullptr,
         QT_TRANSLATE_NOOP("CliHelp", "Гистограммы красного, зелёного, синего и Light (яркости): число точек, число "
                                      "чёрных и белых точек, затем для каждого канала среднее, дисперсия, "
                                      "среднеквадратичное отклонение и наибольший счёт, через табуляцию."),
         {kPictureIn},
         {{"counts", "",
           QT_TRANSLATE_NOOP("CliHelp",
                             "Вывести также 256 счётчиков каждого канала, затем 256 высот столбиков (0 .. 236).")}},
         hist},
        {"stats",
         "IN --fragment (--row | --column) [--channel] [--auto | --conv]",
         QT_TRANSLATE_NOOP(
             "CliHelp",
             "Статистика одной строки или столбца фрагмента, как её считает вкладка фрагмента окна гистограмм: n, "
             "среднее и дисперсия выборки, затем среднее и дисперсия Light по всему фрагменту; в строке имя и "
             "значение через табуляцию. С --auto или --conv — ещё по строке на каждый элемент результата корреляции: "
             "сдвиг (-(N + 1) .. N + 1) и значение. Дробные числа выводятся с 17 значащими цифрами и десятичной "
             "точкой."),
         {kPictureIn},
         {{"fragment", "LEFT TOP RIGHT BOTTOM",
           QT_TRANSLATE_NOOP("CliHelp", "Фрагмент: углы включительно, в любом порядке, обрезается по изображению, "
                                        "затем берётся не более 287 x 167 пикселей от его левого верхнего угла, как "
                                        "копирует главное окно.")},
          {"row", "Y", QT_TRANSLATE_NOOP("CliHelp", "Выборка — строка Y фрагмента (0 — его верхняя строка).")},
          {"column", "X", QT_TRANSLATE_NOOP("CliHelp", "Выборка — столбец X фрагмента (0 — его левый столбец).")},
          {"channel", "R|G|B|L", QT_TRANSLATE_NOOP("CliHelp", "Канал выборки; по умолчанию L (неокруглённая Light).")},
          {"auto", "", QT_TRANSLATE_NOOP("CliHelp", "Также автокорреляция, делённая на дисперсию, если та не 0.")},
          {"conv", "one|x|one-minus-x|rect",
           QT_TRANSLATE_NOOP("CliHelp",
                             "Также скользящая сумма произведений с Func(X) = 1, X, 1 - X или Rect; без деления.")}},
         stats},
    };
    return commands;
}

}  // namespace ormica::cli
