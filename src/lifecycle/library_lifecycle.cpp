// The library's own part of unloading.  Loading needs nothing of its own:
// the thread registry and the three predefined locales are static objects
// that the runtime constructs when it loads the module.
#include "lifecycle/library_lifecycle.h"

#include <zop/time.h>

namespace zop::detail {

void library_unload() noexcept {
    TimeZone::del_current_time_zone();
    // The predefined locales are constant pointers that stay as they are;
    // nothing may use them once the library is gone.
    delete Locale::CHINA;
    delete Locale::US;
    delete Locale::TAIWAN;
    DateFormat::del_local_instance();
}

}  // namespace zop::detail
