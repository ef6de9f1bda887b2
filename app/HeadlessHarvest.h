#pragma once

#include "app/QtScheduler.h"
#include "app/WebViewPage.h"
#include "harvest/SearchRun.h"
#include "harvest/SeenNumbers.h"
#include "platform/StepTimer.h"
#include "platform/StringList.h"

#include <QObject>

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tavrisk::app {

// Options of tavrisk-harvest.
struct HarvestOptions {
    std::string host = "www.baidu.com";
    std::string start = "0";  // what the start prompt would get
    int interval = 5;         // seconds, 1..1000
    int pages = 76;           // per keyword, 1..76
    bool dedupe = false;
    bool tsv = false;    // print the number's source columns too
    std::string output;  // file the numbers are appended to; empty: none
    std::string keywordFile;
};

enum class HarvestArgs { Run, Help, Invalid };

// Exit status when the engine asked for verification and the run stopped.
inline constexpr int kExitVerification = 3;

// Reads the arguments after the program's name. Invalid: the reason is on err.
HarvestArgs ParseHarvestArguments(const std::vector<std::string>& args, HarvestOptions& options, std::ostream& err);
std::string HarvestUsage();

// A search run without a window: the same controller and web view, the
// window's part played by the standard streams. Numbers go to out (one per
// line, flushed at once) and to the output file; progress and messages go to
// err (UTF-8).
class HeadlessHarvest : public QObject, public RunWindow {
public:
    HeadlessHarvest(HarvestOptions options, std::ostream& out, std::ostream& err);
    ~HeadlessHarvest() override;

    // Imports the keyword file and starts the run. False when the run did not
    // start; the reason is on err and ExitCode() is set.
    bool Start();
    // The Stop command: the pending tick harvests its page and finishes.
    void Stop();
    // Called once when the run has finished (0), halted on an error (1) or
    // stopped at the engine's verification page (kExitVerification).
    std::function<void(int exitCode)> OnEnd;
    [[nodiscard]] std::optional<int> ExitCode() const { return exitCode_; }
    [[nodiscard]] int FoundCount() const { return foundCount_; }
    [[nodiscard]] WebViewPage& View() { return view_; }

    // RunWindow.
    void SetPanelText(int panel, const std::string& text) override;
    void SetCommandsEnabled(bool search, bool stop, bool import) override;
    int IntervalSeconds() override { return options_.interval; }
    int PageLimit() override { return options_.pages; }
    bool AutoSaveChecked() override { return false; }
    bool DeduplicateChecked() override { return options_.dedupe; }
    void ClearResults() override {}
    // Prints the number and appends it to the output file.
    void AppendResult(const std::string& number, const NumberSource& source) override;
    void RepaintNow() override {}
    void InformationBox(const std::string& text) override;
    void PlainMessageBox(const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& value) override;

private:
    void Tick();
    void End(int exitCode);
    void Fail(const std::string& gbkMessage);

    HarvestOptions options_;
    std::ostream& out_;
    std::ostream& err_;
    int outputFd_ = -1;
    QtScheduler scheduler_;
    StepTimer timer_;
    WebViewPage view_;
    StringList keywords_;
    StringList pageLines_;
    SeenNumbers seen_;
    int nextKeywordIndex_ = 0;
    int foundCount_ = 0;
    SearchRun run_;
    std::optional<int> exitCode_;
};

// The program: parses argv, runs the harvest on the offscreen platform, and
// returns the exit status (0 finished, 1 error, 2 bad arguments,
// kExitVerification).
int HeadlessHarvestMain(int argc, char** argv);

}  // namespace tavrisk::app
