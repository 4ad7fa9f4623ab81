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
        call.usageError(
            QCoreApplication::translate("CliTransfer", "%1 — одно из %2").arg(what, names.join(QLatin1Char('|'))));
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
        call.usageError(QCoreApplication::translate("CliTransfer", "--width принимает 0 .. 4"));
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
        call.usageError(QCoreApplication::translate(
            "CliTransfer", "укажите ровно один из параметров --formula, --step, --grating и --fcc"));
    if (!call.isSet("formula") && (call.isSet("xe") || call.isSet("points")))
        call.usageError(QCoreApplication::translate("CliTransfer", "--xe и --points относятся к --formula"));
    if (!call.isSet("step") && !call.isSet("grating") && call.isSet("width"))
        call.usageError(QCoreApplication::translate("CliTransfer", "--width относится к --step и --grating"));

    TBrightPointArray points;
    if (call.isSet("formula")) {
        if (!call.isSet("xe") || !call.isSet("points"))
            call.usageError(QCoreApplication::translate("CliTransfer", "--formula требует --xe и --points"));
        // In the order of the formula list: identity is the list's first item.
        const int kind = choice(call, call.values("formula").first(),
                                {QStringLiteral("identity"), QStringLiteral("ln"), QStringLiteral("exp"),
                                 QStringLiteral("sqrt"), QStringLiteral("square"), QStringLiteral("sin")},
                                QStringLiteral("--formula"));
        const long double xe = call.extendedNumber(call.values("xe").first(), QStringLiteral("--xe"));
        if (!(xe >= 0.1L && xe <= 2.0L))
            call.usageError(QCoreApplication::translate("CliTransfer", "--xe принимает 0.1 .. 2.0"));
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
         QT_TRANSLATE_NOOP("CliHelp", "Выводит функцию преобразования в том виде, в каком её хранит редактор точек "
                                      "512 x 512: по точке в строке, X, табуляция, Y — как в файле функции (.fcc)."),
         {},
         {{"formula", "NAME",
           QT_TRANSLATE_NOOP("CliHelp", "Гладкая функция: identity, ln, exp, sqrt, square или sin.")},
          {"xe", "XE", QT_TRANSLATE_NOOP("CliHelp", "Конец диапазона формулы, 0.1 .. 2.0.")},
          {"points", "N", QT_TRANSLATE_NOOP("CliHelp", "Число точек формулы: 4, 8, 16 или 32.")},
          {"step", "N", QT_TRANSLATE_NOOP("CliHelp", "Ступенчатая функция из 4, 8, 16 или 32 участков.")},
          {"grating", "N", QT_TRANSLATE_NOOP("CliHelp", "Решетчатая функция из 4, 8, 16 или 32 участков.")},
          {"width", "W",
           QT_TRANSLATE_NOOP("CliHelp", "Ширина решетки для --step или --grating, 0 .. 4 (по умолчанию 0).")},
          {"fcc", "FILE",
           QT_TRANSLATE_NOOP("CliHelp", "Файл функции, загружаемый так же, как его загружает программа.")},
          {"negative", "", QT_TRANSLATE_NOOP("CliHelp", "Негатив функции: каждая точка отражается по вертикали.")}},
         curve},
        {"transfer",
         nullptr,
         QT_TRANSLATE_NOOP("CliHelp", "Применяет функцию из файла функции к яркости изображения, как это делает "
                                      "программа после загрузки файла."),
         {{"FCC", QT_TRANSLATE_NOOP("CliHelp", "Файл функции (.fcc).")},
          kPictureIn,
          {"OUT", QT_TRANSLATE_NOOP("CliHelp", "Записываемое изображение.")}},
         {qualityOption()},
         transfer},
    };
    return commands;
}

}  // namespace ormica::cli
