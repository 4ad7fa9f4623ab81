#pragma once

#include "ui/engine/text_image_dialog.h"

namespace ormica {

// Writes the source array to a text image file chosen in a save dialog.
class TExportTxtDialog : public TTextImageDialog {
    Q_OBJECT
public:
    // `dialogs` asks for the file; not owned, may be null (then OK only closes).
    explicit TExportTxtDialog(TFileDialogs* dialogs, QWidget* parent = nullptr);

protected:
    void Run() override;
};

}  // namespace ormica
