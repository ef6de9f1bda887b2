#include "harvest/SearchRun.h"

#include "harvest/FaxExtractor.h"
#include "harvest/QueryUrl.h"
#include "harvest/SeenNumbers.h"
#include "platform/Error.h"
#include "tests/support/TestSupport.h"
#include "tests/support/VirtualClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tavrisk {
namespace {

using test::G;
using test::VirtualClock;
using ::testing::ElementsAre;

struct Commands {
    bool search;
    bool stop;
    bool import;
    bool operator==(const Commands&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Commands& c) {
    return out << "{search " << c.search << ", stop " << c.stop << ", import " << c.import << "}";
}

constexpr Commands kIdle{true, true, true};
constexpr Commands kRunning{false, true, false};
constexpr Commands kStopped{true, false, true};

class FakeWindow : public RunWindow {
public:
    void SetPanelText(int panel, const std::string& text) override {
        panels[panel] = text;
        if (panel == 5) {
            found.push_back(text);
        }
        if (panel == 6) {
            progress.push_back(text);
        }
    }
    void SetCommandsEnabled(bool search, bool stop, bool import) override { commands = {search, stop, import}; }
    int IntervalSeconds() override { return interval; }
    int PageLimit() override { return pages; }
    bool AutoSaveChecked() override { return autoSave; }
    bool DeduplicateChecked() override {
        ++dedupeReads;
        return dedupe;
    }
    void RunStarting() override {
        ++starts;
        EXPECT_EQ(starts, clears + 1);  // told before the list is emptied
    }
    void ClearResults() override {
        ++clears;
        results.clear();
        sources.clear();
    }
    void AppendResult(const std::string& number, const NumberSource& source) override {
        sources.push_back(source);
        EXPECT_TRUE(bracketOpen);
        results.push_back(number);
    }
    void BeginResults() override {
        EXPECT_FALSE(bracketOpen);
        bracketOpen = true;
        if (onBegin) {
            onBegin();
        }
    }
    void EndResults() override { bracketOpen = false; }
    void RepaintNow() override { ++repaints; }
    void InformationBox(const std::string& text) override { boxes.push_back("info:" + text); }
    void PlainMessageBox(const std::string& text) override { boxes.push_back("plain:" + text); }
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& value) override {
        prompts.push_back({title, prompt, value});
        if (whileOpen) {
            whileOpen();
        }
        return answer;
    }

    struct Prompt {
        std::string title, prompt, value;
    };
    std::map<int, std::string> panels;
    std::vector<std::string> progress;  // every text of panel 6, in order
    std::vector<std::string> found;     // every text of panel 5, in order
    Commands commands = kIdle;
    int interval = 5;
    int pages = 76;
    bool autoSave = false;
    bool dedupe = false;
    int dedupeReads = 0;
    std::vector<std::string> results;   // the result list
    std::vector<NumberSource> sources;  // where each number came from
    bool bracketOpen = false;
    std::function<void()> onBegin;  // at the start of every extraction
    int starts = 0;
    int clears = 0;
    int repaints = 0;
    std::vector<std::string> boxes;
    std::vector<Prompt> prompts;
    std::optional<std::string> answer = "0";
    std::function<void()> whileOpen;  // runs while the input box is open
};

// A web view whose pages load at once; the text shown stays until the next
// load that succeeds.
class FakeView : public PageSource {
public:
    explicit FakeView(VirtualClock& clock) : clock_(clock) {}
    void Navigate(const std::string& url) override {
        requested.push_back(url);
        times.push_back(clock_.Now());
        if (failing.count(url) != 0) {
            throw SystemError("navigation failed");
        }
        shown = pageFor(url);
    }
    std::string Location() override { return location; }
    std::string PageText() override {
        if (readFails) {
            throw SystemError(G("页面读取失败"));
        }
        return shown;
    }

    std::function<std::string(const std::string&)> pageFor;
    std::vector<std::string> requested;
    std::vector<std::int64_t> times;
    std::set<std::string> failing;
    bool readFails = false;
    std::string shown;
    std::string location;

private:
    VirtualClock& clock_;
};

const std::string kHost = "engine.test";

std::string Url(const std::string& keyword, int pn) {
    return BuildPageUrl(BuildQueryBase(keyword, kHost), pn);
}

class SearchRunTest : public ::testing::Test {
protected:
    SearchRunTest() {
        SetKeywords(5);
        view.pageFor = [this](const std::string& url) {
            return "FAX:0571-1234567\r\n" + url + "\r\n" + (nextPage(url) ? G("上一页 下一页>") : "") + "\r\n";
        };
        timer.SetOnTimer([this] { Guard([this] { run.Timer1Timer(); }); });
        window.onBegin = [this] { harvested.push_back(pageLines.Items()); };
    }

