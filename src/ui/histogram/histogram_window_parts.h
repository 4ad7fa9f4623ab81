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

// The building blocks the tabs of the histogram window share.
namespace ormica::gistparts {

QLabel* makeLabel(const QString& text, QWidget* parent, int x, int y);
// The width a sunken read-out needs to show `text` whole.
int readOutWidth(const QFontMetrics& fm, const QString& text);
// A sunken read-out.
QLabel* makeReadOut(const char* name, const QString& text, QWidget* parent, QRect geometry);
QFrame* makePanel(const char* name, QWidget* parent, QRect geometry);
// A checkable speed button.
QToolButton* makeButton(const char* name, const QString& text, const QString& hint, QWidget* parent, QRect geometry);

// Brightness ramps of the control's size. The channel letter B, G or R puts
// the level into that channel alone, L into all three. Horizontal: 0 at the
// left edge rising to 255; vertical: 255 at the top falling to 0.
void FillRampH(TImageControl& image, char channel);
void FillRampV(TImageControl& image, char channel);

}  // namespace ormica::gistparts
