#pragma once

#include "core/engine/img_tab.h"
#include "core/explain/operation_record.h"
#include "core/filter/filter_kernel.h"

#include <QString>

namespace ormica {

class TImageControl;

// What the main window and the tool windows share. main() owns the one
// workspace of a run and hands it to each window when the window is made;
// only the user-interface thread touches it. The windows report what they
// did to it (a target written, a filter handed over) by signals, so that
// only the main window decides its own tabs and captions.
struct TWorkspace {
    TWorkspace() = default;
    // The windows keep a reference: a copy would share nothing.
    TWorkspace(const TWorkspace&) = delete;
    TWorkspace& operator=(const TWorkspace&) = delete;

    // Folder of the program file, without a trailing separator.
    QString ProgramDir;
    // The main window's image controls; a tool window shows the target it
    // writes through TrgImageRef.
    TImageControl* SrcImageRef = nullptr;
    TImageControl* TrgImageRef = nullptr;
    TImgTabBGR SrcArr;
    TImgTabBGR TrgArr;
    // The filter of the filter window, which the database window imports.
    TFilterData WorkingFilter;
    // The full name of the default base, empty when it is unavailable.
    QString DefaultBaseName;
    // The full name of the base the database window works with.
    QString CurrentBaseName;
    // What last wrote each image (0 the source, 1 the target), for explaining
    // its pixels; null when the image was loaded, pasted or drawn instead.
    TOperationRecordPtr Records[2];
};

}  // namespace ormica