    void SetKeywords(int n) {
        keywords.Clear();
        for (int i = 1; i <= n; ++i) {
            std::string keyword = "K";
            keyword += std::to_string(i);
            keywords.Add(keyword);
        }
    }

    // What the window's error guard does: the error is shown, the handler ends.
    void Guard(const std::function<void()>& handler) {
        try {
            handler();
        } catch (const SystemError& e) {
            errors.push_back(e.Message());
        }
    }

    void Search(std::optional<std::string> answer = "0") {
        window.answer = std::move(answer);
        Guard([this] { run.N2Click(); });
    }
    void Stop() { run.N3Click(); }

    VirtualClock clock;
    StepTimer timer{clock, 8000};
    FakeWindow window;
    FakeView view{clock};
    StringList keywords;
    StringList pageLines;
    int nextKeywordIndex = 0;
    int foundCount = 0;
    SeenNumbers seen;
    std::string address = "192.168.1.20";
    std::function<bool(const std::string&)> nextPage = [](const std::string&) { return true; };
    std::vector<std::vector<std::string>> harvested;  // PageLines at every extraction
    std::vector<std::int64_t> saves;                  // moments of the progress writes
    std::vector<int> savedIndex;                      // NextKeywordIndex at every write
    bool saveFails = false;
    std::vector<std::string> errors;

    SearchRun run{window, view, timer,
                  RunServices{
                      [this] { return address; },
                      [this] {
                          if (saveFails) {
                              throw SystemError("Unable to write to /x/tavrisk.ini");
                          }
                          saves.push_back(clock.Now());
                          savedIndex.push_back(nextKeywordIndex);
                      },
                  },
                  RunFields{keywords, pageLines, nextKeywordIndex, foundCount, seen, kHost}};
};

// --- Starting a run -------------------------------------------------------

TEST_F(SearchRunTest, StartAsksForThePositionAndSetsUpTheRun) {
    nextKeywordIndex = 2;
    foundCount = 7;
    pageLines.Add("old");
    Search("1");

    ASSERT_EQ(window.prompts.size(), 1U);
    EXPECT_EQ(window.prompts[0].title, G("搜索参数设置"));
    EXPECT_EQ(window.prompts[0].prompt, G("请输入关键字搜索断点位置") + "        ");
    EXPECT_EQ(window.prompts[0].value, "2");
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(window.starts, 1);
    EXPECT_EQ(window.clears, 1);
    EXPECT_GE(window.repaints, 1);
    EXPECT_EQ(window.commands, kRunning);
    EXPECT_EQ(window.panels[3], "2");
    EXPECT_EQ(window.panels[5], "0");
    EXPECT_EQ(window.panels[6], G("启动搜索请稍候..."));
    EXPECT_EQ(foundCount, 0);
    EXPECT_EQ(pageLines.Count(), 0U);
    EXPECT_EQ(nextKeywordIndex, 2);
    EXPECT_EQ(run.PageOffset, 10);
    EXPECT_EQ(run.CurrentUrl, Url("K2", 0));
    EXPECT_FALSE(run.StopRequested);
    EXPECT_TRUE(run.MorePages);
    EXPECT_EQ(run.ElapsedSeconds, 0);
    EXPECT_THAT(view.requested, ElementsAre(Url("K2", 0)));
    EXPECT_THAT(view.times, ElementsAre(0));
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 8000);
}

struct RefusedStart {
    const char* name;
    std::string address;
    int keywordCount;
    std::optional<std::string> answer;
    std::string error;  // empty: none
    std::string box;    // empty: none
    bool prompted;
};

TEST_F(SearchRunTest, StartsThatEndEarlyChangeNothing) {
    const RefusedStart cases[] = {
        {"off line", "127.0.0.1", 5, "0", "", "info:" + G("您还没有连接到网上！"), false},
        {"off line comes before the empty list", "127.0.0.1", 0, "0", "", "info:" + G("您还没有连接到网上！"), false},
        {"empty list", "10.0.0.1", 0, "0", G("请先导入关键字列表文件"), "", false},
        {"empty list, failed look-up", "", 0, "0", G("请先导入关键字列表文件"), "", false},
        {"prompt cancelled", "10.0.0.1", 5, std::nullopt, "", "", true},
        {"letters", "10.0.0.1", 5, "abc", "'abc' is not a valid integer value", "", true},
    };
    for (const RefusedStart& c : cases) {
        SCOPED_TRACE(c.name);
        address = c.address;
        SetKeywords(c.keywordCount);
        window.boxes.clear();
        window.prompts.clear();
        window.commands = kIdle;
        window.clears = 0;
        window.starts = 0;
        errors.clear();
        view.requested.clear();
        nextKeywordIndex = 3;
        foundCount = 4;
        Search(c.answer);
        EXPECT_EQ(errors, c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
        EXPECT_EQ(window.boxes, c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box});
        EXPECT_EQ(window.prompts.size(), c.prompted ? 1U : 0U);
        EXPECT_EQ(nextKeywordIndex, 3);
        EXPECT_EQ(foundCount, 4);
        EXPECT_EQ(window.commands, kIdle);
        EXPECT_EQ(window.clears, 0);
        EXPECT_EQ(window.starts, 0);
        EXPECT_TRUE(view.requested.empty());
        EXPECT_FALSE(timer.Enabled());
    }
}

