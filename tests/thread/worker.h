// A Thread for the tests, and waiting helpers.
#ifndef ZOP_TESTS_THREAD_WORKER_H
#define ZOP_TESTS_THREAD_WORKER_H

#include <zop/thread.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace zop_test {

#if defined(__SANITIZE_THREAD__)
constexpr bool kThreadSanitizer = true;
#else
constexpr bool kThreadSanitizer = false;
#endif

// run() spins, counting, until told to finish; it makes no system call, so
// nothing but a signal or the system can interrupt it.
class Worker : public zop::Thread {
public:
    std::atomic<int> entered{0};
    std::atomic<long> ticks{0};
    std::atomic<bool> finish{false};

    void run() override {
        entered.fetch_add(1);
        while (!finish.load()) ticks.fetch_add(1);
    }
    // run() uses the members above: end the thread before they go.
    ~Worker() override {
        stop();
        join();
    }
};

inline void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Polls `done` for up to ten seconds; true as soon as it holds.
template <class Condition>
bool eventually(Condition done) {
    for (int i = 0; i < 10000; ++i) {
        if (done()) return true;
        sleep_ms(1);
    }
    return done();
}

// Milliseconds that `action` took.
template <class Action>
long long elapsed_ms(Action action) {
    auto begin = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin)
        .count();
}

}  // namespace zop_test

#endif
