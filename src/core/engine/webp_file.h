#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>

namespace ormica {

// Encodes a 24-bit picture as WebP straight from its rows, with no converted
// copy of it, and streams the file out as the encoder makes it. Quality
// below 100 is lossy; at 100 the file is lossless. The bytes are those
// Qt's writer makes of the same picture and quality. False when the picture
// cannot be encoded, with the reason in `error`, or written, with an empty
// `error` (the device knows why).
bool WriteWebp(const QImage& picture, QIODevice& out, int quality, QString& error);

}  // namespace ormica
