#pragma once

#include "core/engine/progress.h"

class QProgressBar;
class QWidget;

namespace ormica {

// Lets the core drive a progress bar of a window.
class TProgressBarAdapter : public TProgress {
public:
    explicit TProgressBarAdapter(QProgressBar* bar);
    void setMinimum(int value) override;
    void setMaximum(int value) override;
    void setPosition(int value) override;
    int minimum() const override;
    int maximum() const override;
    int position() const override;

private:
    void apply();
    QProgressBar* bar_;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;  // as the core set it, which the bar may show a little behind
};

// The thin bar without text that runs along the bottom of a tool window.
QProgressBar* MakeProgressBar(QWidget* parent);

}  // namespace ormica
