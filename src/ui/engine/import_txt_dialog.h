#pragma once

#include "core/engine/img_tab.h"
#include "ui/engine/text_image_dialog.h"

namespace ormica {

// Reads a text image file chosen in an open dialog into an image array (the
// program's source array); the caller draws the array afterwards.
class TImportTxtDialog : public TTextImageDialog {
    Q_OBJECT
public:
    // `dialogs` asks for the file; not owned, may be null (then OK only closes).
    // `target` is the array filled; it must outlive the dialog.
    TImportTxtDialog(TFileDialogs* dialogs, TImgTabBGR& target, QWidget* parent = nullptr);

protected:
    void Run() override;

private:
    TImgTabBGR& target_;
};

}  // namespace ormica
