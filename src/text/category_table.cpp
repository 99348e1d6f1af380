// The category table, expanded at compile time from the ranges that the
// build generates out of UnicodeData.txt (third_party/unicode).
#include "text/category_table.h"

#include <cstddef>

namespace zop::text {

namespace {

struct Range {
    unsigned first;
    unsigned last;
    Category category;
};

constexpr Range ranges[] = {
#include "category_ranges.inc"
};

// Every code point the data file does not list is unassigned (Cn).
constexpr CategoryTable build() {
    CategoryTable t{};
    for (std::size_t i = 0; i < 65536; ++i) t.bytes[i] = Cn;
    for (const Range& r : ranges) {
        for (unsigned c = r.first; c <= r.last; ++c) t.bytes[c] = r.category;
    }
    return t;
}

}  // namespace

// constexpr guarantees constant initialisation: the bytes are in the
// module's read-only data, not computed at load time.
constexpr CategoryTable category_table = build();

}  // namespace zop::text