TEST_F(SearchRunTest, AnyAddressButTheLoopbackTextLetsTheRunStart) {
    for (const std::string a : {"", "127.0.0.2", "10.1.2.3"}) {
        SCOPED_TRACE(a);
        address = a;
        view.requested.clear();
        Search("0");
        EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0)));
    }
}

TEST_F(SearchRunTest, StartPositionFromThePrompt) {
    // Five keywords. The answer, the keyword searched first, whether the
    // "beyond the end" message comes.
    struct Case {
        std::string answer;
        std::string firstKeyword;
        bool beyondEnd;
    };
    const Case cases[] = {
        {"0", "K1", false},    {"3", "K4", false},   {"4", "K5", false},         {"-5", "K1", false},
        {"5", "K1", true},     {"6", "K1", true},    {"2147483647", "K1", true}, {"-2147483648", "K1", false},
        {"  +2", "K3", false}, {"$2", "K3", false},  {"0x3", "K4", false},       {"0X4", "K5", false},
        {"$a", "K1", true},    {"-$1", "K1", false}, {"007", "K1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        window.boxes.clear();
        view.requested.clear();
        Search(c.answer);
        ASSERT_TRUE(errors.empty()) << errors.front();
        ASSERT_EQ(view.requested.size(), 1U);
        EXPECT_EQ(view.requested[0], Url(c.firstKeyword, 0));
        EXPECT_EQ(window.panels[3], c.firstKeyword.substr(1));
        EXPECT_EQ(window.boxes, c.beyondEnd ? std::vector<std::string>{"plain:" + G("搜索断点位置超过关键字文件行数！")}
                                            : std::vector<std::string>{});
    }
}

TEST_F(SearchRunTest, StartPositionsThatAreNotNumbers) {
    for (const std::string& answer :
         std::vector<std::string>{"", " ", "2 ", "1.5", "2147483648", "-2147483649", "0x", "$", "$G", "+", "--1",
                                  "99999999999", "0x100000000", "1e3", G("３")}) {
        SCOPED_TRACE(answer);
        errors.clear();
        nextKeywordIndex = 2;
        Search(answer);
        EXPECT_THAT(errors, ElementsAre("'" + answer + "' is not a valid integer value"));
        EXPECT_EQ(nextKeywordIndex, 2);
        EXPECT_TRUE(view.requested.empty());
    }
}

TEST_F(SearchRunTest, AfterACompleteRunTheProposalIsTheCountAndAcceptingItStartsAgain) {
    SetKeywords(2);
    window.pages = 1;
    Search("0");
    clock.Advance(8000 + 5000);
    ASSERT_EQ(window.panels[6], G("搜索已经结束！"));
    EXPECT_EQ(nextKeywordIndex, 2);
    view.requested.clear();
    Search(std::nullopt);
    EXPECT_EQ(window.prompts.back().value, "2");
    Search("2");
    EXPECT_THAT(window.boxes, ElementsAre("plain:" + G("搜索断点位置超过关键字文件行数！")));
    EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0)));
    EXPECT_EQ(window.panels[3], "1");
}

// --- Pages and keywords ---------------------------------------------------

