#include "core/app/auto_fill.h"

#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"

namespace ormica {

void AutoFillImgTab(TImageControl& image, TImgTabBGR& arr, TProgress* progress)
{
    image.repaintNow();
    const qint64 count = qint64(image.picture().width()) * image.picture().height();
    if (count <= kAutoFillLimit) {
        ImageToImgTab(image, arr, progress);
        return;
    }
    const QString text = QStringLiteral("Размер изображения больше чем ") + QString::number(kAutoFillLimit) +
                         QStringLiteral(" пикселей\r\n"
                                        "Автозаполнение массива для обработки изображений может\r\n"
                                        "резко увеличить время выполнения большинства операций.\r\n"
                                        "Выполнить заполнение массива для обработки изображений?");
    if (messages().question(text, TQuestionKind::Confirmation))
        ImageToImgTab(image, arr, progress);
    else
        arr.clear();
}

}  // namespace ormica
