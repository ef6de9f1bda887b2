// Throughput of the fax number extraction and of the de-duplication memory.
//
//   build/release/bench/extract_bench
//   build/release/bench/extract_bench --write-corpus=/tmp/pages.txt --corpus-mb=100
//
// The second form writes a generated corpus of page text and exits; the
// command-line tool is timed on it (see docs/PERFORMANCE.md).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "harvest/FaxExtractor.h"
#include "harvest/PageLines.h"
#include "harvest/SeenNumbers.h"
#include "platform/TextCodec.h"

namespace tavrisk {
namespace {

// Text of result pages: mostly Chinese lines of a company directory, with
// addresses, telephone numbers and links; a few percent carry a fax label in
// one of its written forms.
class PageCorpus {
public:
    explicit PageCorpus(unsigned seed) : random_(seed) {
        for (const char* p : kPhrases) {
            phrases_.push_back(ToGbk(p));
        }
        for (const char* l : kLabels) {
            labels_.push_back(ToGbk(l));
        }
    }

    // Appends one line of page text, ended by LF (or now and then CR LF).
    void AppendLine(std::string& out) {
        const unsigned kind = Pick(1000);
        if (kind < 30) {  // 3 %: a fax label and a number
            AppendPhrases(out, Pick(3));
            out += labels_[Pick(static_cast<unsigned>(labels_.size()))];
            AppendNumber(out);
            AppendPhrases(out, Pick(3));
        } else if (kind < 80) {  // telephone lines without a fax label
            out += phrases_[0];
            AppendNumber(out);
            AppendPhrases(out, 1 + Pick(3));
        } else if (kind < 130) {  // links and Latin text
            out += "www.";
            out += kLatin[Pick(std::size(kLatin))];
            out += ".com.cn/product/list_";
            out += std::to_string(Pick(100000));
            out += ".html ";
            AppendPhrases(out, Pick(2));
        } else if (kind < 160) {
            // empty line
        } else {
            AppendPhrases(out, 1 + Pick(12));
        }
        out += Pick(10) == 0 ? "\r\n" : "\n";
    }

    std::string Generate(std::size_t bytes) {
        std::string out;
        out.reserve(bytes + 4096);
        while (out.size() < bytes) {
            AppendLine(out);
        }
        return out;
    }

private:
    unsigned Pick(std::size_t n) { return static_cast<unsigned>(random_() % n); }

    void AppendPhrases(std::string& out, unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            out += phrases_[Pick(phrases_.size())];
            if (Pick(4) == 0) {
                out += ' ';
            }
        }
    }

    void AppendNumber(std::string& out) {
        static const char* const kAreas[] = {"010", "020", "021", "0571", "0755", "+86(21)", "0086-10-", "(0571)"};
        out += kAreas[Pick(std::size(kAreas))];
        if (Pick(2) == 0) {
            out += '-';
        }
        for (int i = 0; i < 8; ++i) {
            out += static_cast<char>('0' + Pick(10));
        }
    }

    static constexpr const char* kPhrases[] = {
        "电话：",
        "广州市白云区服装有限公司",
        "欢迎访问我们的网站",
        "产品展示",
        "联系我们",
        "地址：广东省广州市天河区",
        "百度快照",
        "主营产品：",
        "批发零售",
        "价格优惠",
        "质量保证",
        "诚信经营",
        "大型服装批发市场",
        "打折促销",
        "从事服装生产十余年",
        "客户至上",
        "手机：13900000000",
        "邮编：510000",
        "浙江省杭州市余杭区",
        "厂家直销",
        "男装女装童装",
        "欢迎来电咨询",
        "公司简介",
        "企业黄页",
        "上一页",
        "下一页>",
        "相关搜索",
        "网页",
        "新闻",
        "贴吧",
        "知道",
        "更多>>",
        "，",
        "。",
        "、",
        "：",
    };
    static constexpr const char* kLabels[] = {
        "传真：",  "传真: ",      "传真号码：", "传真至：", "Fax: ",    "FAX：",     "fax;",
        "(Fax)  ", "电话/传真：", "传真 ",      "TELEFAX:", "传真号：", "Fax No.: ", "（FAX）：",
    };
    static constexpr const char* kLatin[] = {"fzpf", "xinxi", "baidu", "china-garment", "sohu", "example"};

