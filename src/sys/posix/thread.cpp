// POSIX backend: the Win32 thread contract on pthreads (Linux).
//
// - Suspended start: the new thread waits on a condition variable until its
//   suspend count first drops to 0.
// - Suspending a running thread: a signal whose handler, with every signal
//   blocked, sleeps (futex) until the suspend count is 0 again; resuming
//   only changes the count and wakes the sleeper.
// - Terminating a running thread: the same handler, told to end, publishes
//   the exit code and then sleeps for good with every signal blocked.  The
//   thread never runs again and nothing of it is unwound, as with
//   TerminateThread; its stack stays allocated until the process ends.
// - Waiting: every thread has a word that turns 1 when it has ended; waiters
//   sleep on it with futex, which the signal handler may also wake.
// - Closing the handle joins a thread that has ended normally, so that its
//   stack is reused, and detaches any other.
//
// docs/thread.md describes the limits.
#include "sys/thread.h"

#include "sys/error.h"
#include "sys/posix/errno_map.h"

#include <cstring>

#include <linux/futex.h>
#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <new>

namespace zop::sys {

namespace {
constexpr std::uint32_t kCountFailed = 0xFFFFFFFFu;  // (DWORD)-1 of Suspend/ResumeThread

enum class Phase { created, running, ended };

struct Control {
    explicit Control(ThreadStart* s) : start(s) {}

    ThreadStart* const start;
    pthread_t id{};  // joinable until the handle is closed
    std::mutex lock;
    std::condition_variable released;  // ends the initial suspension
    // Guarded by `lock`.  While the phase is `running` the thread exists,
    // because leaving that phase needs the lock: pthread_kill is safe then.
    Phase phase = Phase::created;
    // Changed under `lock`; the signal handler reads them without it.
    std::atomic<std::uint32_t> suspend_count{1};
    std::atomic<std::uint32_t> terminate_code{0};
    std::atomic<bool> terminating{false};
    // The word a suspended thread sleeps on, bumped after every change it
    // must look at (its count dropping to 0, a terminate).  A change that
    // lands between the handler's checks and its sleep has bumped it, so
    // the sleep returns at once instead of missing the wake-up.
    std::atomic<std::uint32_t> wakes{0};
    // The outcome, written once.  `ended` is the futex word.
    std::atomic<std::uint32_t> exit_code{kStillActive};
    std::atomic<std::uint32_t> ended{0};
    // Set before `ended` by a thread that was stopped while running and now
    // sleeps for good: it will never exit, so it cannot be joined.
    std::atomic<bool> parked{false};
    // One reference for the handle, one for the thread.
    std::atomic<int> refs{2};
};

// A real-time signal near the top of the range, out of the way of the low
// ones that programs usually pick.
int suspend_signal() { return SIGRTMAX - 3; }

// The control block of the calling thread while it runs its routine.
thread_local Control* t_self = nullptr;

Control* control(ThreadHandle thread) {
    if (thread == nullptr) set_last_error(kErrorInvalidHandle);
    return static_cast<Control*>(thread);
}

void release(Control* c) {
    if (c->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete c;
}

long futex(std::atomic<std::uint32_t>& word, int op, std::uint32_t value, const timespec* timeout) {
    return ::syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), op, value, timeout,
                     nullptr, 0);
}

// Async-signal-safe: atomics and a system call.
void publish_end(Control* c, std::uint32_t code) {
    c->exit_code.store(code, std::memory_order_relaxed);
    c->ended.store(1, std::memory_order_release);
    futex(c->ended, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr);
}

// Blocks every signal of the calling thread and sleeps for good.
[[noreturn]] void sleep_forever() {
    sigset_t all;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, nullptr);
    std::atomic<std::uint32_t> never{0};
    for (;;) futex(never, FUTEX_WAIT_PRIVATE, 0, nullptr);
}

// The handler of suspend_signal (every signal is blocked while it runs):
// sleeps while the thread is suspended, and never returns when the thread is
// to end.  It makes no call that a signal could interrupt into another
// handler, only futex system calls.
void on_suspend(int) {
    Control* self = t_self;
    if (self == nullptr) return;
    const int saved_errno = errno;
    for (;;) {
        const std::uint32_t seen = self->wakes.load(std::memory_order_acquire);
        if (self->terminating.load(std::memory_order_acquire)) {
            self->parked.store(true);
            publish_end(self, self->terminate_code.load(std::memory_order_relaxed));
            // Give up the thread's reference unless it is the last one:
            // freeing is not allowed here.  The thread never touches the
            // block again.
            int refs = self->refs.load();
            while (refs > 1 && !self->refs.compare_exchange_weak(refs, refs - 1)) {
            }
            sleep_forever();
        }
        if (self->suspend_count.load(std::memory_order_acquire) == 0) break;
        futex(self->wakes, FUTEX_WAIT_PRIVATE, seen, nullptr);
    }
    errno = saved_errno;
}

