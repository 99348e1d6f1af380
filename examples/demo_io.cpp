// Demo: a small binary record file, written and read back through the
// stream decorators.
#include "demo.h"

#include <zop/zop.h>

void demo_io() {
    using namespace zop;

    section(L"Streams");
    const std::wstring path = Path::combine(Path::current_module_path(), L"zop-demo-records.bin");
    {
        // Data over buffered over file; closing the outer stream closes and
        // deletes the ones it owns.
        DataOutputStream out(
            new BufferedOutputStream(new FileOutputStream(path, CREATE, NONE), true, true), true);
        out.write_string(std::wstring(L"zop records"));
        out.write_int(3);
        const wchar_t* names[] = {L"alpha", L"beta", L"gamma"};
        for (int i = 0; i < 3; ++i) {
            out.write_int(i + 1);
            out.write_string(std::wstring(names[i]));
            out.write_double(1.5 * (i + 1));
            out.write_bool(i % 2 == 0);
        }
        out.write_line(L"the end");
    }
    File file(path);
    print(L"wrote " + file.name() + L": " + std::to_wstring(file.length()) + L" bytes");

    DataInputStream in(new BufferedInputStream(new FileInputStream(path, READ), true, true), true);
    print(L"title: " + in.read_uni_string());
    int count = in.read_int();
    for (int i = 0; i < count; ++i) {
        int id = in.read_int();
        std::wstring name = in.read_uni_string();
        double weight = in.read_double();
        bool even = in.read_bool();
        print(L"  record " + std::to_wstring(id) + L": " + name + L", weight " +
              std::to_wstring(weight) + (even ? L", flagged" : L""));
    }
    print(L"last line: " + in.read_line());
    try {
        in.read_int();
    } catch (const EOFException& e) {
        print(L"reading on: EOFException: " + e.message());
    }
    in.close();
    file.remove();
}
