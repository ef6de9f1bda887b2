#include "cli/CliMain.h"
#include "tests/cli/CliRun.h"

#include "tests/support/TestSupport.h"

#include <sstream>

#include <gtest/gtest.h>

namespace tavrisk::cli {
namespace {

using Result = CliResult;

Result RunCli(std::vector<std::string> args, const std::string& input = "") {
    return RunCommand("url", std::move(args), input);
}

// One output line: the URL of a query word's page at offset pn on the default host.
std::string Url(std::string_view word, int pn) {
    return std::string("http://www.baidu.com/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=")
        .append(word)
        .append("&pn=")
        .append(std::to_string(pn))
        .append("&cl=3\n");
}

constexpr std::string_view kGuangzhou = "%B9%E3%D6%DD+%B7%FE%D7%B0+%B4%AB%D5%E6%A3%BA";

TEST(UrlCommand, PrintsTheFirstPagesOfEveryKeyword) {
    const std::string list = test::G("广州 服装 传真：") + "\r\nFAX machine\r\n";
    const Result one = RunCli({}, list);
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, Url(kGuangzhou, 0) + Url("FAX+machine", 0));
    EXPECT_EQ(one.err, "");

    const Result three = RunCli({"--pages", "3"}, test::G("广州 服装 传真："));
    EXPECT_EQ(three.out, Url(kGuangzhou, 0) + Url(kGuangzhou, 10) + Url(kGuangzhou, 20));

    const Result host = RunCli({"--host", "127.0.0.1:8080", "--pages", "2", "-"}, "a b");
    EXPECT_EQ(host.out,
              "http://127.0.0.1:8080/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=a+b&pn=0&cl=3\n"
              "http://127.0.0.1:8080/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=a+b&pn=10&cl=3\n");
}

TEST(UrlCommand, ReadsAFileByTheListLoadersRules) {
    // Lone CRs end lines, a blank line gives an empty word, 0x00 ends the text.
    test::TempDir dir;
    test::WriteFile(dir.File("k.txt"), std::string("a\rb\r\n \t\nc\0d\r\n", 13));
    const Result r = RunCli({dir.File("k.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Url("a", 0) + Url("b", 0) + Url("", 0) + Url("c", 0));
}

TEST(UrlCommand, StandardInputAcrossBlocks) {
    std::string input;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        const std::string word = std::string("k").append(std::to_string(i));
        input += word + "\r\n";
        expected += Url(word, 0);
    }
    EXPECT_EQ(RunCli({}, input).out, expected);
}

TEST(UrlCommand, Failures) {
    test::TempDir dir;
    const Result missing = RunCli({dir.File("none.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "tavrisk-cli url: Cannot open file " + dir.File("none.txt") + ".\n");
    EXPECT_EQ(missing.out, "");

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--pages", "0"}, {"--pages", "77"}, {"--pages", "x"}, {"--pages"}, {"--host"}, {"--nope"}, {"a", "b"}}) {
        const Result r = RunCli(args, "a\r\n");
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_NE(r.err.find("Usage: tavrisk-cli url"), std::string::npos) << args[0];
    }
    const Result help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--pages N"), std::string::npos);
}

}  // namespace
}  // namespace tavrisk::cli