void install_handler() {
    static const bool installed = [] {
        struct sigaction action {};
        action.sa_flags = SA_RESTART;
        action.sa_handler = &on_suspend;
        ::sigfillset(&action.sa_mask);
        ::sigaction(suspend_signal(), &action, nullptr);
        return true;
    }();
    (void)installed;
}

void mask_suspend_signal(int how) {
    sigset_t set;
    ::sigemptyset(&set);
    ::sigaddset(&set, suspend_signal());
    ::pthread_sigmask(how, &set, nullptr);
}

// Wakes a thread that sleeps in the handler because it is suspended.
void wake_suspended(Control* c) {
    c->wakes.fetch_add(1, std::memory_order_release);
    futex(c->wakes, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr);
}

// Sends the signal while `hold` proves the thread alive.  A thread that
// signals itself runs the handler inside pthread_kill and may stay there,
// so it lets go of the lock first.
void send_suspend_signal(std::unique_lock<std::mutex>& hold, Control* c) {
    if (::pthread_equal(c->id, ::pthread_self())) hold.unlock();
    ::pthread_kill(c->id, suspend_signal());
}

// Publishes the end when the routine returns, and also when the thread
// leaves it by pthread_exit (the unwinding runs this destructor).
struct Finish {
    Control* c;
    std::uint32_t code = 0;
    ~Finish() {
        // The lock is taken with the signal blocked: a handler that stopped
        // the thread while it held the lock would block everyone else.
        mask_suspend_signal(SIG_BLOCK);
        {
            std::lock_guard<std::mutex> hold(c->lock);
            c->phase = Phase::ended;
            // A terminate that came before the end wins, as it would on
            // Windows had it come a moment sooner.
            if (c->terminating.load()) code = c->terminate_code.load();
            publish_end(c, code);
        }
        release(c);
    }
};

void* thread_body(void* param) {
    auto* c = static_cast<Control*>(param);
    // Set before the thread can be signalled: signals come only once the
    // phase is `running`, and by then the handler must find the block.
    t_self = c;
    {
        std::unique_lock<std::mutex> hold(c->lock);
        c->released.wait(hold, [c] {
            return c->phase == Phase::ended || c->suspend_count.load() == 0;
        });
        if (c->phase == Phase::ended) {  // terminated before it ever ran
            hold.unlock();
            release(c);
            return nullptr;
        }
        c->phase = Phase::running;
    }
    Finish finish{c};
    mask_suspend_signal(SIG_UNBLOCK);
    finish.code = c->start->routine(c->start);
    return nullptr;
}

bool wait_ended(Control* c, bool limited, std::chrono::steady_clock::time_point deadline) {
    while (c->ended.load(std::memory_order_acquire) == 0) {
        if (!limited) {
            futex(c->ended, FUTEX_WAIT_PRIVATE, 0, nullptr);
            continue;
        }
        auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) return false;
        auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timespec timeout{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        futex(c->ended, FUTEX_WAIT_PRIVATE, 0, &timeout);
    }
    return true;
}

std::chrono::steady_clock::time_point deadline_after(std::uint32_t milliseconds) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

}  // namespace

ThreadHandle create_suspended_thread(ThreadStart* start) {
    install_handler();
    auto* c = new (std::nothrow) Control(start);
    if (c == nullptr) {
        set_last_error(kErrorNotEnoughMemory);
        return nullptr;
    }
    const int err = ::pthread_create(&c->id, nullptr, &thread_body, c);
    if (err != 0) {
        delete c;
        // Windows reports a lack of threads or memory as "not enough memory".
        set_last_error(err == EAGAIN ? kErrorNotEnoughMemory : posix::win32_code(err));
        return nullptr;
    }
    return c;
}

namespace {

// The control block of a thread that has not ended, locked in `hold`; null,
// with the last error set, for a bad handle or an ended thread (whose suspend
// count Windows no longer changes either).
Control* lock_alive(ThreadHandle thread, std::unique_lock<std::mutex>& hold) {
    Control* c = control(thread);
    if (c == nullptr) return nullptr;
    hold = std::unique_lock<std::mutex>(c->lock);
    if (c->ended.load() != 0) {
        hold.unlock();
        set_last_error(kErrorAccessDenied);
        return nullptr;
    }
    return c;
}

}  // namespace

std::uint32_t resume_thread(ThreadHandle thread) {
    std::unique_lock<std::mutex> hold;
    Control* c = lock_alive(thread, hold);
    if (c == nullptr) return kCountFailed;
    const std::uint32_t previous = c->suspend_count.load();
    if (previous == 0) return 0;
    c->suspend_count.store(previous - 1, std::memory_order_release);
    if (previous == 1 && c->phase == Phase::running) {
        wake_suspended(c);
    } else if (previous == 1) {
        hold.unlock();
        c->released.notify_one();
    }
    return previous;
}

