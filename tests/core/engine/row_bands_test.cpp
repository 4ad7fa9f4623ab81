#include "core/engine/row_bands.h"

#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

using namespace ormica;

namespace {

// Every row once, in bands that only a large picture and two threads split;
// band 0 is the caller's, the one that may report progress.
TEST(RowBands, EveryRowOnceAndTheFirstBandOnTheCallersThread)
{
    struct Case {
        int rows, threads;
        bool large;
        int bands;
    } const cases[] = {{7, 2, true, 2}, {7, 1, true, 1}, {7, 2, false, 1}, {1, 2, true, 1}, {0, 2, true, 1},
                       {4000, 2, true, 2}};
    for (const Case& c : cases) {
        SetWorkerThreads(c.threads);
        std::vector<int> seen(std::size_t(c.rows), 0);
        std::mutex lock;
        bool firstOnCaller = true;
        const std::thread::id caller = std::this_thread::get_id();
        const int bands = ForRowBands(c.rows, c.large, [&](int band, int from, int to) {
            const std::lock_guard<std::mutex> hold(lock);
            if (band == 0)
                firstOnCaller = firstOnCaller && std::this_thread::get_id() == caller;
            for (int r = from; r < to; ++r)
                ++seen[std::size_t(r)];
        });
        EXPECT_EQ(bands, c.bands) << c.rows << " rows, " << c.threads << " threads";
        EXPECT_EQ(seen, std::vector<int>(std::size_t(c.rows), 1)) << c.rows << " rows";
        EXPECT_TRUE(firstOnCaller);
    }
    SetWorkerThreads(2);
    EXPECT_EQ(WorkerThreads(), 2);
    SetWorkerThreads(9);  // only one or two
    EXPECT_EQ(WorkerThreads(), 2);
}

}  // namespace
