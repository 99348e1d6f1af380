#include "thread/worker.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using zop::Thread;
using zop_test::eventually;
using zop_test::sleep_ms;
using zop_test::Worker;

using Threads = std::vector<std::unique_ptr<Worker>>;
Threads make(int n) {
    Threads threads;
    for (int i = 0; i < n; ++i) threads.push_back(std::make_unique<Worker>());
    return threads;
}

// The name of the process's first thread, whichever test runs first.
const std::wstring g_first_name = Worker().thread_name();

TEST(Thread, NamesCountUpFrom1000) {
    EXPECT_EQ(g_first_name, L"Thread-1000");
    Worker a, b;
    const unsigned long n = std::stoul(a.thread_name().substr(7));
    EXPECT_EQ(a.thread_name(), L"Thread-" + std::to_wstring(n));
    EXPECT_EQ(b.thread_name(), L"Thread-" + std::to_wstring(n + 1));
    EXPECT_NE(static_cast<void*>(a), static_cast<void*>(b));
}

TEST(Thread, PauseAndResumeCountAndAPausedThreadStops) {
    Worker w;
    w.start();
    ASSERT_TRUE(eventually([&] { return w.ticks.load() > 0; }));
    w.pause();
    w.pause();
    // A suspension takes effect a moment after the call (later still on a
    // loaded machine): wait until the count stands still for 20 ms.
    long paused = w.ticks.load();
    for (int i = 0; i < 500; ++i) {
        sleep_ms(20);
        const long now = w.ticks.load();
        if (now == paused) break;
        paused = now;
    }
    sleep_ms(50);
    EXPECT_EQ(w.ticks.load(), paused);
    EXPECT_TRUE(w.is_running());
    w.resume();
    sleep_ms(50);
    EXPECT_EQ(w.ticks.load(), paused) << "one resume() per pause()";
    w.resume();
    EXPECT_TRUE(eventually([&] { return w.ticks.load() > paused; }));
    w.pause();
    w.stop();
    w.join();
    EXPECT_FALSE(w.is_running());

    Worker self;  // a thread that pauses itself waits for another
    self.pause_itself = true;
    self.start();
    ASSERT_TRUE(eventually([&] { return self.entered.load() == 1; }));
    sleep_ms(50);
    EXPECT_EQ(self.ticks.load(), 0);
    self.resume();
    EXPECT_TRUE(eventually([&] { return self.ticks.load() > 0; }));
}

TEST(Thread, WaitAllTakesUpTo64AndDestroyedThreadsLeaveTheRegistry) {
    // Waits that must return at once: one that hangs fails the test by its
    // time limit.
    Thread::wait_all(-1);  // none registered
    Threads threads = make(70);
    // 70 registered, none started: the wait fails instead of waiting for
    // threads that cannot end.
    Thread::wait_all(-1);
    threads.resize(64);
    Thread::wait_all(0);
    const auto begin = std::chrono::steady_clock::now();
    Thread::wait_all(60);  // 64 are not too many: this one waits
    EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(50));
    for (auto& t : threads) {
        t->finish = true;
        t->start();
    }
    Thread::wait_all(-1);
    for (auto& t : threads) EXPECT_EQ(t->entered.load(), 1);
    for (auto& t : threads) EXPECT_FALSE(t->is_running());
}

TEST(Thread, StopAllStopsEveryLivingThread) {
    Threads threads = make(6);
    // Ended only once inside run(): a Windows thread ended while the system
    // still attaches it holds the loader lock for good, and every later
    // thread start of the process waits for it.
    for (int i = 0; i < 3; ++i) threads[i]->start();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(eventually([&] { return threads[i]->entered.load() == 1; }));
    threads.erase(threads.begin() + 1);  // a destroyed one is not touched
    Thread::stop_all();
    Thread::wait_all(-1);
    for (auto& t : threads) EXPECT_FALSE(t->is_running());
}

// run() begins only after start(), polls stop_requested() and returns;
// join(ms) reports whether the thread ended in time.
TEST(Thread, CooperativeStopAndTimedJoin) {
    struct Poller : Thread {
        std::atomic<int> entered{0};
        std::atomic<bool> done{false};
        void run() override {
            entered.fetch_add(1);
            while (!stop_requested()) std::this_thread::yield();
            done = true;
        }
    } poller;
    sleep_ms(30);
    EXPECT_EQ(poller.entered.load(), 0);
    EXPECT_FALSE(poller.is_running());
    EXPECT_FALSE(poller.stop_requested());
    poller.start();
    ASSERT_TRUE(eventually([&] { return poller.entered.load() == 1; }));
    EXPECT_TRUE(poller.is_running());
    EXPECT_FALSE(poller.join(20));
    poller.request_stop();
    EXPECT_TRUE(poller.stop_requested());
    EXPECT_TRUE(poller.join(-1));
    EXPECT_TRUE(poller.done.load());
    EXPECT_FALSE(poller.is_running());
}

// Four makers create, run, stop and destroy threads at once: the registry
// and the name counter are shared by all of them.  (Checks run on the main
// thread: GoogleTest on Windows is built without thread support.)
TEST(Thread, StressManyShortLivesOnSeveralThreadsAtOnce) {
    constexpr int kMakers = 4, kRounds = 12, kBatch = 8;
    std::vector<std::wstring> names[kMakers];
    std::atomic<int> ran{0};
    std::vector<std::thread> makers;
    for (int m = 0; m < kMakers; ++m) {
        makers.emplace_back([&, m] {
            for (int round = 0; round < kRounds; ++round) {
                Threads batch = make(kBatch);
                for (auto& t : batch) {
                    t->finish = t != batch.back();
                    t->start();
                    names[m].push_back(t->thread_name());
                }
                // Stopped only once inside run(): a thread ended while the
                // system is still attaching it (holding the loader lock on
                // Windows) can leave every later thread start waiting for
                // that lock for good.
                while (batch.back()->entered.load() == 0) std::this_thread::yield();
                batch.back()->stop();
                for (auto& t : batch) {
                    t->join();
                    ran += t->entered.load();
                }
            }
        });
    }
    for (auto& m : makers) m.join();
    EXPECT_EQ(ran.load(), kMakers * kRounds * kBatch);
    std::set<std::wstring> distinct;
    for (const auto& v : names) distinct.insert(v.begin(), v.end());
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kMakers * kRounds * kBatch));
}

}  // namespace
