#include "core/app/auto_fill.h"

#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>

namespace ormica {

void AutoFillImgTab(TImageControl& image, TImgTabBGR& arr, TProgress* progress)
{
    image.repaintNow();
    const qint64 count = qint64(image.picture().width()) * image.picture().height();
    if (count <= kAutoFillLimit) {
        ImageToImgTab(image, arr, progress);
        return;
    }
    const QString text =
        QCoreApplication::translate("AutoFill", "Размер изображения больше чем %1 пикселей\r\n"
                                                "Автозаполнение массива для обработки изображений может\r\n"
                                                "резко увеличить время выполнения большинства операций.\r\n"
                                                "Выполнить заполнение массива для обработки изображений?")
            .arg(kAutoFillLimit);
    if (messages().question(text, TQuestionKind::Confirmation))
        ImageToImgTab(image, arr, progress);
    else
        arr.clear();
}

}  // namespace ormica
