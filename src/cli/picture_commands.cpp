// Commands on whole pictures: files, grey, geometry, scaling and comparison.
#include "cli/cli.h"

#include "core/engine/geometry.h"
#include "core/engine/gray.h"
#include "core/engine/img_service.h"
#include "core/engine/rect.h"
#include "core/histogram/image_compare.h"
#include "core/scale/image_scale.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>

namespace ormica::cli {

namespace {

const CommandArgument kOut{"OUT", "The picture to write, of the kind its extension names."};

int info(const Invocation& call)
{
    PictureFiles files(call);
    TImageControl image;
    files.load(call.arg(0), image);
    std::printf("%d %d %s\n", image.picture().width(), image.picture().height(),
                PixelFormatName(image.imageDesc()->PixelFormat).toLatin1().constData());
    return kSuccess;
}

int convert(const Invocation& call)
{
    PictureFiles files(call);
    files.checkOutputName(call.arg(1));
    TImageControl image;
    files.load(call.arg(0), image);
    files.save(call.arg(1), image);
    return kSuccess;
}

int grey(const Invocation& call)
{
    PictureFiles files(call);
    files.checkOutputName(call.arg(1));
    TImageControl image;
    files.load(call.arg(0), image);
    call.describe(TOperationRecord::TKind::Grey);
    BitMapToGrayBitMap(image.picture(), image.canvas());
    image.pictureChanged();
    files.save(call.arg(1), image);
    return kSuccess;
}

int mirror(const Invocation& call)
{
    const QString mode = call.arg(0).toUpper();
    if (mode != QLatin1String("H") && mode != QLatin1String("V"))
        call.usageError(QStringLiteral("the mode is H or V, not \"%1\"").arg(call.arg(0)));
    PictureFiles files(call);
    call.describe(mode == QLatin1String("H") ? TOperationRecord::TKind::MirrorH : TOperationRecord::TKind::MirrorV);
    return arrayOperation(files, call.arg(1), call.arg(2), [&](const TImgTabBGR& s, TImgTabBGR& t) {
        MirrorToTrgArr(s, char(mode.at(0).toLatin1()), t, files.progress());
    });
}

int rot90(const Invocation& call)
{
    const QString mode = call.arg(0);
    if (mode != QLatin1String("+") && mode != QLatin1String("-"))
        call.usageError(QStringLiteral("the direction is + or -, not \"%1\"").arg(mode));
    PictureFiles files(call);
    call.describe(mode == QLatin1String("+") ? TOperationRecord::TKind::Rotate90Plus
                                             : TOperationRecord::TKind::Rotate90Minus);
    return arrayOperation(files, call.arg(1), call.arg(2), [&](const TImgTabBGR& s, TImgTabBGR& t) {
        Rotate90PlusMinus(s, char(mode.at(0).toLatin1()), t, files.progress());
    });
}

TColor readColour(const Invocation& call, const QString& text)
{
    // Six hexadecimal digits exactly: toUInt alone would also take "0x" and blanks.
    bool ok = text.size() == 6 && std::all_of(text.begin(), text.end(),
                                              [](QChar c) { return c.unicode() < 128 && std::isxdigit(c.unicode()); });
    const uint rgb = ok ? text.toUInt(&ok, 16) : 0;
    if (!ok)
        call.usageError(QStringLiteral("--fill takes a colour as RRGGBB, e.g. FFFFFF, not \"%1\"").arg(text));
    return RGBToColor(int(rgb >> 16), int(rgb >> 8), int(rgb));
}

int rotate(const Invocation& call)
{
    long double angle = call.extendedNumber(call.arg(0), QStringLiteral("ANGLE"));
    const QStringList centre = call.values("centre");
    if (centre.isEmpty())
        call.usageError(QStringLiteral("--centre ROW COL is required"));
    const int row = call.wholeNumber(centre.at(0), QStringLiteral("ROW"));
    const int col = call.wholeNumber(centre.at(1), QStringLiteral("COL"));
    const TColor fill = call.isSet("fill") ? readColour(call, call.values("fill").first()) : clWhite;
    PictureFiles files(call);
    // Out of range, the program warns and rotates nothing; here that is a
    // wrong command line, found before any file is read.
    if (angle != 0 && CheckRotationAngle(angle) == 0)
        call.usageError(QStringLiteral("ANGLE must lie within -89.9 .. 89.9 degrees"));
    if (TOperationRecord* r = call.describe(TOperationRecord::TKind::Rotate)) {
        r->Degrees = angle;
        r->CentreRow = row;
        r->CentreCol = col;
        r->Fill = fill;
    }
    if (angle == 0)  // a turn by nothing: the picture as it is
        return arrayOperation(files, call.arg(1), call.arg(2),
                              [](const TImgTabBGR& s, TImgTabBGR& t) { TabBRGtoTabBGR(s, t); });
    return arrayOperation(files, call.arg(1), call.arg(2), [&](const TImgTabBGR& s, TImgTabBGR& t) {
        RotateForTabBGR(s, row, col, files.progress(), t, fill, angle);
    });
}

int crop(const Invocation& call)
{
    int r[4];
    for (int i = 0; i < 4; ++i)
        r[i] = call.wholeNumber(call.arg(i), QLatin1String(call.command().arguments[std::size_t(i)].name));
    // As the program's selection: corners in any order, normalised.
    const TRect rect = NormalizeRect({r[0], r[1]}, {r[2], r[3]});
    PictureFiles files(call);
    if (TOperationRecord* record = call.describe(TOperationRecord::TKind::Crop))
        record->Rect = rect;
    return arrayOperation(files, call.arg(4), call.arg(5),
                          [&](const TImgTabBGR& s, TImgTabBGR& t) { SelectedToImgTab(s, rect, t); });
}

int scale(const Invocation& call)
{
    const bool byZoom = call.isSet("zoom");
    if (byZoom == call.isSet("size"))
        call.usageError(QStringLiteral("give either --zoom Z or --size W H"));
    double zoom = 0;
    int width = 0, height = 0;
    if (byZoom) {
        zoom = call.realNumber(call.values("zoom").first(), QStringLiteral("--zoom"));
    } else {
        width = call.wholeNumber(call.values("size").at(0), QStringLiteral("W"));
        height = call.wholeNumber(call.values("size").at(1), QStringLiteral("H"));
        if (width < 1 || height < 1)
            call.usageError(QStringLiteral("W and H are sides of at least one pixel"));
    }
    PictureFiles files(call);
    files.checkOutputName(call.arg(1));
    TImageControl source, target;
    files.load(call.arg(0), source);
    call.describe(TOperationRecord::TKind::Scale);
    TImageScale scaling;
    scaling.SetSource(&source);
    scaling.Target = &target;
    if (byZoom) {
        scaling.SetZoom(zoom);
    } else {
        scaling.Proportional = call.isSet("keep-proportions");
        scaling.SetTargetWidth(width);
        // Kept proportions fit the picture within W x H.
        if (!scaling.Proportional || scaling.TrgHeight > height)
            scaling.SetTargetHeight(height);
    }
    scaling.Execute();
    source.setPicture(QImage());  // not needed while the result is written
    if (target.picture().isNull())
        throw Failure{QStringLiteral("the picture could not be scaled")};
    files.save(call.arg(1), target);
    return kSuccess;
}

// One line of the comparison: its name, then B, G, R and Light.
template <class F> void printDifferences(const char* name, const TImageComparison& numbers, F value)
{
    std::printf("%s", name);
    for (const TChannelDifference& d : numbers.Channels) {
        const double v = value(d);
        if (std::isinf(v))
            std::printf("\tinf");
        else
            std::printf("\t%.6g", v);
    }
    std::printf("\n");
}

int compare(const Invocation& call)
{
    int gain = 1;
    if (call.isSet("gain")) {
        gain = call.wholeNumber(call.values("gain").first(), QStringLiteral("--gain"));
        if (gain < kMinDifferenceGain || gain > kMaxDifferenceGain)
            call.usageError(QStringLiteral("--gain takes %1 .. %2").arg(kMinDifferenceGain).arg(kMaxDifferenceGain));
    }
    const QString out = call.isSet("diff") ? call.values("diff").first() : QString();
    PictureFiles files(call);
    if (!out.isEmpty())
        files.checkOutputName(out);
    TImageControl a, b;
    files.load(call.arg(0), a);
    files.load(call.arg(1), b);
    const std::optional<TImageComparison> numbers = CompareImages(a.picture(), b.picture());
    if (!numbers)
        throw Failure{QStringLiteral("the pictures are of different sizes, %1 x %2 and %3 x %4: only pictures of one "
                                     "size can be compared")
                          .arg(a.picture().width())
                          .arg(a.picture().height())
                          .arg(b.picture().width())
                          .arg(b.picture().height())};
    if (!out.isEmpty()) {
        // Written over A's own copy, so that two pictures are all that is held.
        TImageControl difference;
        difference.setPicture(DifferenceImage(std::move(a.canvas()), b.picture(), TCompareChannel::All, gain));
        b.setPicture(QImage());
        files.save(out, difference);
    }
    // Qt took the user's locale at start; the figures keep a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    std::printf("differing\t%llu\n", static_cast<unsigned long long>(numbers->Differing));
    printDifferences("max", *numbers, [](const TChannelDifference& d) { return double(d.Max); });
    printDifferences("mae", *numbers, [](const TChannelDifference& d) { return d.Mae; });
    printDifferences("mse", *numbers, [](const TChannelDifference& d) { return d.Mse; });
    printDifferences("psnr", *numbers, [](const TChannelDifference& d) { return d.Psnr; });
    return kSuccess;
}

}  // namespace

std::span<const Command> pictureCommands()
{
    static const std::vector<Command> commands{
        {"info",
         nullptr,
         "Loads the picture as convert does and prints its width, height and pixel format as read (e.g. \"640 480 "
         "pf8bit\").",
         {{"FILE", kPictureIn.description}},
         {},
         info},
        {"convert",
         nullptr,
         "Writes the picture in the kind OUT's extension names.",
         {kPictureIn, kOut},
         {qualityOption()},
         convert},
        {"grey",
         nullptr,
         "Grey levels: every channel takes the root mean square of the three.",
         {kPictureIn, kOut},
         {qualityOption()},
         grey},
        {"mirror",
         nullptr,
         "Mirrors left to right (H) or top to bottom (V).",
         {{"H|V", "H mirrors left to right, V top to bottom."}, kPictureIn, kOut},
         {qualityOption()},
         mirror},
        {"rot90",
         nullptr,
         "Turns by 90 degrees: + counter-clockwise, - clockwise.",
         {{"+|-", "+ counter-clockwise, - clockwise."}, kPictureIn, kOut},
         {qualityOption()},
         rot90},
        {"rotate",
         "ANGLE --centre [--fill] IN OUT [--quality]",
         "Turns by ANGLE degrees (-89.9 .. 89.9, positive counter-clockwise) about a pixel; the corners uncovered take "
         "the fill colour. An angle of 0 writes the picture as it is.",
         {{"ANGLE", "Degrees, e.g. 12.5 or -30."}, kPictureIn, kOut},
         {{"centre", "ROW COL", "The pixel turned about (required); whole numbers."},
          {"fill", "RRGGBB", "The colour of uncovered corners (FFFFFF unless given)."},
          qualityOption()},
         rotate},
        {"crop",
         nullptr,
         "Keeps the rectangle with these corners, both included, given in any order and clipped to the picture.",
         {{"LEFT", "Column of one corner."},
          {"TOP", "Row of one corner."},
          {"RIGHT", "Column of the other corner."},
          {"BOTTOM", "Row of the other corner."},
          kPictureIn,
          kOut},
         {qualityOption()},
         crop},
        {"scale",
         "(--zoom | --size [--keep-proportions]) IN OUT [--quality]",
         "Resamples by area average; zoom 0.01 .. 8 and sides 1 .. 6000, corrected with a warning when outside.",
         {kPictureIn, kOut},
         {{"zoom", "Z", "Scale both sides by Z."},
          {"size", "W H", "Make the picture W pixels wide and H high."},
          {"keep-proportions", "", "With --size: keep the proportions, fitting within W x H."},
          qualityOption()},
         scale},
        {"compare",
         nullptr,
         "Compares two pictures of one size: \"differing\" and the pixels differing in any channel, then max, mae "
         "(mean absolute difference), mse and psnr (10 log10(255^2 / mse) dB, \"inf\" where equal), each for B, G, "
         "R and Light (the histograms' level), tab-separated, as %.6g. Pictures of different sizes are refused.",
         {{"A", "The first picture: a BMP, or a JPEG, PNG, TIFF or WebP named by its extension."},
          {"B", "The second picture, of the same size and kind of name."}},
         {{"diff", "OUT",
           "Also write the difference |A - B| of each channel, times K, in the kind OUT's extension "
           "names."},
          {"gain", "K", "With --diff: multiply the differences by K, 1 .. 64, stopping at 255 (1 unless given)."},
          qualityOption()},
         compare},
    };
    return commands;
}

}  // namespace ormica::cli
