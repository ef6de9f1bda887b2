#include "cli/CliMain.h"
#include "tests/cli/CliRun.h"

#include "tests/support/TestSupport.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrisk::cli {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using Result = CliResult;

Result RunCli(std::vector<std::string> args) {
    return RunCommand("merge", std::move(args));
}

TEST(MergeCli, MergesAndPrintsTheStatusInUtf8) {
    TempDir dir;
    WriteFile(dir.File("a.txt"), "0571-1111111\r\n0571-2222222\r\n");
    WriteFile(dir.File("b.txt"), "0571-1111111\r\n010-3333333\r\n");
    const Result r = RunCli({"-o", dir.File("out.txt"), dir.File("a.txt"), dir.File("b.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "文件合并整理完毕！共计：3\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadFile(dir.File("out.txt")), "010-3333333\r\n0571-1111111\r\n0571-2222222\r\n");
}

TEST(MergeCli, ReportsAFailedSourceAfterSavingTheOthers) {
    TempDir dir;
    WriteFile(dir.File("a.txt"), "2\r\n");
    WriteFile(dir.File("c.txt"), "1\r\n");
    const std::string missing = dir.File("缺少.txt");
    const Result r = RunCli({dir.File("a.txt"), missing, dir.File("c.txt"), "-o", dir.File("out.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "文件合并整理完毕！共计：1\n");
    EXPECT_EQ(r.err, "tavrisk-cli merge: Cannot open file " + missing + ".\n");
    EXPECT_EQ(ReadFile(dir.File("out.txt")), "2\r\n");
}

TEST(MergeCli, ReportsADestinationThatCannotBeWritten) {
    TempDir dir;
    WriteFile(dir.File("a.txt"), "2\r\n");
    const std::string dest = dir.File("none/out.txt");
    const Result r = RunCli({"-o", dest, dir.File("a.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "tavrisk-cli merge: Cannot open file " + dest + ".\n");
}

TEST(MergeCli, RejectsIncompleteArguments) {
    const std::vector<std::vector<std::string>> bad = {
        {}, {"a.txt"}, {"-o", "out.txt"}, {"-o"}, {"-o", "x", "-o", "y", "a.txt"}, {"--bogus", "-o", "x", "a"}};
    for (const auto& args : bad) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("Usage: tavrisk-cli merge -o DEST SOURCE..."), std::string::npos);
    }
    const Result help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage:"), std::string::npos);
}

}  // namespace
}  // namespace tavrisk::cli
