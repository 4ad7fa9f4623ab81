// Commands on brightness transfer functions: printing a generated or loaded
// function, and applying a function file to a picture.
#include "cli/cli.h"

#include "core/engine/img_service.h"
#include "core/transfer/fcc_file.h"
#include "core/transfer/point_list.h"
#include "core/transfer/transfer_function.h"

#include <QByteArray>
#include <cstdio>
#include <optional>

namespace ormica::cli {

namespace {

// The editor the window holds its function in.
constexpr int kEditorSize = 512;

// The function as the editor holds it after the array is put into it.
TBrightPointArray throughEditor(const TBrightPointArray& points, bool negative)
{
    TPointEditorModel editor(kEditorSize, kEditorSize);
    editor.SetPoints(points);
    if (negative)
        editor.InvertY();
    return editor.GetPoints();
}

// The position of `text` in `names`, or a usage error naming the option.
int choice(const Invocation& call, const QString& text, const QStringList& names, const QString& what)
{
    const qsizetype index = names.indexOf(text);
    if (index < 0)
        call.usageError(QStringLiteral("%1 is one of %2").arg(what, names.join(QLatin1Char('|'))));
    return int(index);
}

// 4, 8, 16 or 32 as the list item 0..3.
int sectionItem(const Invocation& call, const char* option)
{
    const QString what = QStringLiteral("--") + QLatin1String(option);
    return choice(call, call.values(option).first(),
                  {QStringLiteral("4"), QStringLiteral("8"), QStringLiteral("16"), QStringLiteral("32")}, what);
}

int gratingWidth(const Invocation& call)
{
    if (!call.isSet("width"))
        return 0;
    const int width = call.wholeNumber(call.values("width").first(), QStringLiteral("--width"));
    if (width < 0 || width > 4)
        call.usageError(QStringLiteral("--width is 0 .. 4"));
    return width;
}

int curve(const Invocation& call)
{
    const char* const generators[] = {"formula", "step", "grating", "fcc"};
    int chosen = 0;
    for (const char* option : generators)
        if (call.isSet(option))
            ++chosen;
    if (chosen != 1)
        call.usageError(QStringLiteral("give exactly one of --formula, --step, --grating and --fcc"));
    if (!call.isSet("formula") && (call.isSet("xe") || call.isSet("points")))
        call.usageError(QStringLiteral("--xe and --points belong to --formula"));
    if (!call.isSet("step") && !call.isSet("grating") && call.isSet("width"))
        call.usageError(QStringLiteral("--width belongs to --step and --grating"));

    TBrightPointArray points;
    if (call.isSet("formula")) {
        if (!call.isSet("xe") || !call.isSet("points"))
            call.usageError(QStringLiteral("--formula needs --xe and --points"));
        // In the order of the formula list: identity is the list's first item.
        const int kind = choice(call, call.values("formula").first(),
                                {QStringLiteral("identity"), QStringLiteral("ln"), QStringLiteral("exp"),
                                 QStringLiteral("sqrt"), QStringLiteral("square"), QStringLiteral("sin")},
                                QStringLiteral("--formula"));
        const long double xe = call.extendedNumber(call.values("xe").first(), QStringLiteral("--xe"));
        if (!(xe >= 0.1L && xe <= 2.0L))
            call.usageError(QStringLiteral("--xe is 0.1 .. 2.0"));
        const int count = 4 << sectionItem(call, "points");
        const std::optional<TBrightPointArray> generated = GenerateFormulaPoints(kind, count, xe);
        // The core has said why an empty result is refused.
        if (!generated || generated->empty())
            return kFailed;
        points = *generated;
    } else if (call.isSet("step")) {
        points = GenerateSpecialPoints(1, sectionItem(call, "step"), gratingWidth(call));
    } else if (call.isSet("grating")) {
        points = GenerateSpecialPoints(2, sectionItem(call, "grating"), gratingWidth(call));
    } else {
        TFccReadState state;
        // A refused file has been reported by the core.
        if (!LoadFccFile(call.values("fcc").first(), points, state))
            return kFailed;
    }

    // The lines as a function file holds them, so that the output can be loaded.
    QByteArray text;
    for (const TBrightPoint& p : throughEditor(points, call.isSet("negative")))
        text += QByteArray::number(p.X) + QString(kFccSeparator).toLatin1() + QByteArray::number(p.Y) + "\r\n";
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout);
    return kSuccess;
}

int transfer(const Invocation& call)
{
    PictureFiles files(call);
    const QString& out = call.arg(2);
    files.checkOutputName(out);
    TBrightPointArray loaded;
    TFccReadState state;
    // A refused file has been reported by the core; nothing is written.
    if (!LoadFccFile(call.arg(0), loaded, state))
        return kFailed;
    const TBrightPointArray points = throughEditor(loaded, false);
    if (TOperationRecord* r = call.describe(TOperationRecord::TKind::Transfer))
        r->Points = points;

    return arrayOperation(files, call.arg(1), out, [&](const TImgTabBGR& source, TImgTabBGR& target) {
        ConvertImageTab(source, target, points, *files.progress());
    });
}

}  // namespace

std::span<const Command> transferCommands()
{
    static const std::vector<Command> commands{
        {"curve",
         "(--formula --xe --points | --step [--width] | --grating [--width] | --fcc) [--negative]",
         "Prints a transfer function as the 512 x 512 point editor holds it, one point a line, X tab Y, as a "
         "function file (.fcc) holds it.",
         {},
         {{"formula", "NAME", "A smooth function: identity, ln, exp, sqrt, square or sin."},
          {"xe", "XE", "The end of the formula's range, 0.1 .. 2.0."},
          {"points", "N", "The formula's points: 4, 8, 16 or 32."},
          {"step", "N", "A step function of 4, 8, 16 or 32 sections."},
          {"grating", "N", "A grating function of 4, 8, 16 or 32 sections."},
          {"width", "W", "The grating width of --step or --grating, 0 .. 4 (default 0)."},
          {"fcc", "FILE", "A function file, loaded as the program loads it."},
          {"negative", "", "The negative of the function: every point mirrored vertically."}},
         curve},
        {"transfer",
         nullptr,
         "Applies the function in a function file to a picture's brightness, as the program does after loading "
         "the file.",
         {{"FCC", "The function file (.fcc)."}, kPictureIn, {"OUT", "The picture to write."}},
         {qualityOption()},
         transfer},
    };
    return commands;
}

}  // namespace ormica::cli
