#pragma once

#include "core/engine/color.h"
#include "core/engine/img_tab.h"
#include "core/engine/rect.h"
#include "core/filter/filter_kernel.h"
#include "core/transfer/point_list.h"

#include <QImage>
#include <QString>

#include <memory>

namespace ormica {

// What last wrote an image: the operation, its parameters and the picture it
// read, so that any pixel of the result can be worked out again. The source
// is held as a QImage, which shares the pixels with the image it came from
// until one of them changes.
struct TOperationRecord {
    enum class TKind {
        Grey,
        MirrorH,       // left to right
        MirrorV,       // top to bottom
        Rotate90Plus,  // counter-clockwise
        Rotate90Minus,
        Crop,
        Rotate,  // by an angle
        Scale,
        Filter,
        Transfer,
    };
    TKind Kind = TKind::Grey;
    // The picture the operation read (Format_BGR888), all of it.
    QImage Source;
    // Crop: the rectangle taken, Right and Bottom included.
    TRect Rect;
    // Rotate: the angle in degrees, the centre and the fill colour.
    long double Degrees = 0;
    int CentreRow = 0;
    int CentreCol = 0;
    TColor Fill = clWhite;
    // Filter: the kernel as it was run (after any regulator) and its scale.
    TFilterKernel Kernel;
    std::int32_t Scale = 1;
    // Transfer: the function's points.
    TBrightPointArray Points;
};

using TOperationRecordPtr = std::shared_ptr<const TOperationRecord>;

// A record of `kind` for an operation about to read `arr`, whose picture is
// `picture` as a rule: then the picture is shared, else the array is copied.
std::shared_ptr<TOperationRecord> MakeRecord(TOperationRecord::TKind kind, const TImgTabBGR& arr,
                                             const QImage& picture);

// The operation's name as the panel and the tool show it.
QString OperationName(TOperationRecord::TKind kind);

}  // namespace ormica
