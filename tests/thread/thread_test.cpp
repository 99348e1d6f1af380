#include "thread/worker.h"

#include <gtest/gtest.h>

#include <list>
#include <set>
#include <string>
#include <vector>

namespace {

using zop::Thread;
using zop_test::eventually;
using zop_test::sleep_ms;
using zop_test::Worker;

// The name of the process's first thread, whichever test runs first.
const std::wstring g_first_name = Worker().thread_name();

// run() begins only after start(); a thread that pauses itself waits for
// another to resume it; run() polls stop_requested() and returns; join(ms)
// reports whether the thread ended in time.
TEST(Thread, CooperativeStopAndTimedJoin) {
    Worker w;
    w.pause_itself = true;
    w.start();
    ASSERT_TRUE(eventually([&] { return w.entered.load() == 1; }));
    sleep_ms(50);
    EXPECT_EQ(w.ticks.load(), 0);
    EXPECT_TRUE(w.is_running());
    EXPECT_FALSE(w.join(20));
    w.resume();
    EXPECT_TRUE(eventually([&] { return w.ticks.load() > 0; }));
    // Paused by another thread, it stands still until resumed.
    w.pause();
    sleep_ms(20);  // the suspension lands asynchronously
    const long at = w.ticks.load();
    sleep_ms(30);
    EXPECT_EQ(w.ticks.load(), at);
    w.resume();
    w.request_stop();
    EXPECT_TRUE(w.join(-1));
    EXPECT_FALSE(w.is_running()) << "run() returned";
}

// Waits that must return at once: one that hangs fails the test by its time
// limit.
TEST(Thread, WaitAllTakesUpTo64AndDestroyedThreadsLeaveTheRegistry) {
    std::list<Worker> threads(70);
    // 70 registered, none started: the wait fails instead of waiting for
    // threads that cannot end.
    Thread::wait_all(-1);
    threads.resize(64);  // destroyed threads leave the registry
    const auto begin = std::chrono::steady_clock::now();
    Thread::wait_all(60);  // 64 are not too many: this one waits
    EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(50));
    for (auto& t : threads) {
        t.request_stop();
        t.start();
    }
    Thread::wait_all(-1);
    for (auto& t : threads) EXPECT_EQ(t.entered.load(), 1);
    for (auto& t : threads) EXPECT_FALSE(t.is_running());
}

// stop_all() ends never-started threads (else the wait would hang) and
// running ones.  These are ended only once inside run(): a Windows thread
// ended while the system still attaches it holds the loader lock for good,
// and every later thread start of the process waits for it.
TEST(Thread, StopAllStopsEveryLivingThread) {
    std::list<Worker> running(3), idle(2);
    for (auto& t : running) t.start();
    for (auto& t : running) ASSERT_TRUE(eventually([&] { return t.entered.load() == 1; }));
    running.pop_front();  // a destroyed one is not touched
    Thread::stop_all();
    Thread::wait_all(-1);
    for (auto& t : running) EXPECT_FALSE(t.is_running());
}

// Four makers create, run, stop and destroy threads at once: the registry
// and the name counter are shared by all of them, and each new thread takes
// the next number.  (Checks run on the main thread: GoogleTest on Windows is
// built without thread support.)
TEST(Thread, StressManyShortLivesOnSeveralThreadsAtOnce) {
    constexpr int kMakers = 4, kRounds = 12, kBatch = 8;
    std::vector<unsigned long> numbers[kMakers];
    std::vector<std::thread> makers;
    for (int m = 0; m < kMakers; ++m) {
        makers.emplace_back([&, m] {
            for (int round = 0; round < kRounds; ++round) {
                std::list<Worker> batch(kBatch);
                for (auto& t : batch) {
                    if (&t != &batch.back()) t.request_stop();
                    t.start();
                }
                // Stopped only once inside run(): a thread ended while the
                // system is still attaching it (holding the loader lock on
                // Windows) can leave every later thread start waiting for
                // that lock for good.
                while (batch.back().entered.load() == 0) std::this_thread::yield();
                batch.back().stop();
                for (auto& t : batch) {
                    t.join();
                    // Each thread ran once and has a name of its own.
                    if (t.entered.load() == 1) numbers[m].push_back(std::stoul(t.thread_name().substr(7)));
                }
            }
        });
    }
    for (auto& m : makers) m.join();
    EXPECT_EQ(g_first_name, L"Thread-1000");
    std::set<unsigned long> distinct;
    for (const auto& v : numbers) distinct.insert(v.begin(), v.end());
    ASSERT_EQ(distinct.size(), static_cast<std::size_t>(kMakers * kRounds * kBatch));
    EXPECT_EQ(*distinct.rbegin() - *distinct.begin() + 1, distinct.size()) << "numbers without gaps";
}

}  // namespace
