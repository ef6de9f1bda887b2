// The builder's Create over large lists: reading the two areas' lines and
// combining them into the keyword text.
#include "files/KeywordBuilder.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// "广州 产品<i>" lines in GBK, CR LF between them, as a text area gives them.
std::string ProductText(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "\xB9\xE3\xD6\xDD \xB2\xFA\xC6\xB7" + std::to_string(i) + "\r\n";
    }
    return text;
}

const std::string kMarkers = "\xB4\xAB\xD5\xE6\xA3\xBA\r\nFAX\xA3\xBA\r\n\xB4\xAB\xD5\xE6:\r\nfax:\r\n";

void BM_Create(benchmark::State& state) {
    const std::string products = ProductText(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        const std::string text = tavrisk::CombineKeywords(tavrisk::TextLines(products), tavrisk::TextLines(kMarkers));
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["output_bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0) * 4);
}
BENCHMARK(BM_Create)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
