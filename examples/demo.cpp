// zop demo: a short tour of the library, one subsystem after another.
#include "demo.h"

#include <zop/core.h>

int main() {
    try {
        demo_core();
        demo_fs();
        demo_text();
        demo_io();
        demo_time();
        demo_thread();
    } catch (const zop::Exception& e) {
        print(L"demo failed: " + e.message());
        return 1;
    }
    return 0;
}
