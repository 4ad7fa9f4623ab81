#pragma once

namespace ormica {

// A progress bar as the core sees it. Long routines drive the one they are
// given; the windows pass their bar, tests pass a recorder.
class TProgress {
public:
    virtual ~TProgress() = default;
    virtual void setMinimum(int value) = 0;
    virtual void setMaximum(int value) = 0;
    virtual void setPosition(int value) = 0;
    virtual int minimum() const = 0;
    virtual int maximum() const = 0;
    virtual int position() const = 0;
};

// Keeps the three values and shows nothing (batch use, benchmarks).
class TSilentProgress : public TProgress {
public:
    void setMinimum(int value) override { min_ = value; }
    void setMaximum(int value) override { max_ = value; }
    void setPosition(int value) override { pos_ = value; }
    int minimum() const override { return min_; }
    int maximum() const override { return max_; }
    int position() const override { return pos_; }

private:
    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
};

}  // namespace ormica
