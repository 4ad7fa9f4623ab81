// ormica-cli: the core's operations for batch work and measurements.
#include "engine/bmp_file.h"
#include "engine/gray.h"
#include "engine/image_error.h"
#include "engine/jpeg_codec.h"
#include "engine/load_save_image.h"
#include "engine/message_sink.h"

#include <QCoreApplication>
#include <QFileInfo>
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
                         "OUT is written as JPEG (.jpg, .jpeg) or BMP (.bmp); JPEG quality is 100 unless given.\n");
    return kUsage;
}

QString upperSuffix(const QString& name)
{
    return QFileInfo(name).suffix().toUpper();
}

// Loads as the program does: BMP files by their header, JPEG by extension.
bool load(TLoadSaveImage& service, PanelToStderr& panel, const QString& file, TImageControl& image)
{
    if (!QFileInfo(file).isFile()) {
        fail(QStringLiteral("no such file: %1").arg(file));
        return false;
    }
    QFile f(file);
    const bool bmp = f.open(QIODevice::ReadOnly) && f.read(2) == "BM";
    const bool ok = bmp ? service.LoadBmp(file, image) : service.LoadJpeg(file, image);
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
        QFile f(file);
        if (f.open(QIODevice::ReadOnly) && f.read(2) == "BM") {
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
    return usage();
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
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
