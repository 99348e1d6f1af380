// zop demo: a short tour of the library, one subsystem after another.
#include "demo.h"

int main() {
    demo_core();
    demo_fs();
    demo_time();
    return 0;
}
