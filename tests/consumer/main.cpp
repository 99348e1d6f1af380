// Uses the installed library the way an application would.
// On Windows the system's own time records come first, as in most
// applications; the library's header must agree with them.
#if defined(_WIN32)
#include <windows.h>
#endif
#include <zop/zop.h>

#include <cstdio>
#include <vector>

// Names that <windows.h> also uses stay usable after it.
static_assert(zop::CREATE_NEW == 1 && zop::CREATE == 2 && zop::READ_WRITE == 3, "stream options");

int main() {
    // The headers and the library found are of one release.
    if (zop::version() != ZOP_VERSION_STRING) return 6;
#if defined(_WIN32)
    // So says zop0.1.dll's version resource, read as Explorer reads it.
    std::vector<char> info(GetFileVersionInfoSizeW(L"zop0.1.dll", nullptr));
    if (info.empty() || !GetFileVersionInfoW(L"zop0.1.dll", 0, DWORD(info.size()), info.data())) return 7;
    auto text = [&](const std::wstring& name) {
        void* value = nullptr;
        UINT length = 0;
        VerQueryValueW(info.data(), (L"\\StringFileInfo\\040904B0\\" + name).c_str(), &value, &length);
        return std::wstring(value ? static_cast<const wchar_t*>(value) : L"");
    };
    const std::string version = ZOP_VERSION_STRING;
    if (text(L"FileVersion") != std::wstring(version.begin(), version.end()) ||
        text(L"ProductVersion") != text(L"FileVersion") || text(L"ProductName") != L"zop" ||
        text(L"OriginalFilename") != L"zop0.1.dll") return 7;
#endif
    std::vector<std::wstring> pieces;
    zop::split_string(L"a,b", pieces, L",");
    if (pieces.size() != 2) return 1;
    if (zop::Path::combine(L"C:\\x", L"y") != L"C:\\x\\y") return 2;
    SYSTEMTIME st = {2005, 3, 5, 4, 10, 30, 0, 0};
    const zop::Date date(st);
    if (date.year() != 2005 || date.day_of_week() != zop::FRIDAY) return 5;
    try {
        zop::SystemFile::throw_io_exception(5, true, L"");
    } catch (const zop::IOException& e) {
        if (e.message().empty()) return 3;
        std::puts("consumer: ok");
        return 0;
    }
    return 4;
}
