// What a Thread owns besides its registry entry.
#ifndef ZOP_THREAD_THREAD_RECORD_H
#define ZOP_THREAD_THREAD_RECORD_H

#include <zop/thread.h>

#include "sys/thread.h"

#include <atomic>
#include <string>

namespace zop::detail {

// Whether the thread is inside run().  `stopped` is final: once stop() has
// said so, the thread can no longer mark itself running, even when it
// enters run() just before the system ends it.
enum class RunState { idle, running, stopped };

// The new thread receives the record as its start block and reads `owner`
// and writes `state` while other threads may read or write them too, so
// both are atomic.
struct ThreadRecord : sys::ThreadStart {
    sys::ThreadHandle handle = nullptr;
    std::wstring name{L"Thread-"};
    std::atomic<Thread*> owner{nullptr};  // set by start()
    std::atomic<RunState> state{RunState::idle};
    std::atomic<bool> stop_requested{false};  // set by request_stop()
};

}  // namespace zop::detail

#endif
