#pragma once
// Whole-picture work shared by the machine's cores in bands of rows, for
// routines whose rows are independent: the result cannot depend on which
// thread takes a row.
#include <functional>

namespace ormica {

// The threads a whole-picture routine may use: 1 or 2. By default as many as
// the machine has, at most two, or ORMICA_THREADS=1|2. Benchmarks set it to
// compare one thread with one.
int WorkerThreads();
// Below this many pixels sharing a picture costs more than it saves.
inline constexpr long long kBandedPixels = 1LL << 18;
void SetWorkerThreads(int threads);

// Calls work(band, from, to) for rows [from, to) of [0, rows): one band, or
// one for each worker thread when `large` (too small a picture costs more to
// share than to do). Band 0 runs on the caller's thread, which alone may
// report progress; without a second thread it takes every row. Returns the
// number of bands.
int ForRowBands(int rows, bool large, const std::function<void(int band, int from, int to)>& work);

}  // namespace ormica
