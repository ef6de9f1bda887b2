#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "tests/cli/CliRun.h"
#include "tests/support/TestSupport.h"

namespace tavrisk::cli {
namespace {

using test::G;
using ::testing::HasSubstr;

using Result = CliResult;

Result RunCli(std::vector<std::string> args, const std::string& input = "") {
    return RunCommand("extract", std::move(args), input);
}

TEST(ExtractCommandTest, PrintsEachNumberOfAPageOnItsOwnLine) {
    const std::string page =
        G("公司名称：某某服装有限公司\n"
          "电话: 0571-11111111 传真：+86(21)1234 5678\r\n"
          "传真号：0571-99999999\n"
          "Fax: 0755-87654321\n"
          "FAX：0755-87654321");
    const Result r = RunCli({}, page);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "021-12345678\n0755-87654321\n0755-87654321\n");
    EXPECT_EQ(r.err, "");
}

TEST(ExtractCommandTest, DedupeKeepsOneMemoryForAllPagesOfTheCall) {
    test::TempDir dir;
    const std::string first = dir.File("first.txt");
    const std::string second = dir.File("second.txt");
    test::WriteFile(first, G("传真：0571-12345678\r\n传真：021-12345678\r\n"));
    test::WriteFile(second, G("FAX 021-12345678\r\n传真：0571-12345678\r\n传真：010-88888888"));

    const Result deduped = RunCli({"--dedupe", first, second});
    EXPECT_EQ(deduped.status, 0);
    EXPECT_EQ(deduped.out, "0571-12345678\n021-12345678\n010-88888888\n");

    const Result plain = RunCli({first, second});
    EXPECT_EQ(plain.out, "0571-12345678\n021-12345678\n021-12345678\n0571-12345678\n010-88888888\n");

    // Options and files in any order; "-" stands for standard input.
    const Result mixed = RunCli({first, "-", "--dedupe"}, G("传真：0571-12345678\n传真：0571-7654321"));
    EXPECT_EQ(mixed.out, "0571-12345678\n021-12345678\n0571-7654321\n");
}

TEST(ExtractCommandTest, CutsLinesAtLineFeedsAndKeepsALoneCrInsideItsLine) {
    // The label's line ends at the LF: the number on the next line has no label.
    EXPECT_EQ(RunCli({}, G("传真：\n0571-12345678\n")).out, "");
    EXPECT_EQ(RunCli({}, G("传真：\r\n0571-12345678\r\n")).out, "");
    // A lone CR is a byte of the line; it ends the run like any other byte.
    EXPECT_EQ(RunCli({}, G("传真：\r0571-12345678\n")).out, "");
    EXPECT_EQ(RunCli({}, G("传真：0571-12345678\r0571-1\n")).out, "0571-12345678\n");
}

TEST(ExtractCommandTest, ReadsOnlyTheFirst4096BytesOfALine) {
    const std::string label = G("传真：0571-12345678");
    // The label and number end exactly at byte 4096: read.
    const std::string inside = std::string(4096 - label.size(), 'a') + label + "99\n";
    EXPECT_EQ(RunCli({}, inside).out, "0571-12345678\n");
    // Moved by one byte the last digit falls off; by more, the label itself.
    const std::string cut = std::string(4097 - label.size(), 'a') + label + "\n";
    EXPECT_EQ(RunCli({}, cut).out, "0571-1234567\n");
    const std::string beyond = std::string(5000, 'a') + label + "\n" + label + "\n";
    EXPECT_EQ(RunCli({}, beyond).out, "0571-12345678\n");
}

TEST(ExtractCommandTest, HelpIsInChineseAndEnglish) {
    const Result r = RunCli({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, HasSubstr("Usage: tavrisk-cli extract [--dedupe] [FILE...]"));
    EXPECT_THAT(r.out, HasSubstr("用法"));
    EXPECT_THAT(r.out, HasSubstr("--dedupe"));
}

TEST(ExtractCommandTest, ErrorsGoToStandardErrorWithAFailingStatus) {
    test::TempDir dir;
    const std::string page = dir.File("page.txt");
    test::WriteFile(page, G("传真：0571-12345678\n"));
    const std::string missing = dir.File("missing.txt");

    const Result r = RunCli({page, missing, page});
    EXPECT_NE(r.status, 0);
    EXPECT_THAT(r.err, HasSubstr("Cannot open file " + missing));
    // The pages before the failing one have been harvested.
    EXPECT_EQ(r.out, "0571-12345678\n");

    const Result folder = RunCli({dir.Path()});
    EXPECT_NE(folder.status, 0);
    EXPECT_THAT(folder.err, HasSubstr("Cannot open file"));
    EXPECT_EQ(folder.out, "");

    const Result option = RunCli({"--dedup"});
    EXPECT_EQ(option.status, 2);
    EXPECT_THAT(option.err, HasSubstr("--dedup"));
    EXPECT_EQ(option.out, "");
}

TEST(ExtractCommandTest, EmptyInputPrintsNothing) {
    const Result r = RunCli({});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

}  // namespace
}  // namespace tavrisk::cli
