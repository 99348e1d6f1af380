// UTF-8 <-> UTF-16 conversion speed: zop against ICU, Qt and memcpy, on
// 16 MiB of ASCII text, of mixed English and Chinese text, and of text that
// is mostly emoji.  Every rate is counted in UTF-8 bytes per second in both
// directions, so the two directions and all peers are comparable.
//
// Output buffers are allocated and touched once; the allocator is told to
// keep large blocks, so that Qt, which returns a new string per call, does
// not pay for fresh pages on every iteration either.  Repetitions of all
// cases are interleaved in random order unless told otherwise.
#include <zop/text.h>

#include "text_inputs.h"

#include <benchmark/benchmark.h>
#include <QByteArray>
#include <QString>
#include <unicode/ustring.h>

#include <malloc.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using zop_bench::kTextSize;
using zop_bench::make_text;

struct Input {
    const char* name;
    std::string utf8;
    std::vector<wchar_t> wide;  // zop's UTF-16 (wchar_t units)
    std::u16string icu;         // ICU's and Qt's UTF-16
    QString qt;
};

std::vector<Input>& inputs() {
    static std::vector<Input> all = [] {
        std::vector<Input> v;
        for (int k = 0; k < 3; ++k) {
            std::wstring text = make_text(k);
            Input in{zop_bench::kTextNames[k], std::string(3 * text.size(), '\0'), {text.begin(), text.end()}, {}, {}};
            unsigned room = static_cast<unsigned>(in.utf8.size() - 1);
            zop::Convertion::utf16_to_utf8(text.data(), static_cast<unsigned>(text.size()), &in.utf8[0], &room);
            in.utf8.resize(in.utf8.size() - 1 - room);
            in.icu.assign(text.begin(), text.end());
            in.qt = QString::fromUtf16(in.icu.data(), static_cast<int>(in.icu.size()));
            v.push_back(std::move(in));
        }
        return v;
    }();
    return all;
}

// Shared output buffers, touched once.
std::vector<wchar_t> g_wide_out(kTextSize + 16, 1);
std::u16string g_icu_out(kTextSize + 16, u'\1');
std::string g_bytes_out(4 * kTextSize + 16, '\1');

void finish(benchmark::State& state, const Input& in, bool ok) {
    if (!ok) state.SkipWithError("conversion failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(in.utf8.size()));
}

// UTF-8 to UTF-16.
void zop_from_utf8(benchmark::State& state, const Input& in) {
    bool ok = true;
    for (auto _ : state) {
        unsigned room = static_cast<unsigned>(g_wide_out.size());
        ok &= zop::Convertion::utf8_to_utf16(in.utf8.data(), static_cast<unsigned>(in.utf8.size()),
                                             g_wide_out.data(), &room);
        benchmark::DoNotOptimize(g_wide_out.data());
    }
    finish(state, in, ok);
}

void icu_from_utf8(benchmark::State& state, const Input& in) {
    bool ok = true;
    for (auto _ : state) {
        UErrorCode err = U_ZERO_ERROR;
        int32_t len = 0;
        u_strFromUTF8(g_icu_out.data(), static_cast<int32_t>(g_icu_out.size()), &len, in.utf8.data(),
                      static_cast<int32_t>(in.utf8.size()), &err);
        ok &= U_SUCCESS(err);
        benchmark::DoNotOptimize(g_icu_out.data());
    }
    finish(state, in, ok);
}

void qt_from_utf8(benchmark::State& state, const Input& in) {
    for (auto _ : state) {
        QString s = QString::fromUtf8(in.utf8.data(), static_cast<int>(in.utf8.size()));
        benchmark::DoNotOptimize(s.constData());
    }
    finish(state, in, true);
}

// UTF-16 to UTF-8.
void zop_to_utf8(benchmark::State& state, const Input& in) {
    bool ok = true;
    for (auto _ : state) {
        unsigned room = static_cast<unsigned>(g_bytes_out.size() - 1);
        ok &= zop::Convertion::utf16_to_utf8(in.wide.data(), static_cast<unsigned>(in.wide.size()),
                                             g_bytes_out.data(), &room);
        benchmark::DoNotOptimize(g_bytes_out.data());
    }
    finish(state, in, ok);
}

void icu_to_utf8(benchmark::State& state, const Input& in) {
    bool ok = true;
    for (auto _ : state) {
        UErrorCode err = U_ZERO_ERROR;
        int32_t len = 0;
        u_strToUTF8(g_bytes_out.data(), static_cast<int32_t>(g_bytes_out.size()), &len, in.icu.data(),
                    static_cast<int32_t>(in.icu.size()), &err);
        ok &= U_SUCCESS(err);
        benchmark::DoNotOptimize(g_bytes_out.data());
    }
    finish(state, in, ok);
}

void qt_to_utf8(benchmark::State& state, const Input& in) {
    for (auto _ : state) {
        QByteArray b = in.qt.toUtf8();
        benchmark::DoNotOptimize(b.constData());
    }
    finish(state, in, true);
}

// The floor: copying the UTF-8 bytes.
void memcpy_floor(benchmark::State& state, const Input& in) {
    for (auto _ : state) {
        std::memcpy(g_bytes_out.data(), in.utf8.data(), in.utf8.size());
        benchmark::DoNotOptimize(g_bytes_out.data());
    }
    finish(state, in, true);
}

void register_all() {
    struct Case {
        const char* name;
        void (*fn)(benchmark::State&, const Input&);
    } cases[] = {{"from_utf8/zop", zop_from_utf8}, {"from_utf8/icu", icu_from_utf8},
                 {"from_utf8/qt", qt_from_utf8},   {"to_utf8/zop", zop_to_utf8},
                 {"to_utf8/icu", icu_to_utf8},     {"to_utf8/qt", qt_to_utf8},
                 {"memcpy", memcpy_floor}};
    for (const Input& in : inputs()) {
        for (const Case& c : cases) {
            std::string name = std::string(c.name) + "/" + in.name;
            auto fn = c.fn;
            const Input* input = &in;
            benchmark::RegisterBenchmark(name.c_str(), [fn, input](benchmark::State& s) { fn(s, *input); })
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Keep freed large blocks in the heap instead of returning them.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    bool given = false;
    for (int i = 1; i < argc; ++i) given |= std::strstr(argv[i], "random_interleaving") != nullptr;
    if (!given) args.push_back(interleave.data());
    int n = static_cast<int>(args.size());
    register_all();
    benchmark::Initialize(&n, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
