// Thread: the object's life and the operations on its thread.
#include <zop/thread.h>

#include "core/error_text.h"
#include "sys/thread.h"
#include "thread/thread_record.h"

#include <atomic>
#include <new>

namespace zop {

namespace {

using detail::RunState;
using detail::ThreadRecord;

// The number of the next thread name.  Atomic, so that threads constructed
// on several threads at once still get distinct names.
std::atomic<std::uint32_t> g_next_number{1000};

constexpr std::uint32_t kStoppedExitCode = 1;

// The first routine of every new thread.  A thread resumed before start()
// finds no owner and ends without calling run().
std::uint32_t thread_main(sys::ThreadStart* start) {
    if (start == nullptr) return 1;
    auto* record = static_cast<ThreadRecord*>(start);
    Thread* owner = record->owner.load();
    if (owner == nullptr) return 0;
    RunState idle = RunState::idle;
    if (!record->state.compare_exchange_strong(idle, RunState::running)) return 0;  // stopped
    owner->run();
    RunState running = RunState::running;
    record->state.compare_exchange_strong(running, RunState::idle);
    return 0;
}

enum class Ending { unknown, ended, terminated };

// Ends the thread unless it has ended already.  `unknown` when the system
// cannot tell whether it has (the last error says why).
Ending end_thread(ThreadRecord& record) {
    record.state.store(RunState::stopped);
    std::uint32_t code = 0;
    if (!sys::thread_exit_code(record.handle, code)) return Ending::unknown;
    if (code != sys::kStillActive) return Ending::ended;
    sys::terminate_thread(record.handle, kStoppedExitCode);
    return Ending::terminated;
}

// Ends the thread, waits until a thread that had to be ended has really
// ended (a terminated thread may still be finishing when terminate returns,
// and the record must outlive its every access), and frees everything.
void dispose(ThreadRecord* record) {
    if (end_thread(*record) == Ending::terminated) {
        sys::wait_for_thread(record->handle, sys::kInfinite, false);
    }
    sys::close_thread(record->handle);
    delete record;
}

}  // namespace

Thread::Thread() : record_(nullptr) {
    auto* record = new (std::nothrow) ThreadRecord;
    if (record == nullptr) throw OutOfMemoryException();
    record->routine = &thread_main;
    record->handle = sys::create_suspended_thread(record);
    if (record->handle == nullptr) {
        std::wstring message = detail::last_error_text(L"Cannot create thread: ");
        delete record;
        throw Exception(message);
    }
    record->name += std::to_wstring(g_next_number.fetch_add(1));
    // Best effort: a system that cannot show thread names keeps them here.
    sys::set_thread_name(record->handle, record->name);
    record_ = record;
    try {
        add_thread(this);
    } catch (...) {
        dispose(record);
        throw;
    }
}

Thread::~Thread() {
    remove_thread(this);
    dispose(record_);
}

void Thread::start() {
    record_->owner.store(this);
    sys::resume_thread(record_->handle);
}

void Thread::stop() {
    if (end_thread(*record_) == Ending::unknown) {
        throw Exception(detail::last_error_text(L"Cannot stop thread: "));
    }
}

void Thread::pause() { sys::suspend_thread(record_->handle); }

void Thread::resume() { sys::resume_thread(record_->handle); }

void Thread::join() { sys::wait_for_thread(record_->handle, sys::kInfinite, true); }

bool Thread::join(std::int64_t milliseconds) {
    // Waits of 2^32 - 1 ms or more are waits without limit, as negative ones.
    const std::uint32_t wait = milliseconds < 0 || milliseconds >= sys::kInfinite
                                   ? sys::kInfinite
                                   : static_cast<std::uint32_t>(milliseconds);
    return sys::wait_for_thread(record_->handle, wait, false) == sys::kWaitObject0;
}

void Thread::request_stop() { record_->stop_requested.store(true); }

bool Thread::stop_requested() const { return record_->stop_requested.load(); }

bool Thread::is_running() const { return record_->state.load() == RunState::running; }

std::wstring Thread::thread_name() const { return record_->name; }

Thread::operator void*() const { return record_->handle; }

}  // namespace zop
