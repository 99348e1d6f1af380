/// @file
/// @ingroup thread
/// zop threads: a base class for work that runs on its own operating-system
/// thread, and a process-wide registry of all such threads.
#ifndef ZOP_THREAD_H
#define ZOP_THREAD_H

#include <zop/core.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zop {

/// @defgroup thread Threads
/// A base class for work that runs on its own operating-system thread, and
/// a process-wide registry of all such threads (`<zop/thread.h>`).
/// @{

namespace detail {
struct ThreadRecord;
}

/// Derive from Thread and put the work in run().  Constructing the object
/// creates a suspended operating-system thread named `"Thread-<n>"` (n counts
/// up from 1000 over the process, one number per successful creation) and
/// enters the object in the registry; start() lets the thread call run().
///
/// Every operation except run() executes on the calling thread.  One object
/// is controlled from one thread at a time.  Threads may be constructed and
/// destroyed on any number of threads at once, also while stop_all() runs;
/// destroying a thread while wait_all() waits for it is the caller's to
/// serialise.
///
/// On Linux, pause() and stop() work by signals (see docs/thread.md): a
/// thread that blocks them cannot be paused or stopped until it unblocks
/// them.
class ZOP_API Thread {
public:
    /// Creates the suspended thread and registers this object.  Throws
    /// OutOfMemoryException when the library's own record cannot be
    /// allocated, and Exception("Cannot create thread: " + the system's text)
    /// when the system cannot create the thread; nothing is registered then
    /// and no name number is used up.
    Thread();

    /// Removes this object from the registry and ends the thread as stop()
    /// does, but waits until a thread it had to end has really ended; then
    /// releases the handle.  Never throws.  A run() that is still going when
    /// a derived class's destructor has finished may see a half-destroyed
    /// object, so derived classes end or join their thread themselves when
    /// run() uses their members.
    virtual ~Thread();

    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    /// The work, executed on the new thread.  An exception escaping run()
    /// ends the process (std::terminate), as for std::thread.
    virtual void run() = 0;

    /// Lets the thread run; it calls run() on this object.  A thread that has
    /// already ended (stopped, or resumed before start()) does not run again.
    void start();

    /// Ends the thread at once if it has not ended (also a thread that was
    /// never started): run() gets no chance to clean up, and the locks it
    /// holds stay held.  Does not wait.  Throws Exception("Cannot stop
    /// thread: " + the system's text) when the thread's state cannot be read.
    void stop();

    /// Suspends the thread (the system counts suspensions; each resume()
    /// takes one back).  Failures are ignored.
    void pause();

    /// Takes back one suspension; at zero the thread runs again.  Before
    /// start() this lets the thread end without calling run().  Failures are
    /// ignored.
    void resume();

    /// Waits until the thread has ended.  On Windows the wait is alertable: a
    /// queued asynchronous procedure call ends it early.
    void join();

    /// Waits at most `milliseconds` (a negative value: without limit) for the
    /// thread to end: true when it has ended, false when the time ran out or
    /// the wait failed.  The wait is not alertable.  Never throws.
    bool join(std::int64_t milliseconds);

    /// Asks the thread to end cleanly: from now on stop_requested() answers
    /// true.  run() polls it and returns; nothing interrupts the thread.
    /// Never throws.
    void request_stop();

    /// Whether request_stop() has been called.  Safe from any thread.
    bool stop_requested() const;

    /// True while the thread is inside run() and stop() has not been called.
    /// The flag is advisory: it may change at any moment.
    bool is_running() const;

    /// The name given at construction, e.g. "Thread-1000".  The system shows
    /// it too (debuggers, `top -H`, Process Explorer) where it can name
    /// threads: Windows 10 1607 and later, Linux (15 bytes at most there).
    std::wstring thread_name() const;

    /// The operating-system thread handle (a HANDLE on Windows), valid until
    /// the object is destroyed; it is what join() and wait_all() wait on.
    operator void*() const;

    /// stop() for every registered thread in construction order; the first
    /// exception ends the loop and passes to the caller.
    static void stop_all();

    /// Waits until every registered thread has ended or `timeout`
    /// milliseconds have passed (the low 32 bits count; -1 waits without
    /// limit).  Like the system's wait for many objects it takes at most 64
    /// threads: with none, or with more than 64 registered, it returns at once
    /// without waiting.  Reports nothing.
    static void wait_all(std::int64_t timeout);

private:
    static void add_thread(Thread* thread);
    static void remove_thread(Thread* thread);

    // Every Thread that exists, in construction order; an object leaves it
    // when it is destroyed.  Created when the library is loaded, destroyed
    // when it is unloaded.
    static std::vector<Thread*> _vec_thread;

    detail::ThreadRecord* record_;
};

/// @}

}  // namespace zop

#endif
