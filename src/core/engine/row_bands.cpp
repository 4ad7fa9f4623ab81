#include "core/engine/row_bands.h"

#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace ormica {

namespace {

int initialThreads()
{
    bool ok = false;
    const int asked = qEnvironmentVariableIntValue("ORMICA_THREADS", &ok);
    if (ok && (asked == 1 || asked == 2))
        return asked;
    return std::thread::hardware_concurrency() > 1 ? 2 : 1;
}

std::atomic<int>& threads()
{
    static std::atomic<int> n{initialThreads()};
    return n;
}

}  // namespace

int WorkerThreads()
{
    return threads().load();
}

void SetWorkerThreads(int n)
{
    threads().store(std::clamp(n, 1, 2));
}

int ForRowBands(int rows, bool large, const std::function<void(int band, int from, int to)>& work)
{
    if (!large || rows < 2 || WorkerThreads() < 2) {
        work(0, 0, rows);
        return 1;
    }
    const int half = rows / 2;
    std::thread helper;
    try {
        helper = std::thread(work, 1, half, rows);
    } catch (const std::system_error&) {
        work(0, 0, rows);
        return 1;
    }
    try {
        work(0, 0, half);
    } catch (...) {
        helper.join();  // a running thread must not outlive its work's captures
        throw;
    }
    helper.join();
    return 2;
}

}  // namespace ormica
