// The current locale and the registry of the user languages that the
// library knows.
#ifndef ZOP_TIME_LOCALE_INTERNAL_H
#define ZOP_TIME_LOCALE_INTERNAL_H

#include <zop/time.h>

#include <cstdint>

namespace zop::detail {

// Locale::current_locale(), called directly from within the library (the
// exported function is reached through the procedure linkage table).
const Locale* current_locale();

// The predefined locale of a Windows language identifier: Chinese of China
// for 0x0804 and 0x0C04, of Taiwan for 0x0404, US English for everything
// else.
const Locale* locale_for_language(std::uint16_t language);

}  // namespace zop::detail

#endif
