// End to end: the search run with the real web view against the local test
// engine. These runs take the seconds a real run takes (the first page is
// read 8 s after the start).
#include "app/HeadlessHarvest.h"

#include "tests/support/TestEngine.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

namespace tavrisk::app {
namespace {

using test::G;
using test::TestEngine;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

QApplication& App() {
    static int argc = 1;
    static char name[] = "HeadlessHarvest_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (geteuid() == 0) {
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        }
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Runs until the harvest ends; the wait is only a guard against a hang.
void RunToEnd(HeadlessHarvest& harvest, const std::function<void()>& afterStart = {}) {
    QEventLoop loop;
    harvest.OnEnd = [&loop](int) { loop.quit(); };
    ASSERT_TRUE(harvest.Start());
    if (afterStart) {
        afterStart();
    }
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
}

const char* const kWordPath = "/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=";

std::string Target(const std::string& encodedWord, int pn) {
    return kWordPath + encodedWord + "&pn=" + std::to_string(pn) + "&cl=3";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class HeadlessHarvestTest : public ::testing::Test {
protected:
    HeadlessHarvestTest() {
        App();
        engine.AddKeyword(G("广州 服装 传真："), 5);  // more pages than the limit
        engine.AddKeyword("FAX machine", 1);          // no next-page link
        engine.AddKeyword(G("上海 电机"), 2);
        test::WriteFile(dir.File("keywords.txt"),
                        G("广州 服装 传真：") + "\r\n" + "FAX machine\r\n" + G(" 上海 电机") + "\r\n");
        options.host = engine.Host();
        options.interval = 1;
        options.pages = 3;
        options.keywordFile = dir.File("keywords.txt");
        options.output = dir.File("numbers.txt");
        test::WriteFile(options.output, "0571-9999999\r\n");
    }

    TestEngine engine;
    test::TempDir dir;
    HarvestOptions options;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(HeadlessHarvestTest, StopLetsThePendingPageBeHarvestedAndTheRunFinish) {
    // Starts at the third keyword; Stop (Ctrl+C) right after the start: the
    // first page is still read at the first tick, then the run finishes.
    options.start = "2";
    HeadlessHarvest harvest(options, out, err);
    RunToEnd(harvest, [&harvest] { harvest.Stop(); });
    const std::string word3 = "%C9%CF%BA%A3+%B5%E7%BB%FA";
    EXPECT_THAT(engine.Requests(), ElementsAreArray({Target(word3, 0)}));
    const std::vector<std::string> numbers = TestEngine::NumbersOn(3, 0);
    EXPECT_THAT(Lines(out.str()), ElementsAreArray(numbers));
    EXPECT_EQ(test::ReadFile(options.output), "0571-9999999\r\n" + numbers[0] + "\r\n" + numbers[1] + "\r\n");
    EXPECT_EQ(harvest.ExitCode(), 0);
    EXPECT_EQ(harvest.FoundCount(), 2);
    EXPECT_THAT(err.str(), HasSubstr("keyword 3 of 3, page 1, 0 numbers found"));
    EXPECT_THAT(err.str(), HasSubstr("终止搜索..."));
    EXPECT_THAT(err.str(), HasSubstr("搜索已经结束！ 2 numbers found"));
}

// After a good page, the engine answers badly for one keyword after another:
// an empty page, bytes that are not GBK, a redirect loop, no answer at all and
// a page of megabytes (last: the web view may take longer than the interval
// to show it, and then reads what it shows). The run goes through every
// keyword, keeps what it found and finishes normally.
TEST(HeadlessHarvestBadAnswers, NoAnswerOfTheEngineHaltsOrStallsTheRun) {
    App();
    TestEngine engine;
    engine.AddKeyword("good", 1);
    const std::vector<std::pair<std::string, TestEngine::BadAnswer>> bad = {
        {"empty", TestEngine::BadAnswer::EmptyPage},   {"notgbk", TestEngine::BadAnswer::NotGbk},
        {"loop", TestEngine::BadAnswer::RedirectLoop}, {"silent", TestEngine::BadAnswer::NoAnswer},
        {"huge", TestEngine::BadAnswer::HugePage},
    };
    std::string list = "good\r\n";
    for (const auto& [word, how] : bad) {
        engine.AnswerBadly(word, how);
        list += word + "\r\n";
    }
    test::TempDir dir;
    test::WriteFile(dir.File("keywords.txt"), list);
    HarvestOptions options;
    options.host = engine.Host();
    options.interval = 1;
    options.pages = 1;
    options.dedupe = true;
    options.keywordFile = dir.File("keywords.txt");
    options.output = dir.File("numbers.txt");
    std::ostringstream out;
    std::ostringstream err;
    HeadlessHarvest harvest(options, out, err);
    RunToEnd(harvest);

    EXPECT_EQ(harvest.ExitCode(), 0) << err.str();
    EXPECT_THAT(err.str(), HasSubstr("搜索已经结束！"));
    std::vector<std::string> words;  // a redirect loop repeats its request
    for (const auto& target : engine.Requests()) {
        const std::string word = test::QueryParameter(target, "word");
        if (words.empty() || words.back() != word) {
            words.push_back(word);
        }
    }
    EXPECT_THAT(words, ElementsAreArray({"good", "empty", "notgbk", "loop", "silent", "huge"}));
    const std::vector<std::string> good = TestEngine::NumbersOn(1, 0);
    const std::vector<std::string> lines = Lines(out.str());
    ASSERT_GE(lines.size(), good.size()) << err.str();
    EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 2), ElementsAreArray(good));
    for (const auto& line : lines) {
        EXPECT_TRUE(line == good[0] || line == good[1] || line == TestEngine::BadPageNumber()) << line;
    }
    EXPECT_EQ(test::ReadFile(options.output).find(good[0] + "\r\n" + good[1] + "\r\n"), 0U);
}

TEST_F(HeadlessHarvestTest, AVerificationPageStopsTheRunWithTheStartThatResumesIt) {
    // The second keyword's only page is answered; the third keyword's first
    // request is sent to the verification page.
    engine.RequireVerificationAfter(1);
    options.start = "1";
    options.tsv = true;
    HeadlessHarvest harvest(options, out, err);
    RunToEnd(harvest);
    EXPECT_THAT(engine.Requests(),
                ElementsAreArray({Target("FAX+machine", 0), Target("%C9%CF%BA%A3+%B5%E7%BB%FA", 0)}));
    EXPECT_EQ(harvest.ExitCode(), kExitVerification);
    // With --tsv each number comes with its keyword, page offset, URL and time.
    const std::vector<std::string> rows = Lines(out.str());
    const std::vector<std::string> numbers = TestEngine::NumbersOn(2, 0);
    ASSERT_EQ(rows.size(), numbers.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_THAT(rows[i], ::testing::StartsWith(numbers[i] + "\tFAX machine\t0\thttp://" + engine.Host() +
                                                   Target("FAX+machine", 0) + "\t20"));
    }
    // The output file keeps the number-file format.
    EXPECT_EQ(test::ReadFile(options.output), "0571-9999999\r\n" + numbers[0] + "\r\n" + numbers[1] + "\r\n");
    EXPECT_THAT(err.str(), HasSubstr("verification at keyword 3 of 3 ( 上海 电机), page 1; 2 numbers found"));
    EXPECT_THAT(err.str(), HasSubstr("resume with --start 2"));
    EXPECT_THAT(err.str(), ::testing::Not(HasSubstr("搜索已经结束！")));
}

TEST(HarvestArguments, OptionsAndTheirErrors) {
    struct Case {
        std::vector<std::string> args;
        HarvestArgs result;
    };
    const Case cases[] = {
        {{"k.txt"}, HarvestArgs::Run},
        {{"--help"}, HarvestArgs::Help},
        {{"--interval", "1000", "--pages", "1", "--start", "-3", "--dedupe", "-o", "n.txt", "--host", "h:8", "k.txt"},
         HarvestArgs::Run},
        {{}, HarvestArgs::Invalid},
        {{"a.txt", "b.txt"}, HarvestArgs::Invalid},
        {{"--interval", "0", "k.txt"}, HarvestArgs::Invalid},
        {{"--interval", "1001", "k.txt"}, HarvestArgs::Invalid},
        {{"--interval", "5s", "k.txt"}, HarvestArgs::Invalid},
        {{"--pages", "77", "k.txt"}, HarvestArgs::Invalid},
        {{"--pages", "0", "k.txt"}, HarvestArgs::Invalid},
        {{"k.txt", "--pages"}, HarvestArgs::Invalid},
        {{"--host", "a/b", "k.txt"}, HarvestArgs::Invalid},
        {{"--verbose", "k.txt"}, HarvestArgs::Invalid},
        {{"--tsv", "k.txt"}, HarvestArgs::Run},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        HarvestOptions options;
        std::ostringstream err;
        EXPECT_EQ(ParseHarvestArguments(c.args, options, err), c.result);
        EXPECT_EQ(err.str().empty(), c.result != HarvestArgs::Invalid);
    }
    HarvestOptions options;
    std::ostringstream err;
    ASSERT_EQ(ParseHarvestArguments({"--interval", "7", "--pages", "3", "--start", "x", "--dedupe", "-o", "n.txt",
                                     "--host", "127.0.0.1:80", "k.txt"},
                                    options, err),
              HarvestArgs::Run);
    EXPECT_EQ(options.interval, 7);
    EXPECT_EQ(options.pages, 3);
    EXPECT_EQ(options.start, "x");
    EXPECT_TRUE(options.dedupe);
    EXPECT_EQ(options.output, "n.txt");
    EXPECT_EQ(options.host, "127.0.0.1:80");
    EXPECT_EQ(options.keywordFile, "k.txt");
}

TEST(HarvestStart, ErrorsBeforeTheRunEndIt) {
    App();
    test::TempDir dir;
    test::WriteFile(dir.File("empty.txt"), "");
    struct Case {
        std::string file;
        std::string start;
        std::string message;
    };
    const Case cases[] = {
        {dir.File("empty.txt"), "0", "请先导入关键字列表文件."},
        // The import's count pass reads the file first, with its own message.
        {dir.File("missing.txt"), "0", "File not found."},
        {dir.File("nofolder/k.txt"), "0", "Invalid filename."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        HarvestOptions options;
        options.keywordFile = c.file;
        options.start = c.start;
        std::ostringstream out;
        std::ostringstream err;
        HeadlessHarvest harvest(options, out, err);
        EXPECT_FALSE(harvest.Start());
        EXPECT_EQ(harvest.ExitCode(), 1);
        EXPECT_THAT(err.str(), HasSubstr(c.message));
        EXPECT_EQ(out.str(), "");
    }
    test::WriteFile(dir.File("k.txt"), "a\r\n");
    HarvestOptions options;
    options.keywordFile = dir.File("k.txt");
    options.start = "abc";
    std::ostringstream out;
    std::ostringstream err;
    HeadlessHarvest harvest(options, out, err);
    EXPECT_FALSE(harvest.Start());
    EXPECT_THAT(err.str(), HasSubstr("'abc' is not a valid integer value."));
}

}  // namespace
}  // namespace tavrisk::app
