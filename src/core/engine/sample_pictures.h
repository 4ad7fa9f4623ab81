#pragma once
// Pictures of our own making, drawn by code, so that every tool can be tried
// without a file at hand. Integer arithmetic only: the same pixels on every
// machine, which the help's worked examples rely on.
#include <QImage>
#include <QString>
#include <optional>
#include <span>

namespace ormica {

enum class TSample { Chart, Gradients, Noise, Scene };

struct TSampleInfo {
    TSample id;
    const char* key;   // for files and the command line: "chart"
    const char* name;  // shown to the user, translated at use
};

std::span<const TSampleInfo> Samples();
std::optional<TSample> SampleByKey(const QString& key);
QString SampleName(TSample sample);
// 640 x 480, Format_BGR888.
QImage MakeSample(TSample sample);

}  // namespace ormica
