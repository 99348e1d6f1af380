// The platform thread layer keeps one contract on both systems.  The threads
// are mostly zop::Thread objects: the layer shows what the class hides
// (suspend counts, exit codes, error codes, the name the system keeps).
#include "sys/error.h"
#include "sys/thread.h"
#include "thread/worker.h"

#include <gtest/gtest.h>

namespace {

using namespace zop::sys;
using zop_test::eventually;
using zop_test::sleep_ms;
using zop_test::Worker;

std::uint32_t exit_code(ThreadHandle thread) {
    std::uint32_t code = 0;
    EXPECT_TRUE(thread_exit_code(thread, code));
    return code;
}

// A thread ends with its routine's result.  A Thread's exit code is 1 when it
// was stopped (also before start()), 0 when run() returned (a later stop()
// leaves that alone) or when it was resumed before start() and never called
// run(); suspensions before start() are counted.  An ended thread does not
// run again.  Bad counts and handles fail with the system's codes (87, 6).
TEST(ThreadLayer, ExitCodesAndSuspensionsBeforeStart) {
    ThreadStart seven;
    seven.routine = [](ThreadStart*) -> std::uint32_t { return 7; };
    ThreadHandle h = create_suspended_thread(&seven);
    EXPECT_EQ(resume_thread(h), 1u);
    EXPECT_EQ(wait_for_thread(h, kInfinite, true), kWaitObject0);
    EXPECT_EQ(wait_for_all_threads(&h, 1, 0), kWaitObject0);
    EXPECT_EQ(exit_code(h), 7u);
    EXPECT_EQ(wait_for_all_threads(&h, 0, kInfinite), kWaitFailed);
    EXPECT_EQ(last_error(), 87u);
    EXPECT_TRUE(close_thread(h));
    std::uint32_t code = 0;
    EXPECT_FALSE(thread_exit_code(nullptr, code));
    EXPECT_EQ(last_error(), 6u);

    Worker never, done, resumed;
    never.stop();
    never.join();
    EXPECT_EQ(exit_code(never), 1u);
    done.request_stop();
    done.start();
    done.join();
    done.stop();
    EXPECT_EQ(exit_code(done), 0u);
    EXPECT_EQ(suspend_thread(resumed), 1u);
    EXPECT_EQ(resume_thread(resumed), 2u);
    sleep_ms(20);
    EXPECT_EQ(exit_code(resumed), kStillActive);
    EXPECT_EQ(resume_thread(resumed), 1u);
    resumed.join();
    EXPECT_EQ(exit_code(resumed), 0u);
    resumed.start();
    sleep_ms(20);
    EXPECT_EQ(never.entered + resumed.entered + done.entered, 1);
}

TEST(ThreadLayer, TerminateEndsPausedAndBlockedThreadsWithTheirCode) {
    // A terminate right after a suspension races the suspended thread on
    // its way to sleep: many rounds give the race its chances.
    for (int round = 0; round < 300; ++round) {
        // The first round ends a thread blocked in the system instead.
        // ThreadSanitizer holds signals back while a thread waits in a
        // system call it does not intercept (the raw futex of the block).
        const bool block = round == 0;
#if defined(__SANITIZE_THREAD__)
        if (block) continue;
#endif
        Worker never_started, w;
        if (block) w.join_first = &never_started;
        w.start();
        ASSERT_TRUE(eventually([&] { return w.entered.load() == 1; }));
        if (!block) suspend_thread(w);
        // Terminate a little later each round, sweeping the thread's way
        // from the signal into its sleep.
        for (volatile int i = 0; i < round * 400; i = i + 1) {
        }
        EXPECT_TRUE(terminate_thread(w, 3));
        EXPECT_EQ(wait_for_thread(w, 10000, false), kWaitObject0);
        EXPECT_EQ(exit_code(w), 3u);
        // All must end, not just the first; every handle is checked first.
        ThreadHandle both[] = {w, never_started}, with_null[] = {w, nullptr};
        EXPECT_EQ(wait_for_all_threads(both, 2, 0), kWaitTimeout);
        EXPECT_EQ(wait_for_all_threads(with_null, 2, 0), kWaitFailed);
    }
}

// The system shows the library's thread names (where it can name threads).
TEST(ThreadLayer, SystemShowsTheThreadName) {
    Worker w;
    std::wstring shown;
    if (!get_thread_name(w, shown)) {
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
    ASSERT_TRUE(set_thread_name(w, L"Thread\x4E2D-1234567890123"));
    ASSERT_TRUE(get_thread_name(w, shown));
    // Linux keeps 15 bytes and shows what is not printable ASCII as '?'.
    EXPECT_EQ(shown, sizeof(wchar_t) > 2 ? L"Thread?-1234567" : L"Thread\x4E2D-1234567890123");
}

}  // namespace