TEST_F(SearchRunTest, PagesPerKeywordFollowTheMarkerAndTheLimit) {
    struct Case {
        const char* name;
        int pages;
        std::function<bool(const std::string&)> next;
        std::vector<std::string> urls;
    };
    const auto always = [](const std::string&) { return true; };
    const Case cases[] = {
        {"limit 3",
         3,
         always,
         {Url("K1", 0), Url("K1", 10), Url("K1", 20), Url("K2", 0), Url("K2", 10), Url("K2", 20)}},
        {"limit 1", 1, always, {Url("K1", 0), Url("K2", 0)}},
        {"no marker", 76, [](const std::string&) { return false; }, {Url("K1", 0), Url("K2", 0)}},
        {"marker on the first page of K2 only",
         76,
         [](const std::string& u) { return u == Url("K2", 0); },
         {Url("K1", 0), Url("K2", 0), Url("K2", 10)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetKeywords(2);
        view.requested.clear();
        saves.clear();
        harvested.clear();
        window.pages = c.pages;
        nextPage = c.next;
        Search("0");
        clock.Advance(8000 + 5000 * 10);
        EXPECT_EQ(view.requested, c.urls);
        EXPECT_EQ(window.panels[6], G("搜索已经结束！"));
        EXPECT_EQ(window.commands, kStopped);
        EXPECT_EQ(saves.size(), 1U);
        EXPECT_FALSE(timer.Enabled());
        EXPECT_EQ(harvested.size(), c.urls.size());
    }
}

TEST_F(SearchRunTest, TheLargestLimitGivesSeventySixPages) {
    SetKeywords(1);
    Search("0");
    clock.Advance(8000 + 5000 * 80);
    ASSERT_EQ(view.requested.size(), 76U);
    EXPECT_EQ(view.requested.back(), Url("K1", 750));
    EXPECT_EQ(harvested.size(), 76U);
    EXPECT_EQ(window.panels[6], G("搜索已经结束！"));
}

TEST_F(SearchRunTest, TicksComeEightSecondsAfterTheStartThenAtTheIntervalReadEachTick) {
    SetKeywords(1);
    Search("0");
    clock.AdvanceTo(7999);
    EXPECT_EQ(view.requested.size(), 1U);
    clock.AdvanceTo(13000);  // ticks at 8000 and 13000, each reading 5 s
    window.interval = 2;     // read by the tick at 18000
    clock.AdvanceTo(20000);
    window.interval = 0;  // a value still being typed counts as the least interval
    clock.AdvanceTo(23000);
    EXPECT_THAT(view.times, ElementsAre(0, 8000, 13000, 18000, 20000, 22000, 23000));
}

TEST_F(SearchRunTest, TheNextPageMarkerIsSearchedByteForByteInEveryLine) {
    const std::string marker = G("下一页>");
    struct Case {
        const char* name;
        std::string text;
        bool more;
    };
    const Case cases[] = {
        {"empty page", "", false},
        {"first line", marker + "\r\nx\r\n", true},
        {"last line, no line end", "a\r\n\r\nb " + marker, true},
        {"inside a line", "a\r\n" + G("第2页 ") + marker + G(" 末页"), true},
        {"space before the sign", G("下一页 >"), false},
        {"full-width sign", G("下一页＞"), false},
        {"label alone", G("下一页"), false},
        {"cut by a line break", G("下一页") + "\r\n>", false},
        {"ends at byte 4096", std::string(4096 - marker.size(), 'a') + marker, true},
        {"crosses byte 4096", std::string(4097 - marker.size(), 'a') + marker, false},
        {"beyond byte 4096", std::string(5000, 'a') + marker + "\r\nb", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetKeywords(2);
        view.requested.clear();
        view.pageFor = [&c](const std::string&) { return c.text; };
        Search("0");
        clock.Advance(8000);
        EXPECT_EQ(run.MorePages, c.more);
        ASSERT_EQ(view.requested.size(), 2U);
        EXPECT_EQ(view.requested[1], c.more ? Url("K1", 10) : Url("K2", 0));
        Stop();
        clock.Advance(5000);
    }
}

TEST_F(SearchRunTest, TheExtractionGetsThePageLinesOfEveryPageTheLastOneToo) {
    SetKeywords(1);
    window.pages = 2;
    view.pageFor = [](const std::string& url) {
        return "FAX:0571-8888\r\n\r\n" + std::string(5000, 'x') + "\r\n" + url + G(" 下一页>") + "\r\n";
    };
    Search("0");
    clock.Advance(8000 + 5000);
    const std::vector<std::string> first{"FAX:0571-8888", "", std::string(4096, 'x'), Url("K1", 0) + G(" 下一页>")};
    const std::vector<std::string> second{"FAX:0571-8888", "", std::string(4096, 'x'), Url("K1", 10) + G(" 下一页>")};
    EXPECT_THAT(harvested, ElementsAre(first, second));
    EXPECT_EQ(pageLines.Items(), second);
    EXPECT_EQ(window.panels[6], G("搜索已经结束！"));
}

TEST_F(SearchRunTest, ABlankKeywordLineIsStillRequested) {
    keywords.Clear();
    keywords.Add("  ");
    keywords.Add("K2");
    window.pages = 1;
    Search("0");
    clock.Advance(8000);
    EXPECT_THAT(view.requested, ElementsAre(Url("  ", 0), Url("K2", 0)));
}

TEST_F(SearchRunTest, ASecondRunStartsWithAnEmptyResultList) {
    SetKeywords(1);
    window.pages = 1;
    Search("0");
    foundCount = 9;  // what the extraction counted
    clock.Advance(8000);
    ASSERT_EQ(window.panels[6], G("搜索已经结束！"));
    window.panels[5] = "9";
    Search("0");
    EXPECT_EQ(window.clears, 2);
    EXPECT_EQ(foundCount, 0);
    EXPECT_EQ(window.panels[5], "0");
}

TEST_F(SearchRunTest, NewNumbersAreAppendedCountedAndShownOneByOne) {
    SetKeywords(1);
    window.pages = 2;
    view.pageFor = [](const std::string& url) {
        return G("地址：广州 传真：020-87654321\r\n") + "Tel 1\r\nFAX:0571-1234567\r\n" +
               (url == Url("K1", 0) ? G("下一页>") : "");
    };
    const std::vector<std::string> page{"020-87654321", "0571-1234567"};
    struct Case {
        bool dedupe;
        std::vector<std::string> results;
        std::vector<std::string> found;
        std::size_t seen;
    };
    const Case cases[] = {
        {false, {page[0], page[1], page[0], page[1]}, {"0", "1", "2", "3", "4"}, 0},
        {true, {page[0], page[1]}, {"0", "1", "2"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dedupe);
        window.dedupe = c.dedupe;
        window.dedupeReads = 0;
        window.found.clear();
        Search("0");
        clock.Advance(8000 + 5000);
        ASSERT_EQ(window.panels[6], G("搜索已经结束！"));
        EXPECT_EQ(window.results, c.results);
        EXPECT_EQ(foundCount, static_cast<int>(c.results.size()));
        EXPECT_EQ(window.found, c.found);
        EXPECT_EQ(seen.Count(), c.seen);
        // The box is read once for every new number, as it is found.
        EXPECT_EQ(window.dedupeReads, static_cast<int>(c.results.size()));
        EXPECT_FALSE(window.bracketOpen);
        ASSERT_EQ(window.sources.size(), c.results.size());
        EXPECT_EQ(window.sources[0].keyword, "K1");
        EXPECT_EQ(window.sources[0].pageOffset, 0);
        EXPECT_EQ(window.sources[0].pageUrl, Url("K1", 0));
        EXPECT_EQ(window.sources.back().pageOffset, c.dedupe ? 0 : 10);
        EXPECT_EQ(window.sources.back().pageUrl, c.dedupe ? Url("K1", 0) : Url("K1", 10));
    }
    // The memory outlives the run: the next run shows none of its numbers,
    // also with the box now unchecked.
    window.dedupe = false;
    window.found.clear();
    Search("0");
    clock.Advance(8000 + 5000);
    EXPECT_TRUE(window.results.empty());
    EXPECT_EQ(foundCount, 0);
    EXPECT_THAT(window.found, ElementsAre("0"));
}

// --- Auto-save ------------------------------------------------------------

TEST_F(SearchRunTest, AutoSaveAtTick86WithTheInterval7) {
    for (const bool checked : {true, false}) {
        SCOPED_TRACE(checked);
        saves.clear();
        window.autoSave = checked;
        window.interval = 7;
        Search("0");
        const std::int64_t start = clock.Now();
        clock.AdvanceTo(start + 8000 + 7000L * 84);  // through tick 85
        EXPECT_EQ(run.ElapsedSeconds, 595);
        EXPECT_TRUE(saves.empty());
        clock.Advance(7000);  // tick 86: 602 seconds counted
        EXPECT_EQ(run.ElapsedSeconds, 0);
        EXPECT_EQ(saves.size(), checked ? 1U : 0U);
        clock.Advance(7000);
        EXPECT_EQ(run.ElapsedSeconds, 7);
        EXPECT_EQ(saves.size(), checked ? 1U : 0U);
        EXPECT_EQ(window.commands, kRunning);
        Stop();
        clock.Advance(7000);
    }
}

// --- Stop ----------------------------------------------------------------

TEST_F(SearchRunTest, StopLetsThePendingTickHarvestAndFinish) {
    Search("0");
    clock.Advance(3000);
    Stop();
    EXPECT_TRUE(run.StopRequested);
    EXPECT_EQ(window.commands, kStopped);
    EXPECT_EQ(window.panels[6], G("终止搜索..."));
    EXPECT_TRUE(timer.Enabled());
    clock.Advance(5000);
    ASSERT_EQ(harvested.size(), 1U);
    EXPECT_EQ(harvested[0][1], Url("K1", 0));
    EXPECT_THAT(saves, ElementsAre(8000));
    EXPECT_THAT(window.progress,
                ElementsAre(G("启动搜索请稍候..."), G("终止搜索..."), G("正在搜索..."), G("搜索已经结束！")));
    EXPECT_EQ(window.commands, kStopped);
    clock.Advance(60000);
    EXPECT_EQ(view.requested.size(), 1U);
    EXPECT_EQ(harvested.size(), 1U);
}

TEST_F(SearchRunTest, StopOnTheLastPageOfAKeywordFinishesToo) {
    window.pages = 1;
    Search("0");
    Stop();
    clock.Advance(8000);
    EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0)));
    EXPECT_EQ(saves.size(), 1U);
    EXPECT_EQ(run.PageOffset, 0);
    EXPECT_EQ(nextKeywordIndex, 1);
}

TEST_F(SearchRunTest, StopWithNoRunOnlySetsTheFlagAndTheNextStartClearsIt) {
    Stop();
    EXPECT_EQ(window.panels[6], G("终止搜索..."));
    EXPECT_EQ(window.commands, kStopped);
    EXPECT_FALSE(timer.Enabled());
    clock.Advance(60000);
    EXPECT_TRUE(saves.empty());
    Search("0");
    EXPECT_FALSE(run.StopRequested);
    clock.Advance(8000);
    EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0), Url("K1", 10)));
    EXPECT_EQ(window.commands, kRunning);
}