    std::mt19937 random_;
    std::vector<std::string> phrases_;
    std::vector<std::string> labels_;
};

class CountNumbers : public NumberSink {
public:
    void AppendNumber(const std::string& number) override { bytes += number.size(); }
    std::size_t bytes = 0;
};

// A page's lines as the search run hands them over, cut by CR LF.
void BM_ExtractFaxNumbersPage(benchmark::State& state) {
    PageCorpus corpus(1);
    const std::vector<std::string> lines = CutPageLines(LineFeedsToCrLf(corpus.Generate(1 << 20)));
    std::size_t bytes = 0;
    for (const std::string& l : lines) {
        bytes += l.size() + 2;
    }
    CountNumbers sink;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        SeenNumbers seen;
        benchmark::DoNotOptimize(ExtractFaxNumbers(lines, seen, true, sink));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_ExtractFaxNumbersPage)->Unit(benchmark::kMillisecond);

// Only the lines that hold a fax label: the cost of the rewriting itself.
void BM_NumberOfLabelLine(benchmark::State& state) {
    PageCorpus corpus(2);
    std::vector<std::string> lines = CutPageLines(LineFeedsToCrLf(corpus.Generate(4 << 20)));
    std::erase_if(lines, [](const std::string& l) { return !MayHoldFaxLabel(l); });
    FaxExtractor extractor;
    std::size_t index = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(extractor.NumberOfLine(lines[index]));
        index = index + 1 == lines.size() ? 0 : index + 1;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_NumberOfLabelLine);

class ExtractEveryLine : public PageLineReceiver {
public:
    void OnLine(std::string_view line) override { extractor.ExtractLine(line, seen, true, sink); }
    FaxExtractor extractor;
    SeenNumbers seen;
    CountNumbers sink;
};

// The command-line path: raw text in 1 MiB blocks through the filtering stream.
void BM_StreamAndExtract(benchmark::State& state) {
    PageCorpus corpus(3);
    const std::string text = corpus.Generate(32 << 20);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        ExtractEveryLine receiver;
        PageLineStream stream(PageLineStream::Lines::MayHoldFaxLabel);
        for (std::size_t at = 0; at < text.size(); at += 1 << 20) {
            stream.Feed(std::string_view(text).substr(at, 1 << 20), receiver);
        }
        stream.Finish(receiver);
        benchmark::DoNotOptimize(receiver.sink.bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_StreamAndExtract)->Unit(benchmark::kMillisecond);

std::string RecordedNumber(std::uint64_t i) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0%03u-%08u", static_cast<unsigned>(i % 1000),
                  static_cast<unsigned>(i * 2654435761U % 100000000U));
    return buffer;
}

// Look-ups in a memory holding one million numbers, half of them found.
void BM_SeenNumbersLookup(benchmark::State& state) {
    static SeenNumbers* seen = [] {
        auto* s = new SeenNumbers;
        for (std::uint64_t i = 0; i < 1000000; ++i) {
            s->Add(RecordedNumber(i));
        }
        return s;
    }();
    std::vector<std::string> queries;
    for (std::uint64_t i = 0; i < 4096; ++i) {
        queries.push_back(RecordedNumber(i % 2 == 0 ? i * 211 : 2000000 + i));
    }
    std::size_t index = 0;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(seen->Contains(queries[index]));
        index = (index + 1) & 4095U;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["recorded"] = static_cast<double>(seen->Count());
}
BENCHMARK(BM_SeenNumbersLookup);

// Recording one million numbers from empty.
void BM_SeenNumbersRecordMillion(benchmark::State& state) {
    std::vector<std::string> numbers;
    for (std::uint64_t i = 0; i < 1000000; ++i) {
        numbers.push_back(RecordedNumber(i));
    }
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        SeenNumbers seen;
        for (const std::string& n : numbers) {
            if (!seen.Contains(n)) {
                seen.Add(n);
            }
        }
        benchmark::DoNotOptimize(seen.Count());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * numbers.size()));
}
BENCHMARK(BM_SeenNumbersRecordMillion)->Unit(benchmark::kMillisecond);

// Writes the corpus to path, size in MiB.
int WriteCorpus(const std::string& path, std::size_t megabytes) {
    PageCorpus corpus(42);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return 1;
    }
    const std::size_t target = megabytes << 20;
    std::size_t written = 0;
    std::string chunk;
    while (written < target) {
        chunk.clear();
        while (chunk.size() < (1 << 20)) {
            corpus.AppendLine(chunk);
        }
        written += std::fwrite(chunk.data(), 1, chunk.size(), file);
    }
    return std::fclose(file) == 0 ? 0 : 1;
}

}  // namespace
}  // namespace tavrisk

int main(int argc, char** argv) {
    std::string corpusPath;
    std::size_t corpusMb = 100;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--write-corpus=")) {
            corpusPath = std::string(arg.substr(std::strlen("--write-corpus=")));
        } else if (arg.starts_with("--corpus-mb=")) {
            corpusMb = std::stoul(std::string(arg.substr(std::strlen("--corpus-mb="))));
        }
    }
    if (!corpusPath.empty()) {
        return tavrisk::WriteCorpus(corpusPath, corpusMb);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
