// What the library does when a process unloads it.
#ifndef ZOP_LIFECYCLE_LIBRARY_LIFECYCLE_H
#define ZOP_LIFECYCLE_LIBRARY_LIFECYCLE_H

namespace zop::detail {

// Frees, in this order, the current time zone, the three predefined
// locales and the shared date formatter with its tables.  Objects created on
// first use that were never used are not created now.  Running threads are
// neither stopped nor awaited.  Never throws.  Called by the platform's
// module entry routine at process detach (or the shared object's unload),
// before the runtime destroys the library's static objects.
void library_unload() noexcept;

}  // namespace zop::detail

#endif
