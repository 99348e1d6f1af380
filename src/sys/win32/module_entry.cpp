// Win32 backend: the DLL entry routine.  mingw's runtime initialises itself
// before calling it at attach and runs its termination list after it at
// detach, so the library's unload comes before its static objects go.
#include "lifecycle/library_lifecycle.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) zop::detail::library_unload();
    return TRUE;
}
