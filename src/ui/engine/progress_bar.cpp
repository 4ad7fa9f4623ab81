#include "ui/engine/progress_bar.h"

#include <QProgressBar>
#include <algorithm>

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

TProgressBarAdapter::TProgressBarAdapter(QProgressBar* bar)
    : bar_(bar), min_(bar->minimum()), max_(bar->maximum()), position_(bar->value())
{
}

void TProgressBarAdapter::setMinimum(int value)
{
    min_ = value;
    apply();
}
void TProgressBarAdapter::setMaximum(int value)
{
    max_ = value;
    apply();
}
// An empty range would turn the bar into a busy indicator that never stops;
// the bar shows at least one step, and the core reads back what it set.
void TProgressBarAdapter::apply()
{
    bar_->setRange(min_, std::max(max_, min_ + 1));
}
// The bar repaints at once whenever its value changes: a 4000-row picture
// would repaint it thousands of times in a run. Steps of a two-hundredth of
// the range look the same; the ends and a step back show at once.
void TProgressBarAdapter::setPosition(int value)
{
    position_ = value;
    const qint64 span = std::max<qint64>(qint64(max_) - min_, 1);
    const int shown = bar_->value();
    if (value <= min_ || value >= max_ || value < shown || (qint64(value) - shown) * 200 >= span)
        bar_->setValue(value);
}
int TProgressBarAdapter::minimum() const
{
    return min_;
}
int TProgressBarAdapter::maximum() const
{
    return max_;
}
int TProgressBarAdapter::position() const
{
    return position_;
}

}  // namespace ormica
