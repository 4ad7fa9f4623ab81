// Commands on whole pictures: files, grey, geometry, scaling and comparison.
#include "cli/cli.h"

#include "core/engine/geometry.h"
#include "core/engine/gray.h"
#include "core/engine/img_service.h"
#include "core/engine/rect.h"
#include "core/engine/sample_pictures.h"
#include "core/histogram/image_compare.h"
#include "core/scale/image_scale.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>

namespace ormica::cli {

namespace {

const CommandArgument kOut{"OUT",
                           QT_TRANSLATE_NOOP("CliHelp", "Записываемое изображение; формат задаётся расширением.")};

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
        call.usageError(QCoreApplication::translate("CliPictures", "режим — H или V, а не \"%1\"").arg(call.arg(0)));
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
        call.usageError(QCoreApplication::translate("CliPictures", "направление — + или -, а не \"%1\"").arg(mode));
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
        call.usageError(QCoreApplication::translate("CliPictures",
                                                    "--fill принимает цвет в виде RRGGBB, например FFFFFF, а не \"%1\"")
                            .arg(text));
    return RGBToColor(int(rgb >> 16), int(rgb >> 8), int(rgb));
}

int rotate(const Invocation& call)
{
    long double angle = call.extendedNumber(call.arg(0), QStringLiteral("ANGLE"));
    const QStringList centre = call.values("centre");
    if (centre.isEmpty())
        call.usageError(QCoreApplication::translate("CliPictures", "нужен параметр --centre ROW COL"));
    const int row = call.wholeNumber(centre.at(0), QStringLiteral("ROW"));
    const int col = call.wholeNumber(centre.at(1), QStringLiteral("COL"));
    const TColor fill = call.isSet("fill") ? readColour(call, call.values("fill").first()) : clWhite;
    PictureFiles files(call);
    // Out of range, the program warns and rotates nothing; here that is a
    // wrong command line, found before any file is read.
    if (angle != 0 && CheckRotationAngle(angle) == 0)
        call.usageError(
            QCoreApplication::translate("CliPictures", "ANGLE должен лежать в пределах -89.9 .. 89.9 градуса"));
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
        call.usageError(QCoreApplication::translate("CliPictures", "укажите либо --zoom Z, либо --size W H"));
    double zoom = 0;
    int width = 0, height = 0;
    if (byZoom) {
        zoom = call.realNumber(call.values("zoom").first(), QStringLiteral("--zoom"));
    } else {
        width = call.wholeNumber(call.values("size").at(0), QStringLiteral("W"));
        height = call.wholeNumber(call.values("size").at(1), QStringLiteral("H"));
        if (width < 1 || height < 1)
            call.usageError(QCoreApplication::translate("CliPictures", "W и H — стороны не меньше одного пикселя"));
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
        throw Failure{QCoreApplication::translate("CliPictures", "изображение не удалось масштабировать")};
    files.save(call.arg(1), target);
    return kSuccess;
}

QStringList sampleKeys()
{
    QStringList keys;
    for (const TSampleInfo& s : Samples())
        keys << QLatin1String(s.key);
    return keys;
}

QString sampleDescription()
{
    return QCoreApplication::translate("CliHelp", "Образец: %1.").arg(orList(sampleKeys()));
}

int sample(const Invocation& call)
{
    const std::optional<TSample> which = SampleByKey(call.arg(0));
    if (!which)
        call.usageError(QCoreApplication::translate("CliPictures", "NAME — одно из %1, а не \"%2\"")
                            .arg(sampleKeys().join(QLatin1Char('|')), call.arg(0)));
    PictureFiles files(call);
    files.checkOutputName(call.arg(1));
    TImageControl image;
    image.setPicture(MakeSample(*which));
    files.save(call.arg(1), image);
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
            call.usageError(QCoreApplication::translate("CliPictures", "--gain принимает %1 .. %2")
                                .arg(kMinDifferenceGain)
                                .arg(kMaxDifferenceGain));
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
        throw Failure{QCoreApplication::translate("CliPictures", "изображения разных размеров, %1 x %2 и %3 x %4: "
                                                                 "сравнивать можно только изображения одного размера")
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

// Turns, crops and resizes.
std::vector<Command> geometryCommands()
{
    return {
        {"rotate",
         "ANGLE --centre [--fill] IN OUT [--quality]",
         QT_TRANSLATE_NOOP("CliHelp", "Поворачивает вокруг пикселя на ANGLE градусов (-89.9 .. 89.9, положительный "
                                      "угол — против часовой стрелки); открывшиеся углы получают цвет заливки. При "
                                      "угле 0 изображение записывается как есть."),
         {{"ANGLE", QT_TRANSLATE_NOOP("CliHelp", "Градусы, например 12.5 или -30.")}, kPictureIn, kOut},
         {{"centre", "ROW COL", QT_TRANSLATE_NOOP("CliHelp", "Пиксель — центр поворота (обязателен); целые числа.")},
          {"fill", "RRGGBB", QT_TRANSLATE_NOOP("CliHelp", "Цвет открывшихся углов (по умолчанию FFFFFF).")},
          qualityOption()},
         rotate},
        {"crop",
         nullptr,
         QT_TRANSLATE_NOOP("CliHelp", "Оставляет прямоугольник с этими углами, оба включительно; углы задаются в "
                                      "любом порядке, прямоугольник обрезается по изображению."),
         {{"LEFT", QT_TRANSLATE_NOOP("CliHelp", "Столбец одного угла.")},
          {"TOP", QT_TRANSLATE_NOOP("CliHelp", "Строка одного угла.")},
          {"RIGHT", QT_TRANSLATE_NOOP("CliHelp", "Столбец другого угла.")},
          {"BOTTOM", QT_TRANSLATE_NOOP("CliHelp", "Строка другого угла.")},
          kPictureIn,
          kOut},
         {qualityOption()},
         crop},
        {"scale",
         "(--zoom | --size [--keep-proportions]) IN OUT [--quality]",
         QT_TRANSLATE_NOOP("CliHelp", "Пересчитывает изображение усреднением по площади; масштаб 0.01 .. 8 и "
                                      "стороны 1 .. 6000, вне этих пределов исправляются с предупреждением."),
         {kPictureIn, kOut},
         {{"zoom", "Z", QT_TRANSLATE_NOOP("CliHelp", "Умножить обе стороны на Z.")},
          {"size", "W H", QT_TRANSLATE_NOOP("CliHelp", "Сделать изображение шириной W и высотой H пикселей.")},
          {"keep-proportions", "",
           QT_TRANSLATE_NOOP("CliHelp", "С --size: сохранить пропорции, вписав изображение в W x H.")},
          qualityOption()},
         scale},
    };
}

}  // namespace

std::span<const Command> pictureCommands()
{
    static const std::vector<Command> commands = [] {
        std::vector<Command> all{
            {"info",
             nullptr,
             QT_TRANSLATE_NOOP("CliHelp", "Загружает изображение так же, как convert, и выводит его ширину, высоту и "
                                          "формат пикселей в файле (например, \"640 480 pf8bit\")."),
             {{"FILE", kPictureIn.description}},
             {},
             info},
            {"convert",
             nullptr,
             QT_TRANSLATE_NOOP("CliHelp", "Записывает изображение в формате, который задаёт расширение OUT."),
             {kPictureIn, kOut},
             {qualityOption()},
             convert},
            {"sample",
             nullptr,
             QT_TRANSLATE_NOOP("CliHelp", "Записывает одно из изображений-образцов программы, 640 x 480, в формате, "
                                          "который задаёт расширение OUT."),
             {{"NAME", nullptr, sampleDescription}, kOut},
             {qualityOption()},
             sample},
            {"grey",
             nullptr,
             QT_TRANSLATE_NOOP("CliHelp", "Уровни серого: каждый канал получает среднеквадратичное трёх каналов."),
             {kPictureIn, kOut},
             {qualityOption()},
             grey},
            {"mirror",
             nullptr,
             QT_TRANSLATE_NOOP("CliHelp", "Отражает слева направо (H) или сверху вниз (V)."),
             {{"H|V", QT_TRANSLATE_NOOP("CliHelp", "H — отражение слева направо, V — сверху вниз.")}, kPictureIn, kOut},
             {qualityOption()},
             mirror},
            {"rot90",
             nullptr,
             QT_TRANSLATE_NOOP("CliHelp", "Поворачивает на 90 градусов: + против часовой стрелки, - по часовой."),
             {{"+|-", QT_TRANSLATE_NOOP("CliHelp", "+ против часовой стрелки, - по часовой.")}, kPictureIn, kOut},
             {qualityOption()},
             rot90},
            {"compare",
             nullptr,
             QT_TRANSLATE_NOOP(
                 "CliHelp", "Сравнивает два изображения одного размера: \"differing\" и число пикселей, различных "
                            "хотя бы в одном канале, затем max, mae (средняя абсолютная разность), mse и psnr "
                            "(10 log10(255^2 / mse) дБ, \"inf\" при равенстве), каждое для B, G, R и Light (уровня "
                            "гистограмм), через табуляцию, в виде %.6g. Изображения разных размеров не принимаются."),
             {{"A",
               QT_TRANSLATE_NOOP(
                   "CliHelp", "Первое изображение: BMP, либо JPEG, PNG, TIFF или WebP, определяемый по расширению.")},
              {"B", QT_TRANSLATE_NOOP("CliHelp", "Второе изображение того же размера, с именем того же вида.")}},
             {{"diff", "OUT",
               QT_TRANSLATE_NOOP("CliHelp",
                                 "Записать также разность |A - B| каждого канала, умноженную на K, в формате, "
                                 "который задаёт расширение OUT.")},
              {"gain", "K",
               QT_TRANSLATE_NOOP("CliHelp",
                                 "С --diff: умножить разности на K, 1 .. 64, не выше 255 (по умолчанию 1).")},
              qualityOption()},
             compare},
        };
        const std::vector<Command> geometry = geometryCommands();
        // In the order of the help: after mirror and rot90, before compare.
        all.insert(all.end() - 1, geometry.begin(), geometry.end());
        return all;
    }();
    return commands;
}

}  // namespace ormica::cli
