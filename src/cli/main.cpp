// ormica-cli: the core's operations for batch work and measurements.
#include "engine/bmp_file.h"
#include "engine/geometry.h"
#include "engine/gray.h"
#include "engine/image_error.h"
#include "engine/img_service.h"
#include "engine/jpeg_codec.h"
#include "engine/load_save_image.h"
#include "engine/message_sink.h"
#include "engine/text_convert.h"
#include "scale/image_scale.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <cstdio>

using namespace ormica;

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

class PanelToStderr : public TTextPanel {
public:
    void setText(const QString& text) override { text_ = text; }
    QString text() const override { return text_; }

private:
    QString text_;
};

void fail(const QString& text)
{
    QString flat = text.trimmed();
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    std::fprintf(stderr, "ormica-cli: %s\n", flat.toUtf8().constData());
}

int usage()
{
    std::fprintf(stderr, "usage: ormica-cli info FILE\n"
                         "       ormica-cli convert IN OUT [--quality N]\n"
                         "       ormica-cli grey IN OUT [--quality N]\n"
                         "       ormica-cli mirror H|V IN OUT\n"
                         "       ormica-cli rot90 +|- IN OUT\n"
                         "       ormica-cli rotate ANGLE --centre ROW COL [--fill RRGGBB] IN OUT\n"
                         "       ormica-cli crop LEFT TOP RIGHT BOTTOM IN OUT\n"
                         "       ormica-cli scale (--zoom Z | --size W H [--keep-proportions]) IN OUT\n"
                         "OUT is written as JPEG (.jpg, .jpeg) or BMP (.bmp); JPEG quality is 100 unless given.\n"
                         "Numbers use a decimal point. Corrections and warnings go to stderr.\n");
    return kUsage;
}

QString upperSuffix(const QString& name)
{
    return QFileInfo(name).suffix().toUpper();
}

bool isBmpFile(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(2) == "BM";
}

// Loads as the program does: BMP files by their header, JPEG by extension.
bool load(TLoadSaveImage& service, PanelToStderr& panel, const QString& file, TImageControl& image)
{
    if (!QFileInfo(file).isFile()) {
        fail(QStringLiteral("no such file: %1").arg(file));
        return false;
    }
    const bool ok = isBmpFile(file) ? service.LoadBmp(file, image) : service.LoadJpeg(file, image);
    if (!ok)
        fail(panel.text().isEmpty() ? QStringLiteral("not a JPEG or BMP picture: %1").arg(file) : panel.text());
    return ok;
}

bool save(TLoadSaveImage& service, PanelToStderr& panel, const QString& file, TImageControl& image)
{
    const QString ext = upperSuffix(file);
    bool ok = false;
    if (ext == QLatin1String("JPG") || ext == QLatin1String("JPEG")) {
        ok = service.SaveJpeg(file, image);
    } else if (ext == QLatin1String("BMP")) {
        ok = service.SaveBmp(file, image);
    } else {
        fail(QStringLiteral("cannot tell the output type from the name (use .jpg, .jpeg or .bmp): %1").arg(file));
        return false;
    }
    if (!ok)
        fail(panel.text());
    return ok;
}

// Takes "--name" and its `count` values out of the arguments.
bool takeOption(QStringList& args, const char* name, int count, QStringList& values)
{
    const int at = int(args.indexOf(QLatin1String(name)));
    if (at < 0)
        return false;
    values = args.mid(at + 1, count);
    args.remove(at, std::min<qsizetype>(count + 1, args.size() - at));
    return true;
}

bool toInt(const QString& text, int& value)
{
    return !text.trimmed().isEmpty() && TextToInt(text, value);
}

// Runs an array operation of the program: source array in, target array out.
template <class Operation>
int arrayOperation(TLoadSaveImage& service, PanelToStderr& panel, const QString& in, const QString& out,
                   Operation operation)
{
    TImageControl source, target;
    if (!load(service, panel, in, source))
        return kFailed;
    TImgTabBGR srcArr, trgArr;
    ImageToImgTab(source, srcArr, nullptr);
    operation(srcArr, trgArr);
    if (trgArr.empty()) {
        fail(QStringLiteral("the operation gave no picture"));
        return kFailed;
    }
    ImgTabToImage(trgArr, target, nullptr);
    return save(service, panel, out, target) ? 0 : kFailed;
}

