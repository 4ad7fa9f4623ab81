#include "ui/engine/tool_button.h"

#include <QToolButton>

namespace ormica {

QToolButton* MakeToolButton(const char* name, const QString& text, const QString& hint, QWidget* parent,
                            const QIcon& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    if (!icon.isNull()) {
        button->setIcon(icon);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    button->setAutoRaise(true);
    button->setMinimumSize(28, 26);
    return button;
}

}  // namespace ormica
