// A Thread for the tests, and waiting helpers.
#ifndef ZOP_TESTS_THREAD_WORKER_H
#define ZOP_TESTS_THREAD_WORKER_H

#include <zop/thread.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace zop_test {

// run() pauses its own thread if told to, then waits for the thread
// `join_first` if given one; then it spins until asked to stop and makes no
// system call, so only a signal or the system can interrupt it.
class Worker : public zop::Thread {
public:
    std::atomic<int> entered{0};
    std::atomic<long> ticks{0};
    bool pause_itself = false;
    Thread* join_first = nullptr;

    void run() override {
        entered.fetch_add(1);
        if (pause_itself) pause();
        if (join_first != nullptr) join_first->join();
        while (!stop_requested()) ticks.fetch_add(1);
    }
    ~Worker() override {  // run() uses the members: end it before they go
        stop();
        join();
    }
};

inline void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Polls `done` for up to ten seconds.
template <class Condition>
bool eventually(Condition done) {
    for (int i = 0; i < 10000 && !done(); ++i) sleep_ms(1);
    return done();
}

}  // namespace zop_test

#endif
