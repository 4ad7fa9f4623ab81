#pragma once

#include "core/engine/img_tab.h"
#include "ui/engine/text_image_dialog.h"

namespace ormica {

// Writes an image array (the program's source array) to a text image file
// chosen in a save dialog.
class TExportTxtDialog : public TTextImageDialog {
    Q_OBJECT
public:
    // `dialogs` asks for the file; not owned, may be null (then OK only closes).
    // `source` is the array written; it must outlive the dialog.
    TExportTxtDialog(TFileDialogs* dialogs, const TImgTabBGR& source, QWidget* parent = nullptr);

protected:
    void Run() override;

private:
    const TImgTabBGR& source_;
};

}  // namespace ormica