int run(const QStringList& args)
{
    if (args.isEmpty())
        return usage();
    const QString command = args.first();
    QStringList rest = args.mid(1);

    int quality = 100;
    const int q = int(rest.indexOf(QStringLiteral("--quality")));
    if (q >= 0) {
        bool ok = false;
        quality = q + 1 < rest.size() ? rest.at(q + 1).toInt(&ok) : 0;
        if (!ok || quality < 1 || quality > 100) {
            fail(QStringLiteral("--quality takes a whole number from 1 to 100"));
            return kUsage;
        }
        rest.remove(q, 2);
    }

    TSilentProgress progress;
    PanelToStderr panel;
    TLoadSaveImage service(&progress, &panel, nullptr);
    service.JpegQuality = std::uint8_t(quality);
    TImageControl image;

    if (command == QLatin1String("info") && rest.size() == 1) {
        const QString file = rest.first();
        if (!QFileInfo(file).isFile()) {
            fail(QStringLiteral("no such file: %1").arg(file));
            return kFailed;
        }
        if (isBmpFile(file)) {
            const TBmpHeader h = ReadBmpHeader(file);
            std::printf("%lld %lld %s\n", h.width, h.height, PixelFormatName(h.format).toLatin1().constData());
            return 0;
        }
        if (!load(service, panel, file, image))
            return kFailed;
        std::printf("%d %d %s\n", image.picture().width(), image.picture().height(),
                    PixelFormatName(image.imageDesc()->PixelFormat).toLatin1().constData());
        return 0;
    }
    if ((command == QLatin1String("convert") || command == QLatin1String("grey")) && rest.size() == 2) {
        if (!load(service, panel, rest.at(0), image))
            return kFailed;
        if (command == QLatin1String("grey")) {
            BitMapToGrayBitMap(image.picture(), image.canvas());
            image.pictureChanged();
        }
        return save(service, panel, rest.at(1), image) ? 0 : kFailed;
    }
    if (command == QLatin1String("mirror") && rest.size() == 3) {
        const QString mode = rest.at(0).toUpper();
        if (mode != QLatin1String("H") && mode != QLatin1String("V"))
            return usage();
        return arrayOperation(service, panel, rest.at(1), rest.at(2), [&](TImgTabBGR& s, TImgTabBGR& t) {
            MirrorToTrgArr(s, char(mode.at(0).toLatin1()), t, &progress);
        });
    }
    if (command == QLatin1String("rot90") && rest.size() == 3) {
        const QString mode = rest.at(0);
        if (mode != QLatin1String("+") && mode != QLatin1String("-"))
            return usage();
        return arrayOperation(service, panel, rest.at(1), rest.at(2), [&](TImgTabBGR& s, TImgTabBGR& t) {
            Rotate90PlusMinus(s, char(mode.at(0).toLatin1()), t, &progress);
        });
    }
    if (command == QLatin1String("rotate")) {
        QStringList centre, fill;
        if (!takeOption(rest, "--centre", 2, centre) || centre.size() != 2)
            return usage();
        TColor fillColor = clWhite;
        if (takeOption(rest, "--fill", 1, fill)) {
            bool ok = fill.size() == 1 && fill.at(0).size() == 6;
            const uint rgb = ok ? fill.at(0).toUInt(&ok, 16) : 0;
            if (!ok) {
                fail(QStringLiteral("--fill takes a colour as RRGGBB, e.g. FFFFFF"));
                return kUsage;
            }
            fillColor = RGBToColor(int(rgb >> 16), int(rgb >> 8), int(rgb));
        }
        int row = 0, col = 0;
        long double angle = 0;
        if (rest.size() != 3 || !toInt(centre.at(0), row) || !toInt(centre.at(1), col)) {
            fail(QStringLiteral("rotate needs ANGLE --centre ROW COL IN OUT, ROW and COL whole numbers"));
            return kUsage;
        }
        if (!TextToReal(rest.at(0), angle))
            return kUsage;
        angle = CheckRotationAngle(angle);
        if (angle == 0) {
            fail(QStringLiteral("nothing rotated"));
            return kFailed;
        }
        return arrayOperation(service, panel, rest.at(1), rest.at(2), [&](TImgTabBGR& s, TImgTabBGR& t) {
            RotateForTabBGR(s, row, col, &progress, t, fillColor, angle);
        });
    }
    if (command == QLatin1String("crop") && rest.size() == 6) {
        int r[4];
        for (int i = 0; i < 4; ++i)
            if (!toInt(rest.at(i), r[i]))
                return usage();
        // As the program's selection: corners in any order, normalised.
        const TRect rect = NormalizeRect({r[0], r[1]}, {r[2], r[3]});
        return arrayOperation(service, panel, rest.at(4), rest.at(5),
                              [&](TImgTabBGR& s, TImgTabBGR& t) { SelectedToImgTab(s, rect, t); });
    }
    if (command == QLatin1String("scale")) {
        QStringList zoom, size, none;
        const bool keep = takeOption(rest, "--keep-proportions", 0, none);
        const bool byZoom = takeOption(rest, "--zoom", 1, zoom);
        const bool bySize = takeOption(rest, "--size", 2, size);
        if (byZoom == bySize || rest.size() != 2 || (byZoom && zoom.size() != 1) || (bySize && size.size() != 2))
            return usage();
        TImageControl image, target;
        if (!load(service, panel, rest.at(0), image))
            return kFailed;
        TImageScale scale;
        scale.SetSource(&image);
        scale.Target = &target;
        if (byZoom) {
            long double z = 0;
            if (!TextToReal(zoom.at(0), z))
                return kUsage;
            scale.SetZoom(double(z));
        } else {
            int w = 0, h = 0;
            if (!toInt(size.at(0), w) || !toInt(size.at(1), h))
                return usage();
            scale.Proportional = keep;
            scale.SetTargetWidth(w);
            // Kept proportions fit the picture within W x H.
            if (!keep || scale.TrgHeight > h)
                scale.SetTargetHeight(h);
        }
        scale.Execute();
        return save(service, panel, rest.at(1), target) ? 0 : kFailed;
    }
    return usage();
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());  // batch files read the same everywhere
    RaiseImageAllocationLimit();
    TStreamMessageSink sink(false);
    setMessageSink(&sink);
    try {
        return run(app.arguments().mid(1));
    } catch (const TImageError& e) {
        fail(e.text());
    } catch (const std::exception& e) {
        fail(QString::fromLocal8Bit(e.what()));
    }
    return kFailed;
}
