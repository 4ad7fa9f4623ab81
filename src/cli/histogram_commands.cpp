// Commands on the brightness histograms of a picture.
#include "cli.h"

#include "engine/img_service.h"
#include "histogram/histogram.h"

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

}  // namespace

std::span<const Command> histogramCommands()
{
    static const std::vector<Command> commands{
        {"hist",
         "IN [--counts]",
         "Histograms of red, green, blue and Light: the point count, black and white points, then for each channel "
         "mean, variance, standard deviation and the largest count, tab-separated.",
         {{"IN", "The picture to read: BMP, or JPEG named .jpg or .jpeg."}},
         {{"counts", "", "Also print the 256 counts of each channel, then the 256 bar heights (0 .. 236)."}},
         hist},
    };
    return commands;
}

}  // namespace ormica::cli
