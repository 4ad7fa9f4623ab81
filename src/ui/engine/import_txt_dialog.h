#pragma once

#include "ui/engine/text_image_dialog.h"

namespace ormica {

// Reads a text image file chosen in an open dialog into the source array;
// the caller draws the array afterwards.
class TImportTxtDialog : public TTextImageDialog {
    Q_OBJECT
public:
    // `dialogs` asks for the file; not owned, may be null (then OK only closes).
    explicit TImportTxtDialog(TFileDialogs* dialogs, QWidget* parent = nullptr);

protected:
    void Run() override;
};

}  // namespace ormica
