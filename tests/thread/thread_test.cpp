#include "thread/worker.h"

#include <zop/thread.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using zop::Thread;
using zop_test::elapsed_ms;
using zop_test::eventually;
using zop_test::sleep_ms;
using zop_test::Worker;

// Threads made by this program; the first one in the process is Thread-1000.
int g_made = 0;

TEST(Thread, NamesCountUpAndHandlesDiffer) {
    const bool first = g_made == 0;
    Worker a, b;
    g_made += 2;
    const std::wstring prefix = L"Thread-";
    ASSERT_EQ(a.thread_name().compare(0, prefix.size(), prefix), 0);
    const unsigned long n = std::stoul(a.thread_name().substr(prefix.size()));
    EXPECT_GE(n, 1000u);
    if (first) {
        EXPECT_EQ(a.thread_name(), L"Thread-1000");
    }
    EXPECT_EQ(b.thread_name(), prefix + std::to_wstring(n + 1));
    EXPECT_NE(static_cast<void*>(a), nullptr);
    EXPECT_NE(static_cast<void*>(a), static_cast<void*>(b));
}

TEST(Thread, RunsOnlyAfterStartAndJoinWaitsForTheEnd) {
    Worker w;
    ++g_made;
    sleep_ms(30);
    EXPECT_EQ(w.entered.load(), 0);
    EXPECT_FALSE(w.is_running());
    w.start();
    ASSERT_TRUE(eventually([&] { return w.entered.load() == 1; }));
    EXPECT_TRUE(w.is_running());
    w.finish = true;
    w.join();
    EXPECT_FALSE(w.is_running());
    w.start();  // an ended thread does not run again
    sleep_ms(20);
    EXPECT_EQ(w.entered.load(), 1);
}

TEST(Thread, StopBeforeStartDuringRunAndAfterReturn) {
    Worker never, busy, done;
    g_made += 3;
    never.stop();
    never.start();
    never.join();
    EXPECT_EQ(never.entered.load(), 0);

    busy.start();
    ASSERT_TRUE(eventually([&] { return busy.ticks.load() > 0; }));
    busy.stop();  // run() polls nothing the library could use to end it
    EXPECT_FALSE(busy.is_running());
    busy.join();
    const long ticks = busy.ticks.load();
    sleep_ms(20);
    EXPECT_EQ(busy.ticks.load(), ticks);

    done.finish = true;
    done.start();
    done.join();
    EXPECT_NO_THROW(done.stop());
    EXPECT_EQ(done.entered.load(), 1);
}

TEST(Thread, PauseAndResumeWhileRunning) {
    Worker w;
    ++g_made;
    w.start();
    ASSERT_TRUE(eventually([&] { return w.ticks.load() > 0; }));
    w.pause();
    w.pause();
    sleep_ms(20);  // a suspension may take effect a moment after the call
    const long paused = w.ticks.load();
    sleep_ms(50);
    EXPECT_EQ(w.ticks.load(), paused);
    EXPECT_TRUE(w.is_running());  // still inside run()
    w.resume();
    sleep_ms(50);
    EXPECT_EQ(w.ticks.load(), paused) << "one resume() per pause()";
    w.resume();
    EXPECT_TRUE(eventually([&] { return w.ticks.load() > paused; }));
    w.pause();
    w.stop();  // a paused thread can be stopped
    w.join();
}

TEST(Thread, ResumeBeforeStartEndsTheThreadWithoutRun) {
    Worker w;
    ++g_made;
    w.resume();
    w.join();
    w.start();
    sleep_ms(20);
    EXPECT_EQ(w.entered.load(), 0);
    EXPECT_FALSE(w.is_running());
}

TEST(Thread, WaitAllHonoursTheLimitOf64AndDestroyedThreadsLeave) {
    Thread::wait_all(-1);  // nothing registered: returns at once
    std::vector<std::unique_ptr<Worker>> threads;
    for (int i = 0; i < 70; ++i) threads.push_back(std::make_unique<Worker>());
    g_made += 70;
    for (auto& t : threads) t->finish = true;
    // 70 registered, none started: the wait fails at once instead of
    // waiting for threads that will never end.
    EXPECT_LT(elapsed_ms([] { Thread::wait_all(-1); }), 5000);
    threads.resize(64);  // destroyed threads leave the registry
    EXPECT_LT(elapsed_ms([] { Thread::wait_all(0); }), 5000);
    EXPECT_GE(elapsed_ms([] { Thread::wait_all(60); }), 50);
    for (auto& t : threads) t->start();
    Thread::wait_all(-1);
    for (auto& t : threads) EXPECT_FALSE(t->is_running());
    for (auto& t : threads) EXPECT_EQ(t->entered.load(), 1);
    Thread::wait_all(-1);  // all ended: at once
}

TEST(Thread, StopAllStopsEveryLivingThread) {
    std::vector<std::unique_ptr<Worker>> threads;
    for (int i = 0; i < 6; ++i) threads.push_back(std::make_unique<Worker>());
    g_made += 6;
    for (int i = 0; i < 3; ++i) threads[i]->start();
    threads.erase(threads.begin() + 1);  // a destroyed one is not touched
    Thread::stop_all();
    Thread::wait_all(-1);
    for (auto& t : threads) EXPECT_FALSE(t->is_running());
}

// Many short lives, a few at a time, some stopped midway.
TEST(Thread, StressCreateStartJoinDestroy) {
    struct Summer : Thread {
        long long sum = 0;
        void run() override {
            for (int i = 1; i <= 1000; ++i) sum += i;
        }
    };
    for (int round = 0; round < 50; ++round) {
        std::vector<std::unique_ptr<Thread>> batch;
        for (int i = 0; i < 8; ++i) {
            if (i == 7) batch.push_back(std::make_unique<Worker>());
            else batch.push_back(std::make_unique<Summer>());
            batch.back()->start();
        }
        g_made += 8;
        batch.back()->stop();
        for (auto& t : batch) t->join();
        for (int i = 0; i < 7; ++i) EXPECT_EQ(static_cast<Summer&>(*batch[i]).sum, 500500);
    }
}

}  // namespace