// A run at interval 5 whose first tick has passed: the timer holds 5000 ms and
// the stopped run's tick is due at 13000.
TEST_F(SearchRunTest, StopThenSearchBeforeTheStoppedTickRestartsTheCountAtInterval5) {
    Search("0");
    clock.AdvanceTo(10000);
    Stop();
    clock.AdvanceTo(11000);
    Search("2");
    EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0), Url("K1", 10), Url("K3", 0)));
    clock.AdvanceTo(18999);
    EXPECT_EQ(view.requested.size(), 3U);
    clock.AdvanceTo(19000);  // 8000 ms after the new start
    EXPECT_THAT(view.times, ElementsAre(0, 8000, 11000, 19000));
    EXPECT_EQ(view.requested.back(), Url("K3", 10));
    clock.AdvanceTo(24000);
    EXPECT_EQ(view.times.back(), 24000);
    EXPECT_TRUE(saves.empty());
    for (const std::string& text : window.progress) {
        EXPECT_NE(text, G("搜索已经结束！"));
    }
    EXPECT_EQ(window.commands, kRunning);
}

TEST_F(SearchRunTest, StopThenSearchBeforeTheStoppedTickKeepsTheOldScheduleAtInterval8) {
    window.interval = 8;
    Search("0");
    clock.AdvanceTo(10000);  // first tick at 8000, the next due at 16000
    Stop();
    clock.AdvanceTo(11000);
    Search("2");
    clock.AdvanceTo(16000);
    EXPECT_THAT(view.times, ElementsAre(0, 8000, 11000, 16000));
    EXPECT_EQ(view.requested.back(), Url("K3", 10));
    EXPECT_TRUE(saves.empty());
    EXPECT_EQ(window.commands, kRunning);
}

