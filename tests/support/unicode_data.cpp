#include "support/unicode_data.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace zop_test {

// A const object at namespace scope: local to this file.
const char* const category_names = "LuLlLtLmLoMnMcMeNdNlNoZsZlZpCcCfCsCoPcPdPsPePiPfPoSmScSkSoCn";

std::vector<unsigned char> unicode_categories(std::string& error) {
    std::ifstream file(ZOP_TEST_UNICODE_DATA);
    if (!file) {
        error = std::string("cannot open ") + ZOP_TEST_UNICODE_DATA;
        return {};
    }
    std::vector<unsigned char> cats(65536, 29);
    std::string line;
    long range_start = -1;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string code, name, cat;
        std::getline(fields, code, ';');
        std::getline(fields, name, ';');
        std::getline(fields, cat, ';');
        const char* found = cat.size() == 2 ? std::strstr(category_names, cat.c_str()) : nullptr;
        if (found == nullptr || (found - category_names) % 2 != 0) {
            error = "bad line: " + line;
            return {};
        }
        long cp = std::stol(code, nullptr, 16);
        if (cp > 0xFFFF) continue;
        bool last = name.find(", Last>") != std::string::npos;
        if (name.find(", First>") != std::string::npos) {
            range_start = cp;
            continue;
        }
        long from = last ? range_start : cp;
        for (long c = from; c <= cp; ++c) {
            cats[static_cast<std::size_t>(c)] = static_cast<unsigned char>((found - category_names) / 2);
        }
    }
    return cats;
}

}  // namespace zop_test
