#pragma once

#include <QIcon>
#include <QString>

class QToolButton;
class QWidget;

namespace ormica {

// A flat tool button of the windows' tool bars: the text, or only the icon
// when there is one, and the hint.
QToolButton* MakeToolButton(const char* name, const QString& text, const QString& hint, QWidget* parent,
                            const QIcon& icon = QIcon());

}  // namespace ormica
