#pragma once

#include <QWidget>
#include <functional>

class QToolButton;

namespace ormica {

// Two arrow buttons that step a position within a range; the edit beside
// them shows whatever the owner makes of the position.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    void setIncrement(int increment) { increment_ = increment; }
    int increment() const { return increment_; }
    // Moves without notifying; clamped into the range.
    void setPosition(int position);
    int position() const { return position_; }

    // A step by the user, as the up (true) or the down arrow would make it;
    // notifies even at the end of the range, where the position stays.
    void step(bool up);

    // Called after every step of the user.
    std::function<void()> OnClick;

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

private:
    QToolButton* up_;
    QToolButton* down_;
    int min_ = 0;
    int max_ = 100;
    int increment_ = 1;
    int position_ = 0;
};

}  // namespace ormica
