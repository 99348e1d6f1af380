// One create, start, join and destroy cycle of a thread whose work is a
// single increment: with zop::Thread and with std::thread.
#ifndef ZOP_BENCH_THREAD_CYCLES_H
#define ZOP_BENCH_THREAD_CYCLES_H

#include <zop/thread.h>

#include <atomic>
#include <thread>

namespace zop_bench {

class Increment : public zop::Thread {
public:
    explicit Increment(std::atomic<long>& counter) : counter_(counter) {}
    void run() override { counter_.fetch_add(1, std::memory_order_relaxed); }

private:
    std::atomic<long>& counter_;
};

inline void zop_cycle(std::atomic<long>& counter) {
    Increment thread(counter);
    thread.start();
    thread.join();
}

inline void std_cycle(std::atomic<long>& counter) {
    std::thread thread([&counter] { counter.fetch_add(1, std::memory_order_relaxed); });
    thread.join();
}

}  // namespace zop_bench

#endif
