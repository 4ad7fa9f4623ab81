#include "ui/engine/color_dialog.h"

#include <QColorDialog>

namespace ormica {

std::optional<TColor> TQtColorDialog::askColor(TColor initial)
{
    const TBGRTriple c = ColorToBGR(ResolveColor(initial));
    const QColor chosen = QColorDialog::getColor(QColor(c.r, c.g, c.b), parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return RGBToColor(chosen.red(), chosen.green(), chosen.blue());
}

}  // namespace ormica
