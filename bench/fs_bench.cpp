// Directory listing and tree removal: zop beside std::filesystem and the
// bare system calls, in one process.
#include <zop/fs.h>

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kEntries = 20000;

const fs::path& bench_root() {
    static const fs::path root = [] {
        fs::path p = fs::temp_directory_path() / ("zop-fs-bench-" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p;
    }();
    return root;
}

std::wstring wide(const fs::path& p) {
    const std::string s = p.string();
    return std::wstring(s.begin(), s.end());
}

// A flat directory of kEntries empty files, made once.
const fs::path& flat_dir() {
    static const fs::path dir = [] {
        fs::path d = bench_root() / "flat";
        fs::create_directories(d);
        for (int i = 0; i < kEntries; ++i) std::ofstream(d / ("entry-" + std::to_string(i) + ".dat"));
        return d;
    }();
    return dir;
}

// Three levels: 20 x 20 directories of 50 files each (20,000 files).
void make_tree(const fs::path& top) {
    for (int a = 0; a < 20; ++a) {
        for (int b = 0; b < 20; ++b) {
            fs::path d = top / ("a" + std::to_string(a)) / ("b" + std::to_string(b));
            fs::create_directories(d);
            for (int f = 0; f < 50; ++f) std::ofstream(d / ("file-" + std::to_string(f)));
        }
    }
}

void BM_List_Zop(benchmark::State& state) {
    zop::Directory dir(wide(flat_dir()));
    std::vector<std::wstring> out;
    out.reserve(kEntries);
    for (auto _ : state) {
        out.clear();
        dir.list(out, L"*");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_List_StdFilesystem(benchmark::State& state) {
    std::vector<std::string> out;
    out.reserve(kEntries);
    for (auto _ : state) {
        out.clear();
        for (const auto& e : fs::directory_iterator(flat_dir())) out.push_back(e.path().native());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_List_Readdir(benchmark::State& state) {
    std::vector<std::string> out;
    out.reserve(kEntries);
    const std::string base = flat_dir().native() + "/";
    for (auto _ : state) {
        out.clear();
        DIR* d = ::opendir(flat_dir().c_str());
        while (dirent* e = ::readdir(d)) {
            if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0))) continue;
            out.push_back(base + e->d_name);
        }
        ::closedir(d);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Tree removal is dominated by the file system's own work, which is noisy
// here; so both contenders remove a fresh tree in every round, in
// alternating order, after the trees have been written back to disk, and
// the medians of the rounds are reported.
void BM_RemoveTree_Interleaved(benchmark::State& state) {
    const fs::path a = bench_root() / "tree-zop";
    const fs::path b = bench_root() / "tree-std";
    std::vector<double> zop_times, std_times;
    for (auto _ : state) {
        make_tree(a);
        make_tree(b);
        ::sync();
        auto run_zop = [&] {
            auto t = std::chrono::steady_clock::now();
            zop::Directory(wide(a)).remove_tree();
            zop_times.push_back(seconds_since(t));
        };
        auto run_std = [&] {
            auto t = std::chrono::steady_clock::now();
            fs::remove_all(b);
            std_times.push_back(seconds_since(t));
        };
        if (zop_times.size() % 2 == 0) {
            run_zop();
            run_std();
        } else {
            run_std();
            run_zop();
        }
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    state.counters["zop_files_per_s"] = kEntries / median(zop_times);
    state.counters["std_files_per_s"] = kEntries / median(std_times);
    state.counters["zop_over_std_time"] = median(zop_times) / median(std_times);
}

// Interleaved so that zop and its peers share the machine's moods.
BENCHMARK(BM_List_Zop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_List_StdFilesystem)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_List_Readdir)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveTree_Interleaved)->Unit(benchmark::kMillisecond)->Iterations(9);

}  // namespace

int main(int argc, char** argv) {
    // Freed memory stays in the heap, so each round reuses the previous
    // round's pages instead of faulting in fresh ones (slow on these shared
    // machines); every contender gets the same treatment.
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 512 * 1024 * 1024);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(bench_root());
    return 0;
}
