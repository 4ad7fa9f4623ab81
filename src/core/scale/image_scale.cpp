#include "core/scale/image_scale.h"

#include "core/engine/large_block.h"

#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"
#include "core/scale/area_resample.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>
#include <cstring>

namespace ormica {

namespace {

int roundEven(double v)
{
    return int(std::nearbyint(v));
}

// printf's %4.1f with the locale's decimal separator.
QString fixed41(double v)
{
    QString text = QString::asprintf("%4.1f", v);
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

}  // namespace

QString TImageScale::SizeWarning()
{
    return QCoreApplication::translate(
               "ImageScale",
               "Размер строки или столбца ВНЕ диапазона:\r\n( 1 ... %1 ) пикселей\r\nЗапрос будет исправлен")
        .arg(kMaxSide);
}

QString TImageScale::ZoomWarning()
{
    return QCoreApplication::translate("ImageScale", "Zoom ВНЕ диапазона:\r\n( %1 ... %2 ) %\r\nЗапрос будет исправлен")
        .arg(fixed41(1.0), fixed41(800.0));
}

void TImageScale::SetSource(TImageControl* image)
{
    Source = image;
    if (image)
        ReadSourceSize();
}

void TImageScale::ReadSourceSize()
{
    SrcHeight = Source ? Source->picture().height() : 0;
    SrcWidth = Source ? Source->picture().width() : 0;
}

void TImageScale::SetZoom(double x)
{
    if (!Source)
        return;
    ReadSourceSize();
    Zoom = x;
    Corrected = false;
    if (!(x >= kMinZoom)) {  // a NaN is out of range too
        Zoom = kMinZoom;
        Corrected = true;
        messages().warning(ZoomWarning());
    }
    if (Zoom > kMaxZoom) {
        Zoom = kMaxZoom;
        Corrected = true;
        messages().warning(ZoomWarning());
    }
    TrgHeight = roundEven(SrcHeight * Zoom);
    TrgWidth = roundEven(Zoom * SrcWidth);
    // LimitTarget clears the flag when the sides fit; a corrected zoom must
    // still be reported, or the dialog would keep showing what was typed.
    const bool zoomCorrected = Corrected;
    LimitTarget();
    Corrected = Corrected || zoomCorrected;
}

void TImageScale::SetTargetHeight(int h)
{
    setSide(h, TrgHeight, TrgWidth, SrcHeight, SrcWidth);
}

void TImageScale::SetTargetWidth(int w)
{
    setSide(w, TrgWidth, TrgHeight, SrcWidth, SrcHeight);
}

// One side as requested (within 1..6000); with proportions the other follows.
void TImageScale::setSide(int requested, int& side, int& other, const int& srcSide, const int& srcOther)
{
    if (!Source)
        return;
    ReadSourceSize();
    if (requested > kMaxSide) {
        side = kMaxSide;
        Corrected = true;
        messages().warning(SizeWarning());
    } else {
        side = requested;
        Corrected = false;
    }
    if (side <= 0)
        side = 1;
    if (!Proportional || srcSide <= 0)
        return;
    // A very flat picture could give a side of 0; a picture has at least one.
    other = std::max(1, roundEven(double(side) / srcSide * srcOther));
    if (other > kMaxSide)
        LimitTarget();
}

void TImageScale::LimitTarget()
{
    if (TrgWidth <= kMaxSide && TrgHeight <= kMaxSide) {
        Corrected = false;
    } else {
        if (TrgWidth > TrgHeight) {
            TrgHeight = roundEven(double(TrgHeight) / TrgWidth * kMaxSide);
            TrgWidth = kMaxSide;
        }
        if (TrgHeight > TrgWidth) {
            TrgWidth = roundEven(double(TrgWidth) / TrgHeight * kMaxSide);
            TrgHeight = kMaxSide;
        }
        if (TrgWidth == TrgHeight) {
            TrgWidth = kMaxSide;
            TrgHeight = kMaxSide;
        }
        Corrected = true;
        messages().warning(SizeWarning());
    }
    if (TrgWidth <= 0)
        TrgWidth = 1;
    if (TrgHeight <= 0)
        TrgHeight = 1;
}

void TImageScale::Execute()
{
    if (!Source || !Target || SrcHeight == 0 || SrcWidth == 0)
        return;
    const QImage& picture = Source->picture();
    const QImage source = Is24Bit(picture) ? picture : picture.convertToFormat(QImage::Format_BGR888);
    if (source.isNull())
        return;
    // A work bitmap still shared with a picture would be copied on writing.
    if (work_.width() != TrgWidth || work_.height() != TrgHeight || !work_.isDetached())
        work_ = NewPicture(TrgWidth, TrgHeight, QImage::Format_BGR888);
    if (work_.isNull()) {
        messages().warning(
            QCoreApplication::translate("ImageScale", "TImageScale.Execute : Недостаточно памяти для изображения."));
        return;
    }
    AreaResample(source, work_);
    Target->setPicture(work_);
}

}  // namespace ormica
