// Importing a keyword list of a million lines: the count pass, the list
// loader, and the whole import as the Import command runs it.
#include "files/KeywordImport.h"
#include "platform/LineReader.h"
#include "platform/StringList.h"
#include "platform/TextCodec.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

constexpr int kLines = 1000000;

// A keyword list as the builder writes them: product phrase, space, fax
// marker, CR LF; about 21 MB.
class KeywordFile {
public:
    KeywordFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrisk-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        dir_ = pattern;
        path_ = dir_ + "/keywords.txt";
        const std::string product = tavrisk::ToGbk("广州 服装");
        const std::string marker = tavrisk::ToGbk(" 传真：\r\n");
        std::string text;
        text.reserve(static_cast<std::size_t>(kLines) * 24);
        for (int i = 0; i < kLines; ++i) {
            text.append(product).append(std::to_string(i % 1000)).append(marker);
        }
        std::ofstream(path_, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
        bytes_ = text.size();
    }
    ~KeywordFile() { std::filesystem::remove_all(dir_); }
    KeywordFile(const KeywordFile&) = delete;
    KeywordFile& operator=(const KeywordFile&) = delete;

    [[nodiscard]] const std::string& Path() const { return path_; }
    [[nodiscard]] std::size_t Bytes() const { return bytes_; }

private:
    std::string dir_;
    std::string path_;
    std::size_t bytes_ = 0;
};

const KeywordFile& File() {
    static const KeywordFile file;
    return file;
}

class BenchWindow : public tavrisk::KeywordImportWindow {
public:
    std::optional<std::string> ChooseKeywordFile(const std::string& /*folder*/) override { return File().Path(); }
    void ShowKeywordFilePath(const std::string& /*path*/) override {}
    void SetLineCountText(const std::string& text) override { count = text; }
    void ClearResultList() override {}
    std::string count;
};

void BM_CountPass(benchmark::State& state) {
    while (state.KeepRunning()) {
        benchmark::DoNotOptimize(tavrisk::KeywordCountPass(File().Path()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(File().Bytes()));
}

void BM_ListLoad(benchmark::State& state) {
    while (state.KeepRunning()) {
        tavrisk::StringList list;
        list.LoadFromFile(File().Path());
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(File().Bytes()));
}

void BM_Import(benchmark::State& state) {
    tavrisk::StringList keywords;
    BenchWindow window;
    while (state.KeepRunning()) {
        tavrisk::ImportKeywordList(window, keywords, "/");
    }
    if (window.count != std::to_string(kLines) || keywords.Count() != static_cast<std::size_t>(kLines)) {
        state.SkipWithError("wrong line count");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(File().Bytes()));
}

}  // namespace

BENCHMARK(BM_CountPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
