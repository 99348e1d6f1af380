// The platform thread layer keeps one contract on both systems.
#include "sys/error.h"
#include "sys/thread.h"
#include "thread/worker.h"

#include <gtest/gtest.h>

namespace {

using namespace zop::sys;
using zop_test::eventually;
using zop_test::sleep_ms;

// Spins until told to finish, or first blocks in the system waiting for the
// thread `other`; ends with exit code 7.  It calls nothing that takes a
// runtime's lock: ending a thread that holds one would leave it held.
struct Probe : ThreadStart {
    enum Mode { spin, block } mode;
    explicit Probe(Mode m = spin) : mode(m) { routine = &body; }
    ThreadHandle other = nullptr;
    std::atomic<int> entered{0};
    std::atomic<bool> finish{false};

    static std::uint32_t body(ThreadStart* start) {
        auto* p = static_cast<Probe*>(start);
        p->entered.fetch_add(1);
        if (p->mode == block) wait_for_thread(p->other, kInfinite, false);
        while (!p->finish.load()) {
        }
        return 7;
    }
};

std::uint32_t exit_code(ThreadHandle thread) {
    std::uint32_t code = 0;
    EXPECT_TRUE(thread_exit_code(thread, code));
    return code;
}

TEST(ThreadLayer, StartsSuspendedAndCountsSuspensions) {
    Probe p;
    p.finish = true;
    ThreadHandle h = create_suspended_thread(&p);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(suspend_thread(h), 1u);
    EXPECT_EQ(resume_thread(h), 2u);
    sleep_ms(20);
    EXPECT_EQ(p.entered.load(), 0);
    EXPECT_EQ(exit_code(h), kStillActive);
    EXPECT_EQ(wait_for_thread(h, 0, false), kWaitTimeout);
    ThreadHandle too_many[kMaxWaitHandles + 1] = {h};
    for (std::uint32_t count : {0u, kMaxWaitHandles + 1}) {
        EXPECT_EQ(wait_for_all_threads(too_many, count, kInfinite), kWaitFailed);
        EXPECT_EQ(last_error(), 87u);
    }
    EXPECT_EQ(resume_thread(h), 1u);
    EXPECT_EQ(wait_for_thread(h, kInfinite, true), kWaitObject0);
    EXPECT_EQ(wait_for_all_threads(&h, 1, 0), kWaitObject0);
    EXPECT_EQ(exit_code(h), 7u);
    EXPECT_TRUE(close_thread(h));
    std::uint32_t code = 0;
    EXPECT_FALSE(thread_exit_code(nullptr, code));
    EXPECT_EQ(last_error(), 6u);
}

TEST(ThreadLayer, TerminateEndsPausedAndBlockedThreadsWithTheirCode) {
    // A terminate right after a suspension races the suspended thread on
    // its way to sleep: many rounds give the race its chances.
    for (int round = 0; round < 300; ++round) {
        const Probe::Mode mode = round == 0 ? Probe::block : Probe::spin;
        // ThreadSanitizer holds signals back while a thread waits in a
        // system call it does not intercept (the raw futex of the block).
#if defined(__SANITIZE_THREAD__)
        if (mode == Probe::block) continue;
#endif
        Probe never_started, p(mode);
        p.other = create_suspended_thread(&never_started);
        ThreadHandle h = create_suspended_thread(&p);
        ASSERT_NE(h, nullptr) << last_error();
        resume_thread(h);
        ASSERT_TRUE(eventually([&] { return p.entered.load() == 1; }));
        if (mode == Probe::spin) suspend_thread(h);
        // Terminate a little later each round, sweeping the thread's way
        // from the signal into its sleep.
        for (volatile int i = 0; i < round * 400; i = i + 1) {
        }
        EXPECT_TRUE(terminate_thread(h, 3));
        EXPECT_EQ(wait_for_thread(h, 10000, false), kWaitObject0);
        EXPECT_EQ(exit_code(h), 3u);
        // All must end, not just the first; every handle is checked first.
        ThreadHandle both[] = {h, p.other}, with_null[] = {h, nullptr};
        EXPECT_EQ(wait_for_all_threads(both, 2, 0), kWaitTimeout);
        EXPECT_EQ(wait_for_all_threads(with_null, 2, 0), kWaitFailed);
        // Wine refuses new threads for a moment while one is still ending.
        terminate_thread(p.other, 0);
        wait_for_thread(p.other, kInfinite, false);
        close_thread(p.other);
        close_thread(h);
    }
}

// A Thread's handle carries its exit code: 1 when stopped before start or
// during run(), 0 when run() returned (a later stop() leaves that alone) or
// when it was resumed before start() and never called run().  An ended
// thread does not run again.
TEST(ThreadLayer, ThreadStopsAndExitCodes) {
    zop_test::Worker never, busy, done, resumed;
    never.stop();
    never.start();
    never.join();
    EXPECT_EQ(exit_code(never), 1u);
    busy.start();
    ASSERT_TRUE(eventually([&] { return busy.ticks.load() > 0; }));
    busy.stop();  // run() polls nothing the library could use to end it
    EXPECT_FALSE(busy.is_running());
    busy.join();
    EXPECT_EQ(exit_code(busy), 1u);
    done.finish = true;
    done.start();
    done.join();
    done.stop();
    EXPECT_EQ(exit_code(done), 0u);
    resumed.resume();
    resumed.join();
    resumed.start();
    sleep_ms(20);
    EXPECT_EQ(exit_code(resumed), 0u);
    EXPECT_EQ(never.entered + resumed.entered + done.entered, 1);
}

// The system shows the library's thread names (where it can name threads).
TEST(ThreadLayer, SystemShowsTheThreadName) {
    zop_test::Worker w;
    std::wstring shown;
    if (!get_thread_name(static_cast<void*>(w), shown)) {
        ASSERT_EQ(last_error(), 50u) << "fails only where the system has no thread names";
        GTEST_SKIP() << "this system keeps no thread names (Windows before 10 1607)";
    }
#if !defined(_WIN32)
    EXPECT_FALSE(set_thread_name(nullptr, L"x"));
    EXPECT_EQ(last_error(), 6u);
    EXPECT_FALSE(get_thread_name(nullptr, shown));
    EXPECT_EQ(last_error(), 6u);
#endif
    EXPECT_EQ(shown, w.thread_name());
    Probe probe;
    ThreadHandle h = create_suspended_thread(&probe);
    ASSERT_TRUE(set_thread_name(h, L"Thread\x4E2D-1234567890123"));
    ASSERT_TRUE(get_thread_name(h, shown));
    // Linux keeps 15 bytes and shows what is not printable ASCII as '?'.
    EXPECT_EQ(shown, sizeof(wchar_t) > 2 ? L"Thread?-1234567" : L"Thread\x4E2D-1234567890123");
    probe.finish = true;
    resume_thread(h);
    wait_for_thread(h, kInfinite, false);
    close_thread(h);
}

}  // namespace
