// Sequential thread lives (create, start, join, destroy): zop::Thread beside
// std::thread in one process.  Each iteration is one life; a run is 10,000.
// Repetitions are interleaved at random so that both see the same load.
#include "thread_cycles.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kCycles = 10000;

void BM_ThreadLife_Zop(benchmark::State& state) {
    std::atomic<long> counter{0};
    for (auto _ : state) zop_bench::zop_cycle(counter);
    if (counter.load() != static_cast<long>(state.iterations())) state.SkipWithError("lost a run");
    state.SetItemsProcessed(state.iterations());
}

void BM_ThreadLife_StdThread(benchmark::State& state) {
    std::atomic<long> counter{0};
    for (auto _ : state) zop_bench::std_cycle(counter);
    if (counter.load() != static_cast<long>(state.iterations())) state.SkipWithError("lost a run");
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_ThreadLife_Zop)->Iterations(kCycles)->UseRealTime();
BENCHMARK(BM_ThreadLife_StdThread)->Iterations(kCycles)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
