#pragma once

#include "core/engine/image_desc.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace ormica {

// Picture files read and written through Qt's image plugins, beside the
// JPEG and BMP files of our own readers.
struct TPluginFormat {
    const char* name;        // shown in dialogs and messages: "PNG"
    const char* qtFormat;    // the plugin's format key: "png"
    TSourceKind sourceKind;  // recorded in the picture's description
    QStringList extensions;  // lower case, without the dot; the first is added on save
    QString dialogFilter() const;
    bool matches(const QString& fileName) const;
};

// The kinds whose plugin this Qt has, in dialog order (PNG, TIFF, WebP).
const std::vector<TPluginFormat>& PluginFormats();
// The kind a name's extension stands for, or nothing.
const TPluginFormat* PluginFormatOfName(const QString& fileName);

struct TPluginPicture {
    QImage picture;            // 24-bit, Format_BGR888
    TPixelFormat pixelFormat;  // as the file holds the pixels
};

// Reads the first picture of the file as the kind says (the contents must
// be of that kind) and converts it to 24 bits; an alpha channel is dropped
// and the colours kept, as in 32-bit bitmaps. Throws TImageError for a file
// that cannot be opened, is damaged, or declares an absurd size.
TPluginPicture ReadPluginPicture(const QString& fileName, const TPluginFormat& format);

// Writes the picture in one step (an old file stays as it was on failure).
// The quality counts for WebP only: below 100 it is lossy, at 100 lossless,
// as PNG and TIFF always are. Throws TImageError when the file cannot be
// written.
void WritePluginPicture(const QImage& picture, const QString& fileName, const TPluginFormat& format, int quality);

// The pixel-format code of a picture as a plugin delivers it.
TPixelFormat PluginPixelFormat(QImage::Format format);

}  // namespace ormica
