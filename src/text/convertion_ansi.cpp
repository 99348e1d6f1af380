// ANSI code page conversion: the system's converter does the work; these
// functions only keep its counts and errors as they are.
#include <zop/text.h>

#include "sys/codepage.h"

namespace zop {

// The unsigned lengths and sizes go to the system as its signed counts, so
// all bits set (0xFFFFFFFF) arrives as -1, "up to the terminating zero".
int Convertion::utf16_to_ansi(const wchar_t* input, unsigned int length,
                              char* output, unsigned int size) {
    if (length == 0 && output != nullptr) return 0;
    return sys::wide_to_ansi(input, static_cast<int>(length), output, static_cast<int>(size));
}

int Convertion::ansi_to_utf16(const char* input, unsigned int length,
                              wchar_t* output, unsigned int size) {
    if (length == 0 && output != nullptr) return 0;
    return sys::ansi_to_wide(input, static_cast<int>(length), output, static_cast<int>(size));
}

}  // namespace zop
