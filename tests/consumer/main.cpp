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