std::uint32_t suspend_thread(ThreadHandle thread) {
    std::unique_lock<std::mutex> hold;
    Control* c = lock_alive(thread, hold);
    if (c == nullptr) return kCountFailed;
    const std::uint32_t previous = c->suspend_count.load();
    if (previous >= kMaxSuspendCount) {
        set_last_error(kErrorSignalRefused);
        return kCountFailed;
    }
    c->suspend_count.store(previous + 1, std::memory_order_release);
    if (previous == 0 && c->phase == Phase::running) send_suspend_signal(hold, c);
    return previous;
}

std::uint32_t wait_for_thread(ThreadHandle thread, std::uint32_t milliseconds, bool) {
    Control* c = control(thread);
    if (c == nullptr) return kWaitFailed;
    return wait_ended(c, milliseconds != kInfinite, deadline_after(milliseconds)) ? kWaitObject0
                                                                                 : kWaitTimeout;
}

std::uint32_t wait_for_all_threads(const ThreadHandle* threads, std::uint32_t count,
                                   std::uint32_t milliseconds) {
    if (count == 0 || count > kMaxWaitHandles) {
        set_last_error(kErrorInvalidParameter);
        return kWaitFailed;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (control(threads[i]) == nullptr) return kWaitFailed;
    }
    // All must end, so waiting for each in turn against one deadline is the
    // same as waiting for all at once.
    const auto deadline = deadline_after(milliseconds);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!wait_ended(control(threads[i]), milliseconds != kInfinite, deadline)) {
            return kWaitTimeout;
        }
    }
    return kWaitObject0;
}

bool thread_exit_code(ThreadHandle thread, std::uint32_t& code) {
    Control* c = control(thread);
    if (c == nullptr) return false;
    code = c->ended.load(std::memory_order_acquire) != 0 ? c->exit_code.load() : kStillActive;
    return true;
}

bool terminate_thread(ThreadHandle thread, std::uint32_t exit_code) {
    Control* c = control(thread);
    if (c == nullptr) return false;
    std::unique_lock<std::mutex> hold(c->lock);
    if (c->ended.load() != 0 || c->terminating.load()) return true;
    if (c->phase == Phase::created) {
        c->phase = Phase::ended;
        publish_end(c, exit_code);
        hold.unlock();
        c->released.notify_one();
        return true;
    }
    c->terminate_code.store(exit_code);
    c->terminating.store(true, std::memory_order_release);
    // A suspended thread sleeps in the handler and only needs waking; a
    // running one enters the handler by the signal.
    wake_suspended(c);
    send_suspend_signal(hold, c);
    return true;
}

bool close_thread(ThreadHandle thread) {
    Control* c = control(thread);
    if (c == nullptr) return false;
    // A thread that has ended and is not asleep for good is about to exit:
    // joining it hands its stack back to the C library's cache at once (as
    // joining a std::thread does), so the next thread need not map a fresh
    // one.  A thread that still runs, or sleeps for good, is left to itself.
    if (c->ended.load(std::memory_order_acquire) != 0 && !c->parked.load() &&
        !::pthread_equal(c->id, ::pthread_self())) {
        ::pthread_join(c->id, nullptr);
    } else {
        ::pthread_detach(c->id);
    }
    release(c);
    return true;
}

// Thread names are the library's own ("Thread-<n>", ASCII); anything else
// is shown as '?'.  The kernel keeps 15 bytes.
bool set_thread_name(ThreadHandle thread, const std::wstring& name) {
    if (thread == nullptr) return posix::fail(kErrorInvalidHandle);
    std::string narrow;
    for (std::size_t i = 0; i < name.size() && narrow.size() < 15; ++i) {
        const auto u = static_cast<unsigned long>(name[i]);
        narrow.push_back(u >= 0x20 && u < 0x7F ? static_cast<char>(u) : '?');
    }
    const int err = ::pthread_setname_np(static_cast<Control*>(thread)->id, narrow.c_str());
    if (err != 0) return posix::fail(posix::win32_code(err));
    return true;
}

bool get_thread_name(ThreadHandle thread, std::wstring& name) {
    if (thread == nullptr) return posix::fail(kErrorInvalidHandle);
    char buffer[16] = {};
    const int err = ::pthread_getname_np(static_cast<Control*>(thread)->id, buffer, sizeof buffer);
    if (err != 0) return posix::fail(posix::win32_code(err));
    name.assign(buffer, buffer + std::strlen(buffer));
    return true;
}

}  // namespace zop::sys
