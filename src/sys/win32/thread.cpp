// Win32 backend: threads through the system's own thread calls.
#include "sys/thread.h"

#include <windows.h>

namespace zop::sys {

namespace {

HANDLE native(ThreadHandle thread) { return static_cast<HANDLE>(thread); }

// The system calls entry points with its own calling convention; this one
// forwards to the library's routine.
DWORD WINAPI thread_entry(LPVOID param) {
    auto* start = static_cast<ThreadStart*>(param);
    return start->routine(start);
}

}  // namespace

ThreadHandle create_suspended_thread(ThreadStart* start) {
    DWORD id = 0;  // required by Windows 9x, not kept
    return ::CreateThread(nullptr, 0, &thread_entry, start, CREATE_SUSPENDED, &id);
}

std::uint32_t resume_thread(ThreadHandle thread) { return ::ResumeThread(native(thread)); }

std::uint32_t suspend_thread(ThreadHandle thread) { return ::SuspendThread(native(thread)); }

std::uint32_t wait_for_thread(ThreadHandle thread, std::uint32_t milliseconds, bool alertable) {
    return ::WaitForSingleObjectEx(native(thread), milliseconds, alertable ? TRUE : FALSE);
}

std::uint32_t wait_for_all_threads(const ThreadHandle* threads, std::uint32_t count,
                                   std::uint32_t milliseconds) {
    // HANDLE is void*, so the list is passed as it is; the system itself
    // rejects 0 or more than MAXIMUM_WAIT_OBJECTS handles.
    return ::WaitForMultipleObjects(count, threads, TRUE, milliseconds);
}

bool thread_exit_code(ThreadHandle thread, std::uint32_t& code) {
    DWORD value = 0;
    if (!::GetExitCodeThread(native(thread), &value)) return false;
    code = value;
    return true;
}

bool terminate_thread(ThreadHandle thread, std::uint32_t exit_code) {
    return ::TerminateThread(native(thread), exit_code) != FALSE;
}

bool close_thread(ThreadHandle thread) { return ::CloseHandle(native(thread)) != FALSE; }

namespace {

// SetThreadDescription and GetThreadDescription exist from Windows 10
// version 1607 on; they are looked up once, so the library still loads on
// older systems.
using SetDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
using GetDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);

FARPROC kernel_function(const char* name) {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel == nullptr ? nullptr : ::GetProcAddress(kernel, name);
}

}  // namespace

bool set_thread_name(ThreadHandle thread, const std::wstring& name) {
    static const auto set = reinterpret_cast<SetDescription>(
        reinterpret_cast<void (*)()>(kernel_function("SetThreadDescription")));
    if (set == nullptr) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    const HRESULT result = set(native(thread), name.c_str());
    if (FAILED(result)) {
        ::SetLastError(static_cast<DWORD>(result) & 0xFFFF);
        return false;
    }
    return true;
}

bool get_thread_name(ThreadHandle thread, std::wstring& name) {
    static const auto get = reinterpret_cast<GetDescription>(
        reinterpret_cast<void (*)()>(kernel_function("GetThreadDescription")));
    PWSTR text = nullptr;
    if (get == nullptr) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    if (FAILED(get(native(thread), &text))) return false;
    name = text;
    ::LocalFree(text);
    return true;
}

}  // namespace zop::sys
