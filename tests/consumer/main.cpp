// Uses the installed library the way an application would.
#include <zop/zop.h>

#include <cstdio>
#include <vector>

int main() {
    std::vector<std::wstring> pieces;
    zop::split_string(L"a,b", pieces, L",");
    if (pieces.size() != 2) return 1;
    if (zop::Path::combine(L"C:\\x", L"y") != L"C:\\x\\y") return 2;
    try {
        zop::SystemFile::throw_io_exception(5, true, L"");
    } catch (const zop::IOException& e) {
        if (e.message().empty()) return 3;
        std::puts("consumer: ok");
        return 0;
    }
    return 4;
}
