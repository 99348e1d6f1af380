// Formatting and parsing 1,000,000 distinct dates by the short date-time
// pattern (month/day/year hour:minute, UTC): zop beside strftime/strptime
// and POCO's DateTimeFormatter/DateTimeParser, in one process.  The
// benchmarks are interleaved at random so that the machine's noise spreads
// over all of them.
#include <zop/time.h>

#include <Poco/DateTime.h>
#include <Poco/DateTimeFormatter.h>
#include <Poco/DateTimeParser.h>
#include <Poco/Timestamp.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kDates = 1000000;
const char* const kNarrowPattern = "%m/%d/%Y %H:%M";
const std::string kPocoPattern = "%m/%d/%Y %H:%M";

// The inputs, built once: minutes from 1970 to about 2160, one a date.
struct Inputs {
    std::vector<long long> ticks;        // microseconds since 1970
    std::vector<std::wstring> wide;      // zop's text of each date
    std::vector<std::string> narrow;     // the same text, narrow

    Inputs() {
        ticks.reserve(kDates);
        wide.reserve(kDates);
        narrow.reserve(kDates);
        std::uint64_t state = 42;
        for (std::size_t i = 0; i < kDates; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            const long long minutes = static_cast<long long>((state >> 33) % 100000000ULL);
            ticks.push_back(minutes * 60000000LL);
            wide.push_back(zop::Date(ticks.back()).to_string(zop::SHORT_DATE_TIME));
            narrow.emplace_back(wide.back().begin(), wide.back().end());
        }
    }
};

const Inputs& inputs() {
    static const Inputs in;
    return in;
}

void format_zop(benchmark::State& state) {
    const auto& in = inputs();
    std::size_t i = 0;
    for (auto _ : state) {
        std::wstring text = zop::Date(in.ticks[i]).to_string(zop::SHORT_DATE_TIME);
        benchmark::DoNotOptimize(text.data());
        if (++i == kDates) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void format_strftime(benchmark::State& state) {
    const auto& in = inputs();
    char buffer[64];
    std::size_t i = 0;
    for (auto _ : state) {
        const std::time_t t = static_cast<std::time_t>(in.ticks[i] / 1000000);
        std::tm tm;
        ::gmtime_r(&t, &tm);
        benchmark::DoNotOptimize(std::strftime(buffer, sizeof buffer, kNarrowPattern, &tm));
        if (++i == kDates) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void format_poco(benchmark::State& state) {
    const auto& in = inputs();
    std::string text;
    std::size_t i = 0;
    for (auto _ : state) {
        text.clear();
        Poco::DateTimeFormatter::append(text, Poco::Timestamp(in.ticks[i]), kPocoPattern);
        benchmark::DoNotOptimize(text.data());
        if (++i == kDates) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void parse_zop(benchmark::State& state) {
    const auto& in = inputs();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zop::Date::parse(in.wide[i]).time());
        if (++i == kDates) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void parse_strptime(benchmark::State& state) {
    const auto& in = inputs();
    std::size_t i = 0;
    for (auto _ : state) {
        std::tm tm{};
        ::strptime(in.narrow[i].c_str(), kNarrowPattern, &tm);
        benchmark::DoNotOptimize(::timegm(&tm));
        if (++i == kDates) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void parse_poco(benchmark::State& state) {
    const auto& in = inputs();
    Poco::DateTime result;
    int zone = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        Poco::DateTimeParser::parse(kPocoPattern, in.narrow[i], result, zone);
        benchmark::DoNotOptimize(result.utcTime());
        if (++i == kDates) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

// Texts that are no dates: the cost of learning so, with and without
// exceptions.
void parse_failing_zop(benchmark::State& state) {
    const std::wstring bad = L"03/04/2005 25:61";
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(zop::Date::parse(bad).time());
        } catch (const zop::FormatException&) {
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void try_parse_failing_zop(benchmark::State& state) {
    const std::wstring bad = L"03/04/2005 25:61";
    zop::Date out;
    for (auto _ : state) benchmark::DoNotOptimize(zop::Date::try_parse(bad, out));
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(format_zop);
BENCHMARK(format_strftime);
BENCHMARK(format_poco);
BENCHMARK(parse_zop);
BENCHMARK(parse_strptime);
BENCHMARK(parse_poco);
BENCHMARK(parse_failing_zop);
BENCHMARK(try_parse_failing_zop);

int main(int argc, char** argv) {
    // UTC and US English for every library, whatever the machine says.
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    zop::Locale::current_locale(zop::Locale::US);
    // Check the inputs once: each library reads back what zop wrote.
    const auto& in = inputs();
    for (std::size_t i = 0; i < kDates; i += 9973) {
        std::tm tm{};
        ::strptime(in.narrow[i].c_str(), kNarrowPattern, &tm);
        Poco::DateTime poco;
        int zone = 0;
        Poco::DateTimeParser::parse(kPocoPattern, in.narrow[i], poco, zone);
        if (zop::Date::parse(in.wide[i]).time() != in.ticks[i] ||
            ::timegm(&tm) * 1000000LL != in.ticks[i] ||
            poco.timestamp().epochMicroseconds() != in.ticks[i]) {
            std::fprintf(stderr, "inputs disagree at %zu\n", i);
            return 1;
        }
    }
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
