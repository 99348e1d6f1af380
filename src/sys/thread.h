// Platform layer: operating-system threads, shaped like the Win32 thread
// calls (CreateThread with CREATE_SUSPENDED, ResumeThread, SuspendThread,
// WaitForSingleObjectEx, WaitForMultipleObjects, GetExitCodeThread,
// TerminateThread, CloseHandle).
//
// Functions that can fail leave the Win32 error code in the thread's last
// error (sys::last_error()).
#ifndef ZOP_SYS_THREAD_H
#define ZOP_SYS_THREAD_H

#include <cstdint>
#include <string>

namespace zop::sys {

// A thread handle: the HANDLE itself on Windows, a control block elsewhere.
// Valid from creation until close_thread, whether or not the thread still
// runs.
using ThreadHandle = void*;

constexpr std::uint32_t kStillActive = 259;         // exit code of a live thread
constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;    // wait without limit
constexpr std::uint32_t kWaitObject0 = 0;           // the wait was satisfied
constexpr std::uint32_t kWaitTimeout = 258;         // the time ran out first
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;  // the call failed
constexpr std::uint32_t kMaxWaitHandles = 64;       // per wait_for_all_threads
constexpr std::uint32_t kMaxSuspendCount = 127;

// Where a new thread starts.  The creator embeds this block in its own data
// and keeps it alive while the thread may run; the thread calls
// `routine(start)` and ends with its result as the exit code.  (The block
// keeps the platform's calling convention for thread entry points out of
// the library's code.)
struct ThreadStart {
    std::uint32_t (*routine)(ThreadStart* start) = nullptr;
};

// Creates a thread with suspend count 1 and the system's default stack size.
// Null on failure.
ThreadHandle create_suspended_thread(ThreadStart* start);

// Decrements the suspend count if it is not 0; at 0 the thread runs.
// Returns the previous count, or 0xFFFFFFFF on failure.
std::uint32_t resume_thread(ThreadHandle thread);

// Increments the suspend count; a running thread stops where it is.
// Returns the previous count, or 0xFFFFFFFF on failure.
std::uint32_t suspend_thread(ThreadHandle thread);

// Waits up to `milliseconds` (kInfinite: no limit) for the thread to end.
// `alertable` lets queued asynchronous procedure calls end the wait
// (WAIT_IO_COMPLETION) where the system has them.
std::uint32_t wait_for_thread(ThreadHandle thread, std::uint32_t milliseconds, bool alertable);

// Waits until every one of `count` threads has ended or the time ran out.
// Fails at once (kWaitFailed, code 87) for 0 or more than kMaxWaitHandles.
std::uint32_t wait_for_all_threads(const ThreadHandle* threads, std::uint32_t count,
                                   std::uint32_t milliseconds);

// The thread's exit code, kStillActive while it has not ended.
bool thread_exit_code(ThreadHandle thread, std::uint32_t& code);

// Ends the thread (running, suspended or never started) with `exit_code`.
// Nothing of the thread's own cleanup runs.  The end may take effect after
// the call returns; wait_for_thread tells when it has.
bool terminate_thread(ThreadHandle thread, std::uint32_t exit_code);

// Releases the handle.  A thread that still runs goes on running.
bool close_thread(ThreadHandle thread);

// Gives the thread a name that debuggers and system tools show
// (SetThreadDescription where Windows has it; pthread_setname_np on Linux,
// which takes at most 15 bytes: longer names keep their first 15).  False
// where the system has no such name or refuses it.
bool set_thread_name(ThreadHandle thread, const std::wstring& name);

// The name the system shows for the thread; false where it has none.
bool get_thread_name(ThreadHandle thread, std::wstring& name);

}  // namespace zop::sys

#endif
