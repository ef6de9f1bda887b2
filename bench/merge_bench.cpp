// The merge's parts in process: the collation on phone numbers, and a whole
// merge of generated number files. bench/merge_vs_sort.sh compares the
// command-line merge with GNU sort.
#include "files/NumberMerge.h"
#include "platform/Collation.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Numbers(std::size_t count) {
    static const char* const areas[] = {"010", "020", "021", "0571", "0755", "0512", "0898"};
    std::mt19937 random(42);
    std::vector<std::string> numbers;
    numbers.reserve(count);
    const std::size_t distinct = count * 7 / 10;
    for (std::size_t i = 0; i < count; ++i) {
        if (i < distinct) {
            numbers.push_back(std::string(areas[random() % 7]) + "-" + std::to_string(2000000 + random() % 8000000));
        } else {
            numbers.push_back(numbers[random() % distinct]);
        }
    }
    std::shuffle(numbers.begin(), numbers.end(), random);
    return numbers;
}

void BM_CollateNumbers(benchmark::State& state) {
    const auto numbers = Numbers(4096);
    std::size_t i = 0;
    for (auto _ : state) {
        static_cast<void>(_);
        benchmark::DoNotOptimize(tavrisk::Collate(numbers[i % 4096], numbers[(i + 1) % 4096]));
        ++i;
    }
}
BENCHMARK(BM_CollateNumbers);

void BM_CollationKeyNumbers(benchmark::State& state) {
    const auto numbers = Numbers(4096);
    std::size_t i = 0;
    for (auto _ : state) {
        static_cast<void>(_);
        benchmark::DoNotOptimize(tavrisk::CollationKey(numbers[i++ % 4096]));
    }
}
BENCHMARK(BM_CollationKeyNumbers);

// A merge of five files holding state.range(0) numbers in all.
void BM_MergeFiles(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const auto numbers = Numbers(count);
    char folder[] = "/tmp/tavrisk-merge-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    std::vector<std::string> sources;
    for (std::size_t f = 0; f < 5; ++f) {
        sources.push_back(std::string(folder) + "/nums" + std::to_string(f) + ".txt");
        std::ofstream out(sources.back(), std::ios::binary);
        for (std::size_t i = f * count / 5; i < (f + 1) * count / 5; ++i) {
            out << numbers[i] << "\r\n";
        }
    }
    const std::string dest = std::string(folder) + "/merged.txt";
    for (auto _ : state) {
        static_cast<void>(_);
        benchmark::DoNotOptimize(tavrisk::MergeFiles(sources, dest, [](const std::string&) {}));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
    for (const auto& s : sources) {
        std::remove(s.c_str());
    }
    std::remove(dest.c_str());
    std::remove(folder);
}
BENCHMARK(BM_MergeFiles)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
