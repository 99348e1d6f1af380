// Failure codes of platform-layer calls, for the internal tests.
#ifndef ZOP_TESTS_INTERNAL_LAST_ERROR_TEST_SUPPORT_H
#define ZOP_TESTS_INTERNAL_LAST_ERROR_TEST_SUPPORT_H

#include "sys/error.h"

#include <cstdint>

namespace zop_test {

// The error code after a call that reported failure; ~0 after a success.
inline std::uint32_t error_of(bool succeeded) { return succeeded ? ~0u : zop::sys::last_error(); }

// The same for a call made from a cleared code, whose 0 (or false) answer
// means failure.
template <typename F>
std::uint32_t error_of(F call) {
    zop::sys::set_last_error(0);
    return error_of(call() != 0);
}

}  // namespace zop_test

#endif
