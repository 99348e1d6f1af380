// Win32 backend: module resources.
#include "sys/resource.h"

#include <windows.h>

namespace zop::sys {

const void* find_resource(void* module, unsigned type, unsigned id, std::size_t& size) {
    HMODULE mod = static_cast<HMODULE>(module);
    HRSRC info = ::FindResourceW(mod, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
    if (info == nullptr) return nullptr;
    HGLOBAL loaded = ::LoadResource(mod, info);
    if (loaded == nullptr) return nullptr;
    const void* data = ::LockResource(loaded);
    if (data == nullptr) return nullptr;
    size = ::SizeofResource(mod, info);
    return data;
}

}  // namespace zop::sys
