// The registry of all Thread objects: stop_all and wait_all act on it.
#include <zop/thread.h>

#include "sys/thread.h"
#include "thread/thread_record.h"

#include <algorithm>
#include <mutex>

namespace zop {

// A namespace-scope object: the runtime constructs it when the library is
// loaded and destroys it when the library is unloaded, after the library's
// own unload work.
std::vector<Thread*> Thread::_vec_thread;

namespace {

// Guards the registry: threads may be made and destroyed on any number of
// threads at once.  A function-level static, so it exists whenever the
// registry is first touched, even from another library's start-up code.
std::mutex& registry_lock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

void Thread::add_thread(Thread* thread) {
    std::lock_guard<std::mutex> hold(registry_lock());
    _vec_thread.push_back(thread);
}

// Objects are mostly destroyed in the reverse order of their making, so the
// search starts at the end.  Erasing keeps construction order.
void Thread::remove_thread(Thread* thread) {
    std::lock_guard<std::mutex> hold(registry_lock());
    auto it = std::find(_vec_thread.rbegin(), _vec_thread.rend(), thread);
    if (it != _vec_thread.rend()) _vec_thread.erase(std::next(it).base());
}

void Thread::stop_all() {
    std::lock_guard<std::mutex> hold(registry_lock());
    for (Thread* thread : _vec_thread) thread->stop();
}

void Thread::wait_all(std::int64_t timeout) {
    std::vector<sys::ThreadHandle> handles;
    {
        // The wait itself runs unlocked, so that the threads it waits for
        // may make and destroy threads of their own.
        std::lock_guard<std::mutex> hold(registry_lock());
        handles.reserve(_vec_thread.size());
        for (const Thread* thread : _vec_thread) handles.push_back(thread->record_->handle);
    }
    // No batching: the system's limit of 64 handles applies as it is, and
    // a failed wait returns at once.  The low 32 bits are the milliseconds,
    // so -1 is the system's "infinite".
    sys::wait_for_all_threads(handles.data(), static_cast<std::uint32_t>(handles.size()),
                              static_cast<std::uint32_t>(timeout));
}

}  // namespace zop
