#include "cli/CliMain.h"
#include "tests/cli/CliRun.h"

#include "tests/support/TestSupport.h"

#include <sstream>

#include <gtest/gtest.h>

namespace tavrisk::cli {
namespace {

using test::G;

using Result = CliResult;

Result RunCli(std::vector<std::string> args) {
    return RunCommand("keywords", std::move(args));
}

TEST(KeywordsCommand, PrintsTheCombinationsOfTheTwoFiles) {
    test::TempDir dir;
    // Mixed line ends; the final break adds no line, the empty line inside does.
    test::WriteFile(dir.File("p.txt"), G("广州 服装\n\r\n广州 时装\r\n"));
    test::WriteFile(dir.File("m.txt"), G("传真：\rFAX："));
    const auto r = RunCli({dir.File("p.txt"), dir.File("m.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, G("广州 服装 传真：\r\n广州 服装 FAX：\r\n"
                       " 传真：\r\n FAX：\r\n"
                       "广州 时装 传真：\r\n广州 时装 FAX：\r\n"));

    test::WriteFile(dir.File("empty.txt"), "");
    const auto none = RunCli({dir.File("p.txt"), dir.File("empty.txt")});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
}

TEST(KeywordsCommand, ReportsAMissingFileAndWrongArguments) {
    test::TempDir dir;
    test::WriteFile(dir.File("p.txt"), "a\r\n");
    const std::string missing = dir.File("none.txt");
    const auto r = RunCli({dir.File("p.txt"), missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "tavrisk-cli keywords: Cannot open file " + missing + ".\n");

    const auto one = RunCli({dir.File("p.txt")});
    EXPECT_EQ(one.status, 2);
    EXPECT_NE(one.err.find("Usage: tavrisk-cli keywords PRODUCTS_FILE MARKERS_FILE"), std::string::npos);

    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: tavrisk-cli keywords"), std::string::npos);
}

}  // namespace
}  // namespace tavrisk::cli
