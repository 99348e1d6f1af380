// The library's own version, fixed when the library is compiled.
#include <zop/version.h>

namespace zop {

std::string version() {
    return ZOP_VERSION_STRING;
}

}  // namespace zop
