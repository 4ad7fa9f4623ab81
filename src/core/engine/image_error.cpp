#include "core/engine/image_error.h"

namespace ormica {

QString PictureTooLargeText(qint64 width, qint64 height)
{
    return QStringLiteral("Недопустимый размер изображения: %1 x %2 пикселей.").arg(width).arg(height);
}

}  // namespace ormica
