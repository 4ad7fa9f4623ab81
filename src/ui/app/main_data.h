#pragma once

#include "core/engine/img_tab.h"

#include <QString>

class QTabWidget;

namespace ormica {
class TImageControl;
}

// The state through which the main window and the tool windows share the two
// images. Written only from the user-interface thread.
namespace ormica::MainData {

// Folder of the program file, without a trailing separator.
extern QString ProgramDir;
extern TImageControl* SrcImageRef;
extern TImageControl* TrgImageRef;
extern QTabWidget* PagesRef;
extern TImgTabBGR SrcArr;
extern TImgTabBGR TrgArr;
// Set by the histogram window when it has written the target image.
extern bool TargetChanged;
// Set by the filter window when it has written the target image.
extern bool TargetFiltered;

}  // namespace ormica::MainData