TEST_F(SearchRunTest, StopThenSearchBeforeTheStoppedRunsFirstTickKeepsItsSchedule) {
    // The timer still holds the 8000 ms of the first tick, so setting it again
    // changes nothing.
    Search("0");
    clock.AdvanceTo(3000);
    Stop();
    clock.AdvanceTo(4000);
    Search("1");
    clock.AdvanceTo(8000);
    EXPECT_THAT(view.times, ElementsAre(0, 4000, 8000));
    EXPECT_EQ(view.requested.back(), Url("K2", 10));
    EXPECT_TRUE(saves.empty());
}

TEST_F(SearchRunTest, StopThenSearchWithThePromptOpenWhenTheStoppedTickFallsDue) {
    Search("0");
    clock.AdvanceTo(10000);  // the stopped run's tick falls due at 13000
    Stop();
    std::vector<std::string> seenWhileOpen;
    window.whileOpen = [&] {
        clock.AdvanceTo(14000);
        seenWhileOpen = window.progress;
    };
    Search("3");
    EXPECT_EQ(seenWhileOpen.back(), G("搜索已经结束！"));
    EXPECT_THAT(saves, ElementsAre(13000));
    ASSERT_EQ(harvested.size(), 2U);
    EXPECT_EQ(harvested[1][1], Url("K1", 10));
    EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0), Url("K1", 10), Url("K4", 0)));
    EXPECT_THAT(view.times, ElementsAre(0, 8000, 14000));
    EXPECT_EQ(window.panels[6], G("启动搜索请稍候..."));
    EXPECT_EQ(window.commands, kRunning);
    window.whileOpen = nullptr;
    clock.AdvanceTo(21999);
    EXPECT_EQ(view.requested.size(), 3U);
    clock.AdvanceTo(22000);
    EXPECT_EQ(view.requested.back(), Url("K4", 10));
    EXPECT_EQ(saves.size(), 1U);
}

