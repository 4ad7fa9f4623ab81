#pragma once

#include "core/engine/image_control.h"
#include "core/engine/img_tab.h"
#include "core/engine/progress.h"

namespace ormica {

// Pictures above this many pixels are filled into their array only when the
// user agrees: most operations grow slow on them.
inline constexpr int kAutoFillLimit = 18000000;

// Refreshes the array of an image whose picture was just rebuilt (scaling).
// Above the limit asks first; on No the array is emptied and the picture
// stays shown.
void AutoFillImgTab(TImageControl& image, TImgTabBGR& arr, TProgress* progress);

}  // namespace ormica
