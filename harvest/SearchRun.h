#pragma once

#include "harvest/FaxExtractor.h"
#include "harvest/FoundNumber.h"
#include "harvest/SeenNumbers.h"
#include "platform/StepTimer.h"
#include "platform/StringList.h"

#include <functional>
#include <optional>
#include <string>

namespace tavrisk {

// What a search run needs of the main window. All texts are GBK bytes.
class RunWindow {
public:
    virtual ~RunWindow() = default;

    // Status bar panel, counted from 0.
    virtual void SetPanelText(int panel, const std::string& text) = 0;
    // The Search, Stop and Import commands (their tool bar buttons).
    virtual void SetCommandsEnabled(bool search, bool stop, bool import) = 0;
    // The option strip, read afresh at every use: interval in seconds, pages
    // per keyword, the auto-save box, the de-duplication box.
    virtual int IntervalSeconds() = 0;
    virtual int PageLimit() = 0;
    virtual bool AutoSaveChecked() = 0;
    virtual bool DeduplicateChecked() = 0;
    // A run is about to start: the prompt was answered and the result list is
    // emptied next.
    virtual void RunStarting() {}
    // The result list: emptied at the start of a run; each new number is
    // appended at its end. The appends of one page come between
    // BeginResults and EndResults.
    virtual void ClearResults() = 0;
    // source: the keyword, page offset and URL of the page read; the window
    // adds the time.
    virtual void AppendResult(const std::string& number, const NumberSource& source) = 0;
    virtual void BeginResults() {}
    virtual void EndResults() {}
    // Paints the window now, before the handler returns.
    virtual void RepaintNow() = 0;

    // Modal boxes. While one is open, timer ticks still run (a nested loop).
    virtual void InformationBox(const std::string& text) = 0;
    // The application title as caption, no icon.
    virtual void PlainMessageBox(const std::string& text) = 0;
    // The text accepted with OK, or nothing when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                                const std::string& value) = 0;
};

// The web view. Navigate returns at once while the page loads in the
// background; it may raise an error. PageText gives the body text of the
// document shown at this moment (loaded, partly loaded, or still the previous
// one), GBK, block boundaries as CR LF; it may raise an error.
class PageSource {
public:
    virtual ~PageSource() = default;
    virtual void Navigate(const std::string& url) = 0;
    virtual std::string PageText() = 0;
    // The address of the document shown, after any redirection; empty when
    // unknown.
    virtual std::string Location() { return {}; }
};

// What a run calls outside the window.
struct RunServices {
    // Text of a local IPv4 address, or empty; "127.0.0.1" means off line.
    std::function<std::string()> GetLocalAddress;
    // Writes the options and the progress to the settings file. An error it
    // raises must reach the run (it halts the run).
    std::function<void()> SaveProgress;
};

// Fields of the search state that the run shares with the rest of the program.
struct RunFields {
    StringList& KeywordList;        // read only
    StringList& PageLines;          // refilled at every tick
    int& NextKeywordIndex;          // 0-based index of the next keyword to take
    int& FoundCount;                // reset at every start
    SeenNumbers& Seen;              // the de-duplication memory, never emptied
    const std::string& SearchHost;  // the engine's host in the query URLs
};

// The search run: works through the keyword list page by page, paced by the
// step timer. The owner connects the timer's handler to Timer1Timer inside its
// error guard; an error raised in a tick leaves the timer off, so the run halts.
class SearchRun {
public:
    SearchRun(RunWindow& window, PageSource& view, StepTimer& timer, RunServices services, RunFields fields);

    void N2Click();       // Search command
    void N3Click();       // Stop command
    void Button1Click();  // first page of a run
    void Timer1Timer();   // tick
    void HarvestPage();
    void BitBtn1Click();  // finish
    // The engine answered with its verification page: the run ends as after
    // Stop, but keeps its place, so that the next start proposes the
    // interrupted keyword; the page stays shown for the user to complete.
    void StopForVerification();
    void StartKeyword();
    void RequestPage();
    // The numbers on PageLines: each new one is appended to the result list,
    // counted in FoundCount and shown in panel 5.
    void ExtractFaxNumbers();

    // Run fields owned here.
    int PageOffset = 0;  // pn of the next page to request
    std::string QueryBase;
    std::string CurrentUrl;
    std::string CurrentKeyword;  // the keyword line taken last
    bool StopRequested = false;
    bool MorePages = false;
    int ElapsedSeconds = 0;  // interval seconds counted towards the auto-save

    static constexpr int kFirstTickMs = 8000;
    static constexpr int kAutoSaveSeconds = 600;
    static constexpr int kPageStep = 10;

private:
    RunWindow& window_;
    PageSource& view_;
    StepTimer& timer_;
    RunServices services_;
    RunFields fields_;
};

// Texts of the run (GBK).
const std::string& NextPageMarker();  // 下一页>

}  // namespace tavrisk
