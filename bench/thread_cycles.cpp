// A self-timed version of thread_bench for where Google Benchmark is not
// built (the Windows build under Wine): 10,000 sequential thread lives with
// zop::Thread and with std::thread, in alternating rounds of 500, and the
// median rate of each.
#include "thread_cycles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRounds = 20;
constexpr int kPerRound = 500;

template <class Cycle>
double lives_per_second(Cycle cycle, std::atomic<long>& counter) {
    auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < kPerRound; ++i) cycle(counter);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    return kPerRound / took.count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    std::atomic<long> counter{0};
    std::vector<double> zop_rates, std_rates;
    for (int round = 0; round < kRounds; ++round) {
        zop_rates.push_back(lives_per_second(zop_bench::zop_cycle, counter));
        std_rates.push_back(lives_per_second(zop_bench::std_cycle, counter));
    }
    if (counter.load() != 2L * kRounds * kPerRound) {
        std::puts("lost a run");
        return 1;
    }
    const double z = median(zop_rates), s = median(std_rates);
    std::printf("zop::Thread  %8.0f lives/s (median of %d rounds of %d)\n", z, kRounds, kPerRound);
    std::printf("std::thread  %8.0f lives/s\n", s);
    std::printf("time ratio zop/std: %.2f\n", s / z);
    return 0;
}
