#include "ui/engine/up_down.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace ormica {

TUpDown::TUpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {up_, down_}) {
        b->setArrowType(b == up_ ? Qt::UpArrow : Qt::DownArrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(true); });
    connect(down_, &QToolButton::clicked, this, [this] { step(false); });
}

void TUpDown::setRange(int minimum, int maximum)
{
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    setPosition(position_);
}

void TUpDown::setPosition(int position)
{
    position_ = std::clamp(position, min_, max_);
}

void TUpDown::step(bool up)
{
    const long long next = static_cast<long long>(position_) + (up ? increment_ : -increment_);
    position_ = static_cast<int>(std::clamp<long long>(next, min_, max_));
    if (OnClick)
        OnClick();
}

}  // namespace ormica
