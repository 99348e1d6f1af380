// POSIX backend: shared objects carry no Windows resources.
#include "sys/resource.h"

namespace zop::sys {

const void* find_resource(void*, unsigned, unsigned, std::size_t&) { return nullptr; }

}  // namespace zop::sys
