#pragma once

#include "engine/progress.h"

class QProgressBar;

namespace ormica {

// Lets the core drive a progress bar of a window.
class TProgressBarAdapter : public TProgress {
public:
    explicit TProgressBarAdapter(QProgressBar* bar) : bar_(bar) {}
    void setMinimum(int value) override;
    void setMaximum(int value) override;
    void setPosition(int value) override;
    int minimum() const override;
    int maximum() const override;
    int position() const override;

private:
    QProgressBar* bar_;
};

}  // namespace ormica
