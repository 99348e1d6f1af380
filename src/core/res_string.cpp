// Strings from a module's string-table resources.
#include <zop/core.h>

#include "sys/resource.h"

#include <cstdint>

namespace zop {

namespace {
constexpr unsigned kStringTableType = 6;  // RT_STRING
constexpr unsigned kStringsPerBlock = 16;
}  // namespace

// A string table is stored in blocks of 16 strings; block n + 1 holds the
// strings n * 16 .. n * 16 + 15, each as a unit count and that many UTF-16
// units, without terminator.
const wchar_t* load_res_string(ModuleHandle module, unsigned int id, unsigned int* length) {
    if (module == nullptr) return nullptr;
    unsigned block_id = (id / kStringsPerBlock + 1) & 0xFFFF;
    std::size_t size = 0;
    const void* data = sys::find_resource(module, kStringTableType, block_id, size);
    if (data == nullptr) return nullptr;
    const auto* pos = static_cast<const std::uint16_t*>(data);
    const auto* end = pos + size / sizeof(std::uint16_t);
    for (unsigned skip = id % kStringsPerBlock; skip > 0; --skip) {
        if (pos >= end) return nullptr;
        pos += *pos + 1;
    }
    if (pos >= end || *pos == 0) return nullptr;
    // A count that runs past the block would hand out memory beyond the
    // resource: treat such a damaged block as holding no string.
    if (*pos >= end - pos) return nullptr;
    if (length != nullptr) *length = *pos;
    // The resource holds 16-bit units; only on Windows, where wchar_t is
    // 16 bits wide, can a resource exist at all.
    return reinterpret_cast<const wchar_t*>(pos + 1);
}

void after_load_string(const wchar_t*) {}

}  // namespace zop