// --- The engine's verification page ----------------------------------------

TEST_F(SearchRunTest, AVerificationPageEndsTheRunAndKeepsItsPlace) {
    struct Case {
        const char* name;
        std::string text;      // of the page at K2, pn 10
        std::string location;  // where the view was taken to
    };
    const Case cases[] = {
        {"text", G("百度安全验证\r\n请完成下方验证后继续操作"), ""},
        {"redirection", G("网络不给力，请稍后重试"), "https://wappass.baidu.com/static/captcha/tuxing.html?ak=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        harvested.clear();
        saves.clear();
        savedIndex.clear();
        window.boxes.clear();
        window.results.clear();
        view.requested.clear();
        view.location.clear();
        const std::string verifyAt = Url("K2", 10);
        view.pageFor = [this, &c, verifyAt](const std::string& url) {
            if (url == verifyAt) {
                view.location = c.location;
                return c.text;
            }
            view.location = url;
            return "FAX:0571-1234567\r\n" + G("下一页>");
        };
        window.pages = 2;
        Search("0");
        const std::int64_t start = clock.Now();
        clock.AdvanceTo(start + 8000 + 5000L * 3);  // K1 pn 0, K1 pn 10, K2 pn 0, K2 pn 10
        EXPECT_EQ(view.requested.back(), verifyAt);
        EXPECT_EQ(harvested.size(), 3U);  // the verification page is not harvested
        EXPECT_THAT(savedIndex, ElementsAre(2));
        EXPECT_EQ(nextKeywordIndex, 1);
        EXPECT_EQ(window.panels[6], G("搜索引擎要求验证，搜索已中断！"));
        EXPECT_EQ(window.commands, kStopped);
        ASSERT_EQ(window.boxes.size(), 1U);
        EXPECT_THAT(window.boxes[0], ::testing::StartsWith("info:" + G("搜索引擎要求完成安全验证")));
        EXPECT_FALSE(timer.Enabled());
        clock.Advance(60000);
        EXPECT_EQ(view.requested.back(), verifyAt);
        // The next start proposes the interrupted keyword and begins with its
        // first page.
        view.location.clear();
        Search("1");
        EXPECT_EQ(window.prompts.back().value, "1");
        EXPECT_EQ(view.requested.back(), Url("K2", 0));
        Stop();
        clock.Advance(8000);
    }
}

TEST_F(SearchRunTest, AVerificationPageAtTheFirstKeywordProposesItAgain) {
    view.pageFor = [](const std::string&) { return G("请完成验证"); };
    Search("0");
    Stop();  // a stopped run is interrupted the same way
    clock.Advance(8000);
    EXPECT_THAT(savedIndex, ElementsAre(1));
    EXPECT_EQ(nextKeywordIndex, 0);
    EXPECT_EQ(window.panels[6], G("搜索引擎要求验证，搜索已中断！"));
    EXPECT_EQ(window.boxes.size(), 1U);
}

// --- Failures ------------------------------------------------------------

TEST_F(SearchRunTest, AnErrorInATickHaltsTheRun) {
    Search("0");
    clock.AdvanceTo(8000);
    view.readFails = true;
    clock.AdvanceTo(13000);
    EXPECT_THAT(errors, ElementsAre(G("页面读取失败")));
    EXPECT_FALSE(timer.Enabled());
    clock.AdvanceTo(100000);
    EXPECT_EQ(view.requested.size(), 2U);
    EXPECT_EQ(errors.size(), 1U);
    EXPECT_EQ(window.commands, kRunning);  // as they were
    EXPECT_EQ(window.panels[6], G("正在搜索..."));
    EXPECT_TRUE(saves.empty());

    // Stop re-enables Search and Import, without the finish.
    Stop();
    EXPECT_EQ(window.commands, kStopped);
    EXPECT_EQ(window.panels[6], G("终止搜索..."));
    clock.AdvanceTo(200000);
    EXPECT_TRUE(saves.empty());

    // A new Search starts a fresh run.
    view.readFails = false;
    Search("0");
    EXPECT_EQ(view.requested.back(), Url("K1", 0));
    clock.AdvanceTo(208000);
    EXPECT_EQ(view.requested.back(), Url("K1", 10));
    EXPECT_EQ(window.commands, kRunning);
}

TEST_F(SearchRunTest, AHaltedStoppedRunCanBeSearchedAgainAtOnce) {
    Search("0");
    Stop();
    view.readFails = true;
    clock.AdvanceTo(8000);
    EXPECT_EQ(errors.size(), 1U);
    EXPECT_EQ(window.commands, kStopped);
    EXPECT_TRUE(saves.empty());
    view.readFails = false;
    Search("1");
    clock.AdvanceTo(16000);
    EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0), Url("K2", 0), Url("K2", 10)));
}

