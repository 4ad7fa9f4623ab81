#pragma once

#include "core/engine/color.h"
#include "core/engine/image_control.h"
#include "core/engine/img_tab.h"
#include "core/engine/progress.h"
#include "core/engine/rect.h"

#include <QImage>

namespace ormica {

// Moving pixels between 24-bit bitmaps (QImage::Format_BGR888) and arrays.
//
// Every routine catches its own failures (out of memory, and the range limits
// below), shows a warning that begins with its name, and returns normally.
// Missing or empty input and a wrong pixel format are silent returns. The
// limits are those of the arrays' 16-bit counters: at most 65,536 rows; at
// most 21,845 pixels in a row of a colour-array conversion; at most 65,536
// columns in the grey conversion. A progress may be null.

inline bool Is24Bit(const QImage& bitmap)
{
    return bitmap.format() == QImage::Format_BGR888;
}

// Sets a bitmap of any format to 24 bits. When the conversion does not take
// (no memory for it) the bitmap stays as it was and the result is false.
bool SetPixelFormat24(QImage& bitmap);

namespace detail {
// Lets tests make the next conversions of SetPixelFormat24 fail.
void failPixelFormat24(bool fail);
}  // namespace detail

// True when the array holds exactly the picture's pixels, row by row.
bool ArrayIsPicture(const TImgTabBGR& arr, const QImage& picture);

// Copies a 24-bit bitmap into the array; anything else leaves the array as it was.
void BitMapToImgTab(const QImage& bitmap, TImgTabBGR& arr, TProgress* progress);

// BitMapToImgTab on the control's picture when it is 24-bit and not empty.
void ImageToImgTab(const TImageControl& image, TImgTabBGR& arr, TProgress* progress);

// Resizes a 24-bit bitmap to the array and copies the rows into it. A row
// shorter than row 0 leaves the rest of its scan line black.
void ImgTabToBitMap(QImage& bitmap, const TImgTabBGR& arr, TProgress* progress);

// Gives the control a new 24-bit picture drawn from the array; an empty array
// leaves the control with an empty picture.
void ImgTabToImage(const TImgTabBGR& arr, TImageControl& image, TProgress* progress);

// Deep copy.
void TabBRGtoTabBGR(const TImgTabBGR& in, TImgTabBGR& out);

void TabBRGtoTabColor(const TImgTabBGR& in, TImgTabColor& out);
void TabColorToTabBRG(const TImgTabColor& in, TImgTabBGR& out);
// The same for an array not needed afterwards (left empty): its block changes
// hands instead of being copied, as the two hold the same bytes. Rows the
// copies would trim or refuse go through them, warnings and all.
void MoveTabBRGtoTabColor(TImgTabBGR&& in, TImgTabColor& out);
void MoveTabColorToTabBRG(TImgTabColor&& in, TImgTabBGR& out);

// Copies the pixels (Left..Right, Top..Bottom), clipped to the array. A
// reversed rectangle, or one whose clipped part is a single row or column,
// copies nothing and leaves the output untouched.
void SelectedToImgTab(const TImgTabBGR& in, const TRect& rect, TImgTabBGR& out);

// Copies a fragment of a 24-bit bitmap; the rectangle's corners may come in
// any order. The fragment must lie within the first 21,845 columns.
void AreaBitMapToImgTabColor(const QImage& bitmap, const TRect& rect, TImgTabColor& out);

// Draws a colour array into a 24-bit bitmap with its top-left pixel at the
// point, clipped to the bitmap; columns beyond 10,921 are refused.
void SelectedToImgTabColor(const TImgTabColor& in, TPoint at, QImage& bitmap);

// Makes the output the shape of the first array with every pixel the colour.
// Leaves the progress at its end.
bool SetAndCrearTabBGR(const TImgTabBGR& shape, TColor color, TImgTabBGR& out, TProgress* progress);

// Shrinks the control's picture to 2 x 2 pixels (used when an image is cleared).
void MinimizePicture(TImageControl& image);

// Fills the control's whole picture with the colour; a control without a
// picture gets a 24-bit one of its own size.
void PaintImage(TImageControl& image, TColor color);

}  // namespace ormica
