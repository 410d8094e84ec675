// The encoders against the physical floor: copying a buffer of the output's
// size (Morse) or of the input (cipher), measured side by side in one run.
#include "bench/prose.hpp"
#include "engine/cipher.hpp"
#include "engine/morse.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

const std::u16string& prose(std::int64_t size) {
    static std::map<std::int64_t, std::u16string> cache;
    auto found = cache.find(size);
    if (found == cache.end())
        found = cache.emplace(size, italianProse(static_cast<std::size_t>(size))).first;
    return found->second;
}

void Morse(benchmark::State& state) {
    const auto& text = prose(state.range(0));
    for (auto _ : state) {
        std::string out = engine::morse(text);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Allocating and filling a buffer as large as the Morse output.
void CopyMorseOutput(benchmark::State& state) {
    const std::string source(engine::morse(prose(state.range(0))).size(), '.');
    for (auto _ : state) {
        std::string copy(source);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void Cipher(benchmark::State& state) {
    const auto& text = prose(state.range(0));
    for (auto _ : state) {
        std::string out = engine::cifrato(text, 3);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Allocating and filling a copy of the cipher's input.
void CopyInput(benchmark::State& state) {
    const auto& text = prose(state.range(0));
    for (auto _ : state) {
        std::u16string copy(text);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

constexpr std::int64_t kMB = 1 << 20;

#define SIZES ->Arg(kMB)->Arg(10 * kMB)->Arg(100 * kMB)->Unit(benchmark::kMillisecond)->MinTime(0.5)
BENCHMARK(Morse) SIZES;
BENCHMARK(CopyMorseOutput) SIZES;
BENCHMARK(Cipher) SIZES;
BENCHMARK(CopyInput) SIZES;

// Prints each encoder's time against its floor once the runs are done.
class Summary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nAgainst the floor (goal: Morse within 3x, cipher within 2x):\n");
        for (std::int64_t size : {kMB, 10 * kMB, 100 * kMB}) {
            std::string arg = "/";
            arg += std::to_string(size);
            report("Morse", "CopyMorseOutput", arg, size, 3.0);
            report("Cipher", "CopyInput", arg, size, 2.0);
        }
    }

private:
    void report(const char* name, const char* floor, const std::string& arg, std::int64_t size,
                double goal) {
        const auto a = times_.find(name + arg + "/min_time:0.500");
        const auto b = times_.find(floor + arg + "/min_time:0.500");
        if (a == times_.end() || b == times_.end())
            return;
        const double ratio = a->second / b->second;
        std::printf("  %-7s %4lld MB: %8.1f ms, floor %8.1f ms, %.2fx  %s\n", name,
                    static_cast<long long>(size / kMB), a->second, b->second, ratio,
                    ratio <= goal ? "ok" : "OVER GOAL");
    }

    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Summary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    benchmark::Shutdown();
}
