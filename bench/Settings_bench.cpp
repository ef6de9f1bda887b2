// Cost of the settings file: editing INI text in memory, and a whole save
// (six keys, each an atomic replacement of the file flushed to disk), which
// runs on the user-interface thread at every end of a run and auto-save.
#include "files/Settings.h"
#include "platform/IniFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

struct Controls : tavrisk::SettingsControls {
    std::string KeywordFileText() const override { return "/home/user/keywords.txt"; }
    void SetKeywordFileText(const std::string&) override {}
    bool Deduplicate() const override { return true; }
    void SetDeduplicate(bool) override {}
    bool AutoSave() const override { return true; }
    void SetAutoSave(bool) override {}
    std::string IntervalText() const override { return "8"; }
    void SetInterval(int) override {}
    std::string PageLimitText() const override { return "76"; }
    void SetPageLimit(int) override {}
};

const std::string& TypicalText() {
    static const std::string text =
        "[config]\r\nfilename=/home/user/keywords.txt\r\nprocess=12\r\nquchong=1\r\nautosave=1\r\nspeed=8\r\n"
        "page=76\r\n[engine]\r\nhost=www.baidu.com\r\n";
    return text;
}

void BM_SetIniValue(benchmark::State& state) {
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        benchmark::DoNotOptimize(tavrisk::SetIniValue(TypicalText(), "config", "page", "50"));
    }
}
BENCHMARK(BM_SetIniValue);

void BM_SaveSettings(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "tavrisk-settings-bench";
    std::filesystem::create_directories(dir);
    tavrisk::IniFile file((dir / "tavrisk.ini").string());
    Controls controls;
    int next = 13;
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        tavrisk::SaveSettings(file, controls, next);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);

void BM_LoadSettings(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "tavrisk-settings-bench-load";
    std::filesystem::create_directories(dir);
    tavrisk::IniFile file((dir / "tavrisk.ini").string());
    Controls controls;
    int next = 13;
    tavrisk::SaveSettings(file, controls, next);
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
        tavrisk::LoadSettings(file, controls, next);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
