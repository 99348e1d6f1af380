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

#include <benchmark/benchmark.h>
#include <QByteArray>
#include <QString>
#include <unicode/ustring.h>

#include <malloc.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kSize = 16u << 20;

// Appends a code point as UTF-16 units.
void put(std::wstring& s, char32_t cp) {
    if (cp < 0x10000) {
        s += static_cast<wchar_t>(cp);
    } else {
        s += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        s += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

const char* const kWords[] = {"the", "library", "converts", "text", "between", "encodings",
                              "quickly", "and", "strictly", "while", "every", "file", "stream",
                              "reads", "lines", "of", "data", "from", "disk", "into", "memory"};

void english_sentence(std::wstring& s, std::mt19937& rng) {
    int n = 4 + static_cast<int>(rng() % 10);
    for (int i = 0; i < n; ++i) {
        for (const char* w = kWords[rng() % (sizeof kWords / sizeof kWords[0])]; *w; ++w) s += *w;
        s += i + 1 < n ? L" " : L". ";
    }
    if (rng() % 8 == 0) s += L"\n";
}

void chinese_sentence(std::wstring& s, std::mt19937& rng) {
    // Common ideographs, U+4E00..U+9FA5, with the ideographic comma and stop.
    int n = 6 + static_cast<int>(rng() % 20);
    for (int i = 0; i < n; ++i) put(s, 0x4E00 + rng() % 0x51A6);
    put(s, rng() % 2 ? 0x3002 : 0xFF0C);
}

// About kSize bytes of UTF-8 text of the given kind, as UTF-16.
std::wstring make_text(int kind) {
    std::mt19937 rng(42);
    std::wstring s;
    std::size_t bytes = 0;
    while (bytes < kSize) {
        std::size_t before = s.size();
        if (kind == 0) {
            english_sentence(s, rng);
        } else if (kind == 1) {
            if (rng() % 2) english_sentence(s, rng);
            else chinese_sentence(s, rng);
        } else {
            // Mostly emoji, with some spaces and short words between them.
            put(s, 0x1F300 + rng() % 0x350);
            unsigned r = rng() % 10;
            if (r < 3) s += L' ';
            else if (r == 3) s += L"ok ";
        }
        for (std::size_t i = before; i < s.size(); ++i) {
            auto u = static_cast<unsigned>(s[i]);
            bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : (u & 0xF800) == 0xD800 ? 2 : 3;
        }
    }
    return s;
}

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
        const char* names[] = {"ascii", "mixed_en_zh", "emoji"};
        for (int k = 0; k < 3; ++k) {
            std::wstring text = make_text(k);
            Input in{names[k], std::string(3 * text.size(), '\0'), {text.begin(), text.end()}, {}, {}};
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
std::vector<wchar_t> g_wide_out(kSize + 16, 1);
std::u16string g_icu_out(kSize + 16, u'\1');
std::string g_bytes_out(4 * kSize + 16, '\1');

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
