#include "platform/LineReader.h"

#include "platform/Error.h"
#include "tests/support/TestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using Lines = std::vector<std::string>;

Lines ReadAll(const std::string& path) {
    LineReader reader(path);
    Lines lines;
    std::string line;
    while (!reader.AtEnd()) {
        reader.ReadLine(line);
        lines.push_back(line);
    }
    return lines;
}

TEST(LineReader, ReadsByItsLineRules) {
    struct Case {
        std::string name;
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"crlf", "a\r\nb\r\n", {"a", "b"}},
        {"lf", "a\nb\n", {"a", "b"}},
        {"no final line end", "a\r\nb", {"a", "b"}},
        {"empty line inside", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"only a line end", "\n", {""}},
        {"lone cr dropped", "a\rb\rc", {"abc"}},
        {"lone cr at the end", "a\r", {"a"}},
        {"cr before crlf", "a\r\r\nb", {"a", "b"}},
        {"lf cr", "a\n\rb", {"a", "b"}},
        {"0x1A ends the file",
         "a\r\nb\r\n\x1A"
         "c\r\nd\r\n",
         {"a", "b"}},
        {"0x1A inside a line",
         "ab\x1A"
         "cd\r\ne",
         {"ab"}},
        {"0x1A first",
         "\x1A"
         "a\r\n",
         {}},
        {"nul is a byte", std::string("a\0b\r\nc", 6), {std::string("a\0b", 3), "c"}},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        test::WriteFile(dir.File("k.txt"), c.text);
        EXPECT_EQ(ReadAll(dir.File("k.txt")), c.lines) << c.name;
        EXPECT_EQ(CountLines(dir.File("k.txt")), c.lines.size()) << c.name;
    }
}

TEST(LineReader, LineEndsAndEndMarkAcrossBlocks) {
    test::TempDir dir;
    // A CR LF pair straddling the 64 KiB block, then a 0x1A at the next block's start.
    std::string text(65535, 'x');
    text += "\r\nend\r\n";
    text += std::string(std::size_t{65536} * 2 - text.size(), 'y');
    text +=
        "\x1A"
        "after\r\n";
    test::WriteFile(dir.File("k.txt"), text);
    const Lines lines = ReadAll(dir.File("k.txt"));
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[0], std::string(65535, 'x'));
    EXPECT_EQ(lines[1], "end");
    EXPECT_EQ(lines[2].find_first_not_of('y'), std::string::npos);
    EXPECT_EQ(CountLines(dir.File("k.txt")), 3U);
}

std::string ErrorOf(const std::string& path) {
    try {
        CountLines(path);
    } catch (const SystemError& e) {
        return e.Message();
    }
    return "no error";
}

TEST(LineReader, FailuresGiveTheIoErrorMessages) {
    test::TempDir dir;
    test::WriteFile(dir.File("file.txt"), "a\r\n");
    EXPECT_EQ(ErrorOf(dir.File("none.txt")), "File not found");
    EXPECT_EQ(ErrorOf("none-in-the-working-folder.txt"), "File not found");
    EXPECT_EQ(ErrorOf(dir.File("no/such/k.txt")), "Invalid filename");
    EXPECT_EQ(ErrorOf(dir.File("file.txt/k.txt")), "Invalid filename");
    EXPECT_EQ(ErrorOf(dir.File(std::string(300, 'n'))), "Invalid filename");
    EXPECT_EQ(ErrorOf(dir.Path()), "File access denied");
    // A file that opens but cannot be read: the start of the process's memory.
    EXPECT_EQ(ErrorOf("/proc/self/mem"), "I/O error 5");
}

TEST(LineReader, UnreadableFileIsAccessDenied) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    test::TempDir dir;
    test::WriteFile(dir.File("k.txt"), "a\r\n");
    ASSERT_EQ(chmod(dir.File("k.txt").c_str(), 0), 0);
    EXPECT_EQ(ErrorOf(dir.File("k.txt")), "File access denied");
}

}  // namespace
}  // namespace tavrisk
