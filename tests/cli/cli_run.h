#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace ormica::test {

struct CliRun {
    int code = -1;  // -1 when the tool did not end normally (a signal)
    QString out, err;
};

// Runs ormica-cli to its end. `setUp` runs in the child before the tool
// starts (limits, another user); `stdoutFile` takes the standard output
// instead of the test.
CliRun cli(const QStringList& args, const std::function<void()>& setUp = {}, const QString& stdoutFile = {});

// Every line the tool printed on stderr is marked as its own, and is one line.
void expectPrefixedLines(const CliRun& r);

struct MeasuredRun {
    int code = -1;
    long peakKilobytes = 0;
};

// Runs the tool as a child of its own and reads that child's peak resident
// set size; output is discarded.
MeasuredRun measure(const QStringList& args);

// The run's peak stays below the base run's peak and that many copies of a
// picture of `copyKilobytes`, with a quarter copy to spare.
testing::AssertionResult PeakWithin(const MeasuredRun& run, const MeasuredRun& base, int copies, long copyKilobytes);

}  // namespace ormica::test
