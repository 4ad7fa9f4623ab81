#include "progress_bar.h"

#include <QProgressBar>

namespace ormica {

QProgressBar* MakeProgressBar(QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QStringLiteral("ProgressBar1"));
    bar->setTextVisible(false);
    bar->setMaximumHeight(12);
    bar->setValue(0);
    return bar;
}

void TProgressBarAdapter::setMinimum(int value)
{
    bar_->setMinimum(value);
}
void TProgressBarAdapter::setMaximum(int value)
{
    bar_->setMaximum(value);
}
void TProgressBarAdapter::setPosition(int value)
{
    bar_->setValue(value);
}
int TProgressBarAdapter::minimum() const
{
    return bar_->minimum();
}
int TProgressBarAdapter::maximum() const
{
    return bar_->maximum();
}
int TProgressBarAdapter::position() const
{
    return bar_->value();
}

}  // namespace ormica
