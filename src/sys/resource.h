// Platform layer: resources compiled into a module.
#ifndef ZOP_SYS_RESOURCE_H
#define ZOP_SYS_RESOURCE_H

#include <cstddef>

namespace zop::sys {

// Finds, loads and locks the resource of numeric `type` and numeric `id` in
// `module`.  Returns its first byte and stores its size in `size`, or
// returns null when any step fails.  The memory belongs to the module.
const void* find_resource(void* module, unsigned type, unsigned id,
                          std::size_t& size);

}  // namespace zop::sys

#endif