TEST_F(SearchRunTest, AFailedProgressWriteAtTheFinishHaltsBeforeTheFinishSteps) {
    SetKeywords(1);
    window.pages = 1;
    saveFails = true;
    Search("0");
    clock.AdvanceTo(8000);
    EXPECT_THAT(errors, ElementsAre("Unable to write to /x/tavrisk.ini"));
    EXPECT_EQ(window.panels[6], G("正在搜索..."));
    EXPECT_EQ(window.commands, kRunning);
    EXPECT_FALSE(timer.Enabled());
}

TEST_F(SearchRunTest, AFailedAutoSaveHaltsTheRunBeforeItsPage) {
    window.interval = 600;
    window.autoSave = true;
    saveFails = true;
    Search("0");
    clock.AdvanceTo(8000);
    EXPECT_EQ(errors.size(), 1U);
    EXPECT_EQ(window.panels[6], G("启动搜索请稍候..."));
    EXPECT_TRUE(harvested.empty());
    EXPECT_FALSE(timer.Enabled());
    clock.AdvanceTo(2000000);
    EXPECT_EQ(view.requested.size(), 1U);
}

TEST_F(SearchRunTest, AFailedLoadIsIgnoredAndTheTimerRunsAllTheSame) {
    view.failing = {Url("K1", 10)};
    Search("0");
    clock.AdvanceTo(8000);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(run.CurrentUrl, Url("K1", 10));
    // The view still shows the first page, whose marker moves the run on;
    // the failed page is not asked for again.
    clock.AdvanceTo(13000);
    EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0), Url("K1", 10), Url("K1", 20)));
    EXPECT_EQ(harvested[1][1], Url("K1", 0));
}

TEST_F(SearchRunTest, AFailedFirstLoadLeavesAnEmptyViewAndTheRunMovesOn) {
    view.failing = {Url("K1", 0)};
    Search("0");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(window.commands, kRunning);
    EXPECT_TRUE(timer.Enabled());
    clock.AdvanceTo(8000);
    EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0), Url("K2", 0)));
    EXPECT_TRUE(harvested[0].empty());
}

// The engine answers badly: an empty page, a page of megabytes, bytes that
// are not GBK, no answer at all (the load fails and the view keeps the page
// before). None of them halts or stalls the run, and the lines of each page
// that was shown reach the extraction whole.
TEST_F(SearchRunTest, BadAnswersOfTheEngineNeitherHaltNorConfuseTheRun) {
    SetKeywords(4);
    std::string huge;
    while (huge.size() < std::size_t{8} * 1024 * 1024) {
        huge += G("公司简介 产品 服务 联系我们 ") + std::string(200, 'x') + "\r\n";
    }
    huge += G("传真：0571-1234567") + "\r\n";
    const std::string notGbk = std::string("\xFF\x80\xB4\r\n\x81\r\n\xFE\xFE\xFE", 11) + "FAX:021-87654321\xB4\r\n";
    view.pageFor = [&](const std::string& url) {
        if (url == Url("K1", 0)) {
            return std::string();
        }
        return url == Url("K2", 0) ? huge : notGbk;
    };
    view.failing = {Url("K4", 0)};
    Search("0");
    clock.Advance(8000 + 5000 * 6);

    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(window.commands, kStopped);
    EXPECT_EQ(window.panels[6], G("搜索已经结束！"));
    EXPECT_THAT(view.requested, ElementsAre(Url("K1", 0), Url("K2", 0), Url("K3", 0), Url("K4", 0)));
    ASSERT_EQ(harvested.size(), 4U);
    EXPECT_TRUE(harvested[0].empty());
    EXPECT_EQ(harvested[3], harvested[2]);  // no answer: the page before is read again

    SeenNumbers seen;
    struct Sink : NumberSink {
        std::vector<std::string> numbers;
        void AppendNumber(const std::string& number) override { numbers.push_back(number); }
    } sink;
    for (const auto& lines : harvested) {
        ExtractFaxNumbers(lines, seen, true, sink);
    }
    EXPECT_THAT(sink.numbers, ElementsAre("0571-1234567", "021-87654321"));
}

}  // namespace
}  // namespace tavrisk
