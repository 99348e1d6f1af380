// UTF-8 <-> UTF-16 conversion speed, timed by the program itself (no
// benchmark library), so that it builds and runs the same on Linux and as a
// Windows program under Wine, where wchar_t is 16 bits wide.
//
// zop converts the texts of text_inputs.h (16 MiB of UTF-8 each) in both
// directions on every instruction set this processor runs (AVX2, SSE2,
// plain code), beside memcpy of the UTF-8 bytes as the floor.  Buffers are
// allocated and touched once.  Each round runs every case once, in an order
// shuffled anew each round, so that a slow spell of the shared machine hits
// all cases alike; the table gives the median of the rounds.
//
// Usage: text_selftimed [rounds] [--csv]
// Cases are named as in text_bench: from_utf8 (UTF-8 to UTF-16), to_utf8.
// Columns: GB/s counts UTF-8 bytes in both directions (as text_bench does);
// ns/unit is the time per code unit written (UTF-16 units to UTF-16, bytes
// to UTF-8); "x memcpy" is the time of memcpy over the case's time.
#include <zop/text.h>

#include "../src/text/utf_paths.h"
#include "text_inputs.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using zop::text::UtfPath;

struct Text {
    const char* name;
    std::string utf8;
    std::wstring wide;
};

struct Case {
    std::string name;
    const Text* text;
    UtfPath path;
    int direction;  // 0: UTF-8 to UTF-16, 1: UTF-16 to UTF-8, 2: memcpy
    std::vector<double> seconds;
};

std::vector<wchar_t> g_units;
std::vector<char> g_bytes;

// Runs one case once; false when the conversion failed.
bool run(const Case& c) {
    const Text& t = *c.text;
    if (c.direction == 2) {
        std::memcpy(g_bytes.data(), t.utf8.data(), t.utf8.size());
        return true;
    }
    zop::text::use_utf_path(c.path);
    unsigned room;
    if (c.direction == 0) {
        room = static_cast<unsigned>(g_units.size());
        return zop::Convertion::utf8_to_utf16(t.utf8.data(), static_cast<unsigned>(t.utf8.size()),
                                              g_units.data(), &room) &&
               g_units.size() - room == t.wide.size();
    }
    room = static_cast<unsigned>(g_bytes.size() - 1);
    return zop::Convertion::utf16_to_utf8(t.wide.data(), static_cast<unsigned>(t.wide.size()), g_bytes.data(),
                                          &room) &&
           g_bytes.size() - 1 - room == t.utf8.size();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

const char* path_name(UtfPath p) {
    return p == UtfPath::avx2 ? "avx2" : p == UtfPath::sse2 ? "sse2" : "scalar";
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 15;
    bool csv = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--csv") == 0) csv = true;
        else rounds = std::max(1, std::atoi(argv[i]));
    }

    std::vector<Text> texts;
    for (int k = 0; k < 3; ++k) {
        Text t{zop_bench::kTextNames[k], {}, zop_bench::make_text(k)};
        t.utf8 = zop::Convertion::to_utf8(t.wide);
        texts.push_back(std::move(t));
    }
    g_units.assign(zop_bench::kTextSize + 16, L'\1');
    g_bytes.assign(4 * zop_bench::kTextSize + 16, '\1');

    std::vector<UtfPath> paths;
    for (UtfPath p : {UtfPath::avx2, UtfPath::sse2, UtfPath::scalar}) {
        if (zop::text::use_utf_path(p)) paths.push_back(p);
    }
    std::vector<Case> cases;
    for (const Text& t : texts) {
        for (int direction = 0; direction < 2; ++direction) {
            for (UtfPath p : paths) {
                cases.push_back({std::string(direction == 0 ? "from_utf8/" : "to_utf8/") + t.name + "/" + path_name(p),
                                 &t, p, direction, {}});
            }
        }
        cases.push_back({std::string("memcpy/") + t.name, &t, UtfPath::automatic, 2, {}});
    }

    for (const Case& c : cases) {
        if (!run(c)) {
            std::fprintf(stderr, "%s: conversion failed\n", c.name.c_str());
            return 1;
        }
    }
    std::vector<Case*> order;
    for (Case& c : cases) order.push_back(&c);
    std::mt19937 rng(1);
    for (int r = 0; r < rounds; ++r) {
        std::shuffle(order.begin(), order.end(), rng);
        for (Case* c : order) {
            auto start = std::chrono::steady_clock::now();
            run(*c);
            auto stop = std::chrono::steady_clock::now();
            c->seconds.push_back(std::chrono::duration<double>(stop - start).count());
        }
    }
    zop::text::use_utf_path(UtfPath::automatic);

    if (csv) {
        std::printf("case,utf8_bytes,units_written,median_ns\n");
    } else {
        std::printf("wchar_t: %u bytes; %d rounds; medians\n", static_cast<unsigned>(sizeof(wchar_t)), rounds);
        std::printf("%-28s %9s %10s %9s\n", "case", "GB/s", "ns/unit", "x memcpy");
    }
    for (const Case& c : cases) {
        double t = median(c.seconds);
        double floor = 0;
        for (const Case& m : cases) {
            if (m.direction == 2 && m.text == c.text) floor = median(m.seconds);
        }
        std::size_t units = c.direction == 0 ? c.text->wide.size() : c.text->utf8.size();
        if (csv) {
            std::printf("%s,%zu,%zu,%.0f\n", c.name.c_str(), c.text->utf8.size(), units, t * 1e9);
        } else {
            std::printf("%-28s %9.3f %10.3f %9.2f\n", c.name.c_str(), c.text->utf8.size() / t / 1e9, t * 1e9 / units,
                        floor / t);
        }
    }
    return 0;
}
