#pragma once

#include "engine/progress.h"

class QProgressBar;
class QWidget;

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

// The thin bar without text that runs along the bottom of a tool window.
QProgressBar* MakeProgressBar(QWidget* parent);

}  // namespace ormica
