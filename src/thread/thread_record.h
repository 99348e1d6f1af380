// What a Thread owns besides its registry entry.
#ifndef ZOP_THREAD_THREAD_RECORD_H
#define ZOP_THREAD_THREAD_RECORD_H

#include <zop/thread.h>

#include "sys/thread.h"

#include <atomic>
#include <string>

namespace zop::detail {

// The new thread receives the record as its start block and reads `owner`
// and writes `running` while other threads may read or write them too, so
// both are atomic.
struct ThreadRecord : sys::ThreadStart {
    sys::ThreadHandle handle = nullptr;
    std::wstring name{L"Thread-"};
    std::atomic<Thread*> owner{nullptr};  // set by start()
    std::atomic<bool> running{false};     // inside run(), not stopped
};

}  // namespace zop::detail

#endif
