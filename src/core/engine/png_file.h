#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>

namespace ormica {

// Every chunk's declared length lies within the file, up to IEND. The
// libraries allocate a chunk as declared before they read it: a 266-byte
// file can ask for gigabytes.
bool PngChunksWithinFile(const QString& fileName);

// PNG files of sixteen bits a channel. Qt's reader would hold such a picture
// at eight bytes a pixel before the change to 24 bits (a 1.4 MB file can
// declare 1.4 GB of them), so these are read row by row with libpng straight
// into the 24-bit picture, with the same pixels as Qt's reader and its
// conversion give: each channel rounded to v / 257, alpha dropped, colours
// kept as stored.

// True when the header says sixteen bits a channel.
bool IsDeepPng(const QString& fileName);

// The 24-bit picture; a null one with the reason in `error` when the file
// cannot be read or is damaged. Throws TImageError for an absurd size.
QImage ReadDeepPng(const QString& fileName, QString& error);

// Writes a 24-bit picture as an 8-bit RGB PNG straight from its rows, with
// the chunks and compression Qt's writer uses (the same bytes), but without
// its converted copy and without the buffer it loses when a write fails.
// False with the reason in `error`.
bool WritePng(const QImage& picture, QIODevice& out, QString& error);

}  // namespace ormica
