// Cutting a result page's text into lines and finding the next-page marker,
// the part of a tick that runs before the extraction.
#include "harvest/PageLines.h"
#include "harvest/SearchRun.h"
#include "platform/TextCodec.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A result page of about the size the engine gives: ten results of a few
// lines each, navigation, and the next-page link near the end.
std::string ResultPage(int results) {
    std::string text;
    for (int i = 0; i < results; ++i) {
        text += tavrisk::ToGbk("广州某某服装有限公司 - 产品介绍\r\n");
        text +=
            tavrisk::ToGbk("地址：广州市天河区某某路 100 号 电话：020-12345678 传真：020-87654321 联系人：王先生\r\n");
        text += "www.example.com/company/" + std::to_string(i) + " 12K 2026-1-1\r\n\r\n";
    }
    text += tavrisk::ToGbk("1 2 3 4 5 6 7 8 9 10 下一页>\r\n");
    return text;
}

void BM_CutPageAndFindMarker(benchmark::State& state) {
    const std::string page = ResultPage(static_cast<int>(state.range(0)));
    const std::string& marker = tavrisk::NextPageMarker();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        const std::vector<std::string> lines = tavrisk::CutPageLines(page);
        bool more = false;
        for (const std::string& line : lines) {
            if (line.find(marker) != std::string::npos) {
                more = true;
                break;
            }
        }
        benchmark::DoNotOptimize(more);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_CutPageAndFindMarker)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
