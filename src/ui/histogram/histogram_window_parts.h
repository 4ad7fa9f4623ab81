#pragma once

#include "core/engine/color.h"
#include "core/engine/image_control.h"
#include "ui/engine/qt_color.h"

#include <QColor>
#include <QRect>
#include <QString>

class QFontMetrics;
class QFrame;
class QLabel;
class QToolButton;
class QWidget;

namespace ormica {

// The general floating format of the read-outs: up to 15 significant digits,
// fixed unless below 0.00001 or beyond 15 integer digits, no trailing zeros,
// the locale's decimal separator.
QString FormatGeneral(long double value);

}  // namespace ormica

// The building blocks the tabs of the histogram window share.
namespace ormica::gistparts {

// Between a label and its field, and the height of a read-out.
constexpr int kGap = 4;
constexpr int kFieldH = 20;

QLabel* makeLabel(const QString& text, QWidget* parent, int x, int y);
// The width a sunken read-out needs to show `text` whole.
int readOutWidth(const QFontMetrics& fm, const QString& text);
// A sunken read-out.
QLabel* makeReadOut(const char* name, const QString& text, QWidget* parent, QRect geometry);
// A label at (x, y + 2) and an empty read-out after it, not left of `fieldX`.
QLabel* labelledReadOut(const QString& text, QWidget* parent, int x, int y, const char* name, int fieldX, int fieldW);
QFrame* makePanel(const char* name, QWidget* parent, QRect geometry);
// A checkable speed button.
QToolButton* makeButton(const char* name, const QString& text, const QString& hint, QWidget* parent, QRect geometry);
// The x just right of the widget.
int rightOf(const QWidget* w);
// Fills the label's background with the colour.
void paintLabel(QLabel* label, TColor color);
// The positions were drawn for an 8-point dialog font; its pixel size keeps
// the texts of a tab inside them.
void useDesignFont(QWidget* tab);

// Brightness ramps of the control's size. The channel letter B, G or R puts
// the level into that channel alone, L into all three. Horizontal: 0 at the
// left edge rising to 255; vertical: 255 at the top falling to 0.
void FillRampH(TImageControl& image, char channel);
void FillRampV(TImageControl& image, char channel);

}  // namespace ormica::gistparts
