// Win32 backend: the ANSI code page through the system's converters.
#include "sys/codepage.h"

#include <windows.h>

namespace zop::sys {

int wide_to_ansi(const wchar_t* input, int length, char* output, int size) {
    return ::WideCharToMultiByte(CP_ACP, 0, input, length, output, size, nullptr, nullptr);
}

int ansi_to_wide(const char* input, int length, wchar_t* output, int size) {
    return ::MultiByteToWideChar(CP_ACP, 0, input, length, output, size);
}

}  // namespace zop::sys
