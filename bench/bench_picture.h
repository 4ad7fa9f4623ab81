#pragma once

#include "core/engine/img_tab.h"

#include <QImage>
#include <QString>

// The size every benchmark measures at: a 24-megapixel photograph.
inline constexpr int kBenchWidth = 6000;
inline constexpr int kBenchHeight = 4000;

// A photograph-like 24-bit picture (smooth shapes, texture and noise), the
// same bytes on every run.
QImage benchPicture(int width, int height);

// A JPEG file of that picture at quality 90 in the temporary folder.
QString benchJpegFile(int width, int height);

// benchPicture at the benchmark size, made once, and the same as an array.
const QImage& sharedBenchPicture();
const ormica::TImgTabBGR& sharedBenchArray();

namespace benchmark {
class State;
}
// The pairs run both ways: Arg(1) one thread on both sides, Arg(2) both
// cores for us and OpenCV at its default threading; `argument` says which
// argument of the benchmark is the thread count.
void useThreads(const benchmark::State& state, int argument = 0);
