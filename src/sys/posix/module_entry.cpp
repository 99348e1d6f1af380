// POSIX backend: the shared object's unload hook.  A finalizer of the
// object's own runs when dlclose unloads it (before the runtime's static
// destructors of the object) and at process exit.
#include "lifecycle/library_lifecycle.h"

namespace {

[[gnu::destructor]] void zop_library_unload() { zop::detail::library_unload(); }

}  // namespace
