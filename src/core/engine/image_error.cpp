#include "core/engine/image_error.h"

#include <QCoreApplication>

namespace ormica {

QString PictureTooLargeText(qint64 width, qint64 height)
{
    return QCoreApplication::translate("ImageError", "Недопустимый размер изображения: %1 x %2 пикселей.")
        .arg(width)
        .arg(height);
}

}  // namespace ormica
